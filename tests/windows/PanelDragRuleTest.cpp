#include "CPanelDragRule.h"

#include <gtest/gtest.h>

namespace pelidore {

namespace {

using Rect = ScreenRect;

constexpr Rect Screen{0, 0, 1600, 1000};

Rect PanelAt(int left, int top)
{
    return Rect{left, top, left + 377, top + 153};
}

// A 640 x 360 frame in the middle with the panel hanging below it.
const Rect Frame{480, 320, 1120, 680};
const int PanelBelow = Frame.bottom - 2;

TEST(PanelDragRule, FreeDragBelowMovesFrameAlong)
{
    const auto placed = CPanelDragRule::Apply(PanelAt(530, 700), PanelBelow, Frame, Screen);
    EXPECT_EQ(placed.panel, PanelAt(530, 700));
    EXPECT_EQ(placed.frameX, 520);
    EXPECT_EQ(placed.frameY, 700 - 360 + 2);
}

TEST(PanelDragRule, LeftAndRightEdgesStopTheFrameNineOutside)
{
    auto placed = CPanelDragRule::Apply(PanelAt(-100, PanelBelow), PanelBelow, Frame, Screen);
    EXPECT_EQ(placed.panel, PanelAt(1, PanelBelow));
    EXPECT_EQ(placed.frameX, -9);

    placed = CPanelDragRule::Apply(PanelAt(1200, PanelBelow), PanelBelow, Frame, Screen);
    EXPECT_EQ(placed.panel, PanelAt(979, PanelBelow));
    EXPECT_EQ(placed.frameX + Frame.Width(), Screen.right + 9);
}

// At 150 % the panel is 566 x 230, 15 pixels in from the frame's left and 3
// over its bottom edge; the frame still stops 9 pixels outside the screen.
TEST(PanelDragRule, AScaledPanelKeepsItsScaledPlaceAtTheFrame)
{
    const CNScale scale(144);
    auto placed = CPanelDragRule::Apply(Rect{-100, 677, 466, 907}, 677, Frame, Screen, scale);
    EXPECT_EQ(placed.panel, (Rect{6, 677, 572, 907}));
    EXPECT_EQ(placed.frameX, -9);
    EXPECT_EQ(placed.frameY, 320);

    const Rect low{480, 600, 1120, 960};
    placed = CPanelDragRule::Apply(Rect{495, 980, 1061, 1210}, low.bottom - 3, low, Screen, scale);
    EXPECT_EQ(placed.panel, (Rect{495, 373, 1061, 603}));
    EXPECT_EQ(placed.frameY, 600);
}

TEST(PanelDragRule, VirtualScreenLeftOfThePrimaryMonitor)
{
    const Rect wide{-1280, -200, 1600, 1000};
    const auto placed = CPanelDragRule::Apply(PanelAt(-2000, PanelBelow), PanelBelow, Frame, wide);
    EXPECT_EQ(placed.panel.left, -1279);
    EXPECT_EQ(placed.frameX, -1289);
}

TEST(PanelDragRule, DraggingUpBelowTheFrameStopsFrameAtTheTop)
{
    const auto placed = CPanelDragRule::Apply(PanelAt(490, 300), PanelBelow, Frame, Screen);
    EXPECT_EQ(placed.panel, PanelAt(490, 349));
    EXPECT_EQ(placed.frameY, -9);
}

TEST(PanelDragRule, NoRoomBelowFlipsPanelAboveAndFrameStays)
{
    const Rect low{480, 600, 1120, 960};
    const auto placed = CPanelDragRule::Apply(PanelAt(490, 980), low.bottom - 2, low, Screen);
    EXPECT_EQ(placed.panel, PanelAt(490, 449));
    EXPECT_EQ(placed.frameY, 600);
}

TEST(PanelDragRule, PanelAboveReturnsBelowWithTheFrameKeptInPlace)
{
    const int panelAbove = Frame.top - 151;
    const auto placed = CPanelDragRule::Apply(PanelAt(490, panelAbove - 5), panelAbove, Frame, Screen);
    EXPECT_EQ(placed.panel, PanelAt(490, PanelBelow));
    EXPECT_EQ(placed.frameY, Frame.top);
}

TEST(PanelDragRule, PanelAboveWithoutRoomBelowKeepsFrameOnScreen)
{
    const Rect bottomFrame{480, 700, 1120, 1000};
    const int panelAbove = bottomFrame.top - 151;

    auto placed = CPanelDragRule::Apply(PanelAt(490, 400), panelAbove, bottomFrame, Screen);
    EXPECT_EQ(placed.panel, PanelAt(490, 400));
    EXPECT_EQ(placed.frameY, 551);

    placed = CPanelDragRule::Apply(PanelAt(490, 600), panelAbove, bottomFrame, Screen);
    EXPECT_EQ(placed.panel, PanelAt(490, 558));
    EXPECT_EQ(placed.frameY + bottomFrame.Height(), Screen.bottom + 9);
}

} // namespace

} // namespace pelidore
