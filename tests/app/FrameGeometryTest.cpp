#include "CFrameGeometry.h"

#include <gtest/gtest.h>

namespace pelidore {

using pelidore::CFrameGeometry;
using pelidore::FrameCorner;
using pelidore::FrameHit;
using pelidore::PixelPoint;
using pelidore::PixelSize;
using pelidore::ScreenRect;

namespace {

const ScreenRect kScreen{0, 0, 1600, 1000};
const PixelSize kWindow{640, 360};

} // namespace

TEST(FrameGeometry, StartsCentredOnTheMonitorFromTheVirtualOrigin)
{
    EXPECT_EQ(CFrameGeometry::StartOrigin({0, 0}, {1600, 1000}), (PixelPoint{480, 320}));
    EXPECT_EQ(CFrameGeometry::StartOrigin({-1920, 0}, {1920, 1080}), (PixelPoint{-1280, 360}));
    EXPECT_EQ(CFrameGeometry::StartOrigin({0, 0}, {641, 361}), (PixelPoint{0, 0}));
}

TEST(FrameGeometry, OnlyTheThirtyPixelCornersResize)
{
    EXPECT_EQ(CFrameGeometry::HitTest({1, 1}, kWindow), FrameHit::TopLeft);
    EXPECT_EQ(CFrameGeometry::HitTest({29, 29}, kWindow), FrameHit::TopLeft);
    EXPECT_EQ(CFrameGeometry::HitTest({611, 1}, kWindow), FrameHit::TopRight);
    EXPECT_EQ(CFrameGeometry::HitTest({639, 29}, kWindow), FrameHit::TopRight);
    EXPECT_EQ(CFrameGeometry::HitTest({1, 331}, kWindow), FrameHit::BottomLeft);
    EXPECT_EQ(CFrameGeometry::HitTest({639, 359}, kWindow), FrameHit::BottomRight);
}

TEST(FrameGeometry, CornerEdgesAndEverythingElseDrag)
{
    EXPECT_EQ(CFrameGeometry::HitTest({0, 10}, kWindow), FrameHit::Caption);
    EXPECT_EQ(CFrameGeometry::HitTest({10, 0}, kWindow), FrameHit::Caption);
    EXPECT_EQ(CFrameGeometry::HitTest({30, 10}, kWindow), FrameHit::Caption);
    EXPECT_EQ(CFrameGeometry::HitTest({610, 10}, kWindow), FrameHit::Caption);
    EXPECT_EQ(CFrameGeometry::HitTest({640, 359}, kWindow), FrameHit::Caption);
    EXPECT_EQ(CFrameGeometry::HitTest({320, 180}, kWindow), FrameHit::Caption);
    EXPECT_EQ(CFrameGeometry::HitTest({320, 5}, kWindow), FrameHit::Caption);
}

TEST(FrameGeometry, MovingPastAScreenEdgeStopsNinePixelsBeyondIt)
{
    EXPECT_EQ(CFrameGeometry::ClampMoving({-50, 100, 590, 460}, kScreen), (ScreenRect{-9, 100, 631, 460}));
    EXPECT_EQ(CFrameGeometry::ClampMoving({100, -30, 740, 330}, kScreen), (ScreenRect{100, -9, 740, 351}));
    EXPECT_EQ(CFrameGeometry::ClampMoving({1000, 100, 1640, 460}, kScreen), (ScreenRect{969, 100, 1609, 460}));
    EXPECT_EQ(CFrameGeometry::ClampMoving({100, 900, 740, 1260}, kScreen), (ScreenRect{100, 649, 740, 1009}));
    EXPECT_EQ(CFrameGeometry::ClampMoving({-9, -9, 631, 351}, kScreen), (ScreenRect{-9, -9, 631, 351}));
}

TEST(FrameGeometry, MovingClampsAgainstAVirtualScreenLeftOfThePrimary)
{
    const ScreenRect screens{-1920, 0, 1600, 1080};
    EXPECT_EQ(CFrameGeometry::ClampMoving({-2000, 10, -1360, 370}, screens), (ScreenRect{-1929, 10, -1289, 370}));
}

TEST(FrameGeometry, SizingStopsEachEdgeAloneKeepingTheOthers)
{
    EXPECT_EQ(CFrameGeometry::ClampSizing({-50, 100, 590, 460}, kScreen), (ScreenRect{-9, 100, 590, 460}));
    EXPECT_EQ(CFrameGeometry::ClampSizing({100, 100, 1700, 1100}, kScreen), (ScreenRect{100, 100, 1609, 1009}));
    EXPECT_EQ(CFrameGeometry::ClampSizing({100, -20, 740, 460}, kScreen), (ScreenRect{100, -9, 740, 460}));
}

TEST(FrameGeometry, PanelHangsBelowTheFrameOrAboveWithoutRoom)
{
    EXPECT_EQ(CFrameGeometry::PanelRect({480, 320, 1120, 680}, kScreen), (ScreenRect{490, 678, 867, 831}));
    // 849 + 151 = 1000 still fits; one pixel lower does not.
    EXPECT_EQ(CFrameGeometry::PanelRect({480, 489, 1120, 849}, kScreen).top, 847);
    EXPECT_EQ(CFrameGeometry::PanelRect({480, 490, 1120, 850}, kScreen), (ScreenRect{490, 339, 867, 492}));
}

// At 200 % the panel is twice its size, indent and overlap; the frame, and
// with it the room the flip looks for, stays in pixels.
TEST(FrameGeometry, PanelHangsAtItsOwnScale)
{
    const CNScale doubled(192);
    EXPECT_EQ(CFrameGeometry::PanelRect({480, 320, 1120, 680}, kScreen, doubled), (ScreenRect{500, 676, 1254, 982}));
    // 698 + 302 = 1000 still fits; one pixel lower does not.
    EXPECT_EQ(CFrameGeometry::PanelRect({480, 338, 1120, 698}, kScreen, doubled).top, 694);
    EXPECT_EQ(CFrameGeometry::PanelRect({480, 339, 1120, 699}, kScreen, doubled), (ScreenRect{500, 37, 1254, 343}));
}

TEST(FrameGeometry, ToolWindowsTakeThePanelsCorner)
{
    EXPECT_EQ(CFrameGeometry::ToolRect({490, 678, 867, 831}, 252), (ScreenRect{490, 678, 867, 930}));
}

TEST(FrameGeometry, BorderPhaseCyclesThroughSixteenSteps)
{
    int phase = 0;
    for (int tick = 1; tick <= 15; ++tick) {
        phase = CFrameGeometry::NextBorderPhase(phase);
        EXPECT_EQ(phase, -tick);
    }
    EXPECT_EQ(CFrameGeometry::NextBorderPhase(phase), 0);
}

TEST(FrameGeometry, DecorationsSitInsideTheBorder)
{
    EXPECT_EQ(CFrameGeometry::BorderRect(kWindow), (ScreenRect{8, 8, 631, 351}));
    EXPECT_EQ(CFrameGeometry::CornerMarkOrigin(FrameCorner::TopLeft, kWindow), (PixelPoint{4, 4}));
    EXPECT_EQ(CFrameGeometry::CornerMarkOrigin(FrameCorner::TopRight, kWindow), (PixelPoint{614, 4}));
    EXPECT_EQ(CFrameGeometry::CornerMarkOrigin(FrameCorner::BottomLeft, kWindow), (PixelPoint{4, 334}));
    EXPECT_EQ(CFrameGeometry::CornerMarkOrigin(FrameCorner::BottomRight, kWindow), (PixelPoint{614, 334}));
    EXPECT_EQ(CFrameGeometry::CentreMarkOrigin(kWindow, {40, 40}), (PixelPoint{299, 159}));
}

} // namespace pelidore
