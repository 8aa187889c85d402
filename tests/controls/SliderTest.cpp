#include "CNProgressBar.h"
#include "CNScreen.h"
#include "CNSliderControl.h"
#include "ControlPixels.h"
#include "ControlTestWindow.h"
#include "NControlMessages.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

namespace pelidore {

namespace {

// The frame-rate slider of the setup window: 70, 48, 220 x 24, 0..29.
constexpr int kX = 70;
constexpr int kY = 48;
constexpr int kW = 220;
constexpr int kH = 24;
constexpr int kMidY = kY + kH / 2;

class SliderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_Window.Open(377, 200), 0);
        ASSERT_EQ(m_Slider.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 1, kX, kY, kW, kH, 1), 0);
        ASSERT_EQ(m_Slider.SetImages(IDB_SLIDER_TRACK, IDB_SLIDER_THUMB), 0);
        m_Slider.SetMaximum(29);
        m_Slider.SetPosition(9);
        ASSERT_EQ(m_Window.AddChild(&m_Slider), 0);
    }
    void TearDown() override
    {
        if (GetCapture() == m_Window.GetHwnd())
            ReleaseCapture();
        m_Window.ReleaseChildren();
    }

    ControlTestWindow m_Window;
    CNSliderControl m_Slider;
    // Extra children of the window must outlive its ReleaseChildren.
    CNSliderControl m_Vertical;
    CNProgressBar m_Bar;
};

TEST_F(SliderTest, CreateSetsTheDefaults)
{
    CNSliderControl fresh;
    ASSERT_EQ(fresh.Create(nullptr, nullptr, 4, 0, 0, 50, 10, 1), 0);
    EXPECT_EQ(fresh.GetMaximum(), 100.0);
    EXPECT_EQ(fresh.GetPosition(), 0.0);
    EXPECT_FALSE(fresh.IsDragging());
    EXPECT_EQ(fresh.GetTrackRect(), (CNRect{0, 0, 50, 10}));
    EXPECT_EQ(fresh.GetStateWord(), 2);
}

TEST_F(SliderTest, PressMapsThePointToAWholeValueAndTakesTheCapture)
{
    // (180 - 70) * 29 / 220 + 0.5 = 15.0
    m_Window.Press(kX + 110, kMidY);
    EXPECT_EQ(m_Slider.GetPosition(), 15.0);
    EXPECT_TRUE(m_Slider.IsDragging());
    EXPECT_EQ(GetCapture(), m_Window.GetHwnd());
    EXPECT_EQ(m_Window.Params(NWM_SLIDER_CHANGED), std::vector<WPARAM>{1});
    // (71 - 70) * 29 / 220 + 0.5 = 0.63 -> 0; (289 - 70) * 29 / 220 + 0.5 = 29.37 -> 29
    m_Window.Release(kX + 110, kMidY);
    m_Window.Press(kX + 1, kMidY);
    EXPECT_EQ(m_Slider.GetPosition(), 0.0);
    m_Window.Release(kX + 1, kMidY);
    m_Window.Press(kX + kW - 1, kMidY);
    EXPECT_EQ(m_Slider.GetPosition(), 29.0);
}

TEST_F(SliderTest, DragReportsChangesAndReleaseReportsTheEnd)
{
    m_Window.Press(kX + 110, kMidY);
    m_Window.ClearNotices();
    m_Window.Move(kX + 111, kMidY, MK_LBUTTON); // still 15
    EXPECT_EQ(m_Window.Count(NWM_SLIDER_CHANGED), 0);
    m_Window.Move(kX + 160, kMidY, MK_LBUTTON);
    EXPECT_EQ(m_Slider.GetPosition(), 21.0);
    EXPECT_EQ(m_Window.Count(NWM_SLIDER_CHANGED), 1);
    m_Window.Release(kX + 160, kMidY);
    EXPECT_EQ(m_Window.Count(NWM_SLIDER_RELEASED), 1);
    EXPECT_FALSE(m_Slider.IsDragging());
    EXPECT_NE(GetCapture(), m_Window.GetHwnd());
    // Moves after the release change nothing.
    m_Window.Move(kX + 10, kMidY);
    EXPECT_EQ(m_Slider.GetPosition(), 21.0);
}

TEST_F(SliderTest, DragBeyondTheEndsIsClamped)
{
    m_Window.Press(kX + 110, kMidY);
    m_Window.Move(-40, 300, MK_LBUTTON);
    EXPECT_EQ(m_Slider.GetPosition(), 0.0);
    m_Window.Move(900, -20, MK_LBUTTON);
    EXPECT_EQ(m_Slider.GetPosition(), 29.0);
    m_Window.Release(900, -20);
    EXPECT_EQ(m_Window.Count(NWM_SLIDER_RELEASED), 1);
}

TEST_F(SliderTest, ReleaseAtTheStartingValueReportsNoEnd)
{
    // (122 - 70) * 29 / 220 + 0.5 = 7.35 -> 7; then back to 9 before the release.
    m_Window.Press(kX + 52, kMidY);
    EXPECT_EQ(m_Slider.GetPosition(), 7.0);
    m_Window.Move(kX + 68, kMidY, MK_LBUTTON);
    EXPECT_EQ(m_Slider.GetPosition(), 9.0);
    m_Window.Release(kX + 68, kMidY);
    EXPECT_EQ(m_Window.Count(NWM_SLIDER_RELEASED), 0);
}

TEST_F(SliderTest, PressesOnOrOutsideTheTrackEdgesAreIgnored)
{
    const POINT outside[] = {{kX, kMidY}, {kX + kW, kMidY}, {kX + 50, kY}, {kX + 50, kY + kH}, {10, 10}};
    for (POINT point : outside)
        m_Window.Press(point.x, point.y);
    EXPECT_EQ(m_Slider.GetPosition(), 9.0);
    EXPECT_TRUE(m_Window.Notices().empty());
    EXPECT_NE(GetCapture(), m_Window.GetHwnd());
}

TEST_F(SliderTest, ANarrowerTrackMapsItsOwnWidth)
{
    m_Slider.SetTrackRect(10, 0, 200, kH);
    // (170 - 80) * 29 / 200 + 0.5 = 13.55 -> 13
    m_Window.Press(kX + 100, kMidY);
    EXPECT_EQ(m_Slider.GetPosition(), 13.0);
    m_Window.Release(kX + 100, kMidY);
    m_Window.ClearNotices();
    m_Window.Press(kX + 5, kMidY);
    EXPECT_TRUE(m_Window.Notices().empty());
}

TEST_F(SliderTest, PressWithoutTheButtonFlagJumpsWithoutADrag)
{
    m_Window.Press(kX + 110, kMidY, 0);
    EXPECT_EQ(m_Slider.GetPosition(), 15.0);
    EXPECT_FALSE(m_Slider.IsDragging());
    EXPECT_NE(GetCapture(), m_Window.GetHwnd());
    EXPECT_EQ(m_Window.Count(NWM_SLIDER_CHANGED), 1);
}

TEST_F(SliderTest, LosingTheCaptureEndsTheDrag)
{
    m_Window.Press(kX + 110, kMidY);
    ReleaseCapture();
    m_Window.Pump();
    EXPECT_FALSE(m_Slider.IsDragging());
    EXPECT_EQ(m_Window.Count(NWM_SLIDER_RELEASED), 1);
    m_Window.Move(kX + 10, kMidY, MK_LBUTTON);
    m_Window.Release(kX + 10, kMidY);
    EXPECT_EQ(m_Slider.GetPosition(), 15.0);
    EXPECT_EQ(m_Window.Count(NWM_SLIDER_RELEASED), 1);
}

TEST_F(SliderTest, ACaptureTheOwnerHeldBeforeIsKept)
{
    SetCapture(m_Window.GetHwnd());
    m_Window.Press(kX + 110, kMidY);
    m_Window.Release(kX + 110, kMidY);
    EXPECT_EQ(GetCapture(), m_Window.GetHwnd());
}

TEST_F(SliderTest, DisablingDuringADragEndsItAndFreesTheMouse)
{
    m_Window.Press(kX + 110, kMidY);
    m_Slider.Enable(false);
    EXPECT_FALSE(m_Slider.IsDragging());
    EXPECT_NE(GetCapture(), m_Window.GetHwnd());
    m_Window.Pump();
    EXPECT_EQ(m_Window.Count(NWM_SLIDER_RELEASED), 1);
    m_Window.ClearNotices();
    m_Window.Press(kX + 30, kMidY);
    EXPECT_TRUE(m_Window.Notices().empty());
}

TEST_F(SliderTest, PositionAndMaximumAreClamped)
{
    m_Slider.SetPosition(40);
    EXPECT_EQ(m_Slider.GetPosition(), 29.0);
    m_Slider.SetPosition(-2);
    EXPECT_EQ(m_Slider.GetPosition(), 0.0);
    m_Slider.SetPosition(12.75);
    EXPECT_EQ(m_Slider.GetValue(), 12);
    m_Slider.SetMaximum(10);
    EXPECT_EQ(m_Slider.GetPosition(), 10.0);
    m_Slider.SetMaximum(-5);
    EXPECT_EQ(m_Slider.GetMaximum(), 0.0);
    EXPECT_EQ(m_Slider.GetPosition(), 0.0);
    // A slider without range maps every press to 0 and draws its thumb at the start.
    m_Window.Press(kX + 110, kMidY);
    EXPECT_EQ(m_Slider.GetPosition(), 0.0);
}

TEST_F(SliderTest, ThumbFollowsThePositionInsideTheControl)
{
    // The thumb is a light knob 16 pixels wide (its top half white); the track is darker.
    auto knobAt = [this](int centreX) {
        m_Window.GetScreen()->ClearRect(0, 0, 377, 200);
        m_Window.Draw();
        return Brightness(m_Window.GetScreen()->PixelAt(centreX, kY + 6));
    };
    m_Slider.SetPosition(0);
    EXPECT_GT(knobAt(kX + 8), 500);
    m_Slider.SetPosition(29);
    EXPECT_GT(knobAt(kX + kW - 8), 500);
    EXPECT_LT(knobAt(kX + 8), 300);
}

TEST_F(SliderTest, VerticalSliderMapsTheHeight)
{
    CNSliderControl& vertical = m_Vertical;
    ASSERT_EQ(vertical.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 2, 10, 40, 20, 100, 1), 0);
    vertical.SetOrientation(CNSliderControl::kVertical);
    ASSERT_EQ(m_Window.AddChild(&vertical), 0);
    m_Window.Press(20, 65); // (65 - 40) * 100 / 100 + 0.5
    EXPECT_EQ(vertical.GetPosition(), 25.0);
    m_Window.Move(20, 500, MK_LBUTTON);
    EXPECT_EQ(vertical.GetPosition(), 100.0);
    m_Window.Release(20, 500);
}

TEST_F(SliderTest, ProgressBarTakesNoMouseInput)
{
    CNProgressBar& bar = m_Bar;
    ASSERT_EQ(bar.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 3, 20, 150, 200, 20, 1), 0);
    ASSERT_EQ(m_Window.AddChild(&bar), 0);
    bar.SetMaximum(10);
    bar.SetPosition(4);
    m_Window.Press(150, 160);
    m_Window.Release(150, 160);
    EXPECT_EQ(bar.GetPosition(), 4.0);
    EXPECT_EQ(m_Window.Count(NWM_SLIDER_CHANGED), 0);
    m_Window.GetScreen()->ClearRect(0, 0, 377, 200);
    m_Window.Draw();
    // Filled up to 4 / 10 of its width with the accent colour.
    EXPECT_GT(RedOf(m_Window.GetScreen()->PixelAt(20 + 70, 160)), 200);
    EXPECT_LT(RedOf(m_Window.GetScreen()->PixelAt(20 + 90, 160)), 100);
}

} // namespace

} // namespace pelidore
