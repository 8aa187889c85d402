#include "CNAlphaButton.h"
#include "CNButton.h"
#include "CNScreen.h"
#include "ControlPixels.h"
#include "ControlTestWindow.h"
#include "NControlMessages.h"
#include "NMessages.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace pelidore {

namespace {

// The button covers x 20..80 and y 30..70; its inside is strictly within.
constexpr int kX = 20;
constexpr int kY = 30;
constexpr int kW = 60;
constexpr int kH = 40;
constexpr int kInX = 50;
constexpr int kInY = 50;
constexpr int kOutX = 150;
constexpr int kOutY = 150;

using Messages = std::vector<UINT>;

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_Window.Open(300, 200), 0);
        ASSERT_EQ(m_Button.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 7, kX, kY, kW, kH, 1), 0);
        ASSERT_EQ(m_Window.AddChild(&m_Button), 0);
    }
    void TearDown() override { m_Window.ReleaseChildren(); }

    void MakeKind(int kind) { ASSERT_EQ(m_Button.SetImages(IDB_CLOSE, IDB_CLOSE_PRESSED, 0, 0, kind), 0); }

    ControlTestWindow m_Window;
    CNButton m_Button;
};

TEST_F(ButtonTest, PushClickReportsPressReleaseAndClickWithItsIdAndItself)
{
    MakeKind(CNButton::kPush);
    m_Window.Press(kInX, kInY);
    EXPECT_EQ(m_Button.GetState(), CNButton::kPressed);
    m_Window.Release(kInX, kInY);
    EXPECT_EQ(m_Button.GetState(), CNButton::kHover);
    EXPECT_EQ(m_Window.Messages(), (Messages{NWM_BUTTON_PRESSED, NWM_BUTTON_RELEASED, NWM_BUTTON_CLICKED}));
    for (const ControlTestWindow::Notice& notice : m_Window.Notices()) {
        EXPECT_EQ(notice.wParam, 7u);
        EXPECT_EQ(notice.lParam, reinterpret_cast<LPARAM>(&m_Button));
    }
}

TEST_F(ButtonTest, PressInsideReleaseOutsideIsNoClick)
{
    MakeKind(CNButton::kPush);
    m_Window.Press(kInX, kInY);
    m_Window.Release(kOutX, kOutY);
    EXPECT_EQ(m_Window.Messages(), (Messages{NWM_BUTTON_PRESSED, NWM_BUTTON_RELEASED}));
    // The press look ends; the next move outside takes the hover look away too.
    EXPECT_EQ(m_Button.GetState(), CNButton::kHover);
    m_Window.Move(kOutX, kOutY);
    EXPECT_EQ(m_Button.GetState(), CNButton::kNormal);
    EXPECT_EQ(m_Window.Count(NWM_BUTTON_RELEASED), 1);
}

TEST_F(ButtonTest, LeavingWhilePressedReportsTheReleaseOnce)
{
    MakeKind(CNButton::kPush);
    m_Window.Press(kInX, kInY);
    m_Window.Move(kOutX, kOutY, MK_LBUTTON);
    EXPECT_EQ(m_Button.GetState(), CNButton::kNormal);
    m_Window.Release(kOutX, kOutY);
    m_Window.Leave();
    EXPECT_EQ(m_Window.Messages(), (Messages{NWM_BUTTON_PRESSED, NWM_BUTTON_RELEASED}));
    EXPECT_FALSE(m_Button.IsPressReported());
}

TEST_F(ButtonTest, MouseLeaveEndsPressAndHover)
{
    MakeKind(CNButton::kPush);
    m_Window.Press(kInX, kInY);
    m_Window.Leave();
    EXPECT_EQ(m_Button.GetState(), CNButton::kNormal);
    EXPECT_EQ(m_Window.Messages(), (Messages{NWM_BUTTON_PRESSED, NWM_BUTTON_RELEASED}));
}

// The press-reported flag falls back after its notice: hover exits after a
// click do not keep reporting releases.
TEST_F(ButtonTest, HoverExitsAfterAClickStaySilent)
{
    MakeKind(CNButton::kPush);
    m_Window.Click(kInX, kInY);
    m_Window.ClearNotices();
    for (int i = 0; i < 3; ++i) {
        m_Window.Move(kInX, kInY);
        EXPECT_EQ(m_Button.GetState(), CNButton::kHover);
        m_Window.Move(kOutX, kOutY);
        m_Window.Move(kInX, kInY);
        m_Window.Leave();
    }
    EXPECT_TRUE(m_Window.Notices().empty());
}

TEST_F(ButtonTest, HoverLookOnlyWithNoMouseButtonHeld)
{
    MakeKind(CNButton::kPush);
    m_Window.Move(kInX, kInY, MK_LBUTTON);
    EXPECT_EQ(m_Button.GetState(), CNButton::kNormal);
    m_Window.Move(kInX, kInY, MK_RBUTTON);
    EXPECT_EQ(m_Button.GetState(), CNButton::kNormal);
    m_Window.Move(kInX, kInY);
    EXPECT_EQ(m_Button.GetState(), CNButton::kHover);
}

TEST_F(ButtonTest, CheckButtonTogglesOnEachClickAndIgnoresHover)
{
    MakeKind(CNButton::kCheck);
    m_Window.Move(kInX, kInY);
    EXPECT_EQ(m_Button.GetState(), CNButton::kNormal);
    m_Window.Click(kInX, kInY);
    EXPECT_TRUE(m_Button.IsChecked());
    m_Window.Click(kInX, kInY);
    EXPECT_FALSE(m_Button.IsChecked());
    EXPECT_EQ(m_Button.GetState(), CNButton::kNormal);
    EXPECT_EQ(m_Window.Messages(), (Messages{NWM_BUTTON_CLICKED, NWM_BUTTON_CLICKED}));
}

TEST_F(ButtonTest, CheckButtonPressReleasedOutsideChangesNothing)
{
    MakeKind(CNButton::kCheck);
    m_Window.Press(kInX, kInY);
    EXPECT_TRUE(m_Button.IsPressedFlagSet());
    m_Window.Release(kOutX, kOutY);
    EXPECT_FALSE(m_Button.IsPressedFlagSet());
    EXPECT_FALSE(m_Button.IsChecked());
    EXPECT_TRUE(m_Window.Notices().empty());
}

TEST_F(ButtonTest, RadioButtonIsSetByAClickAndClearedOnlyByItsOwner)
{
    MakeKind(CNButton::kRadio);
    m_Window.Click(kInX, kInY);
    EXPECT_TRUE(m_Button.IsChecked());
    m_Window.Click(kInX, kInY);
    EXPECT_TRUE(m_Button.IsChecked());
    EXPECT_EQ(m_Window.Count(NWM_BUTTON_CLICKED), 1);
    m_Button.SetChecked(false);
    EXPECT_FALSE(m_Button.IsChecked());
    m_Window.Click(kInX, kInY);
    EXPECT_TRUE(m_Button.IsChecked());
}

TEST_F(ButtonTest, LatchButtonPressDoesNothingButItShowsHover)
{
    MakeKind(CNButton::kLatch);
    m_Window.Click(kInX, kInY);
    EXPECT_TRUE(m_Window.Notices().empty());
    m_Window.Move(kInX, kInY);
    EXPECT_EQ(m_Button.GetState(), CNButton::kHover);
    EXPECT_FALSE(m_Button.IsChecked());
}

TEST_F(ButtonTest, PointsOnTheEdgesAreOutside)
{
    MakeKind(CNButton::kPush);
    const POINT edges[] = {{kX, kInY}, {kInX, kY}, {kX + kW, kInY}, {kInX, kY + kH}, {kX, kY}};
    for (POINT edge : edges) {
        m_Window.Press(edge.x, edge.y);
        EXPECT_EQ(m_Button.GetState(), CNButton::kNormal) << edge.x << "," << edge.y;
    }
    EXPECT_TRUE(m_Window.Notices().empty());
    m_Window.Press(kX + 1, kY + 1);
    EXPECT_EQ(m_Button.GetState(), CNButton::kPressed);
    m_Window.Release(kX + 1, kY + 1);
    m_Window.ClearNotices();
    m_Window.Press(kX + kW - 1, kY + kH - 1);
    EXPECT_EQ(m_Window.Count(NWM_BUTTON_PRESSED), 1);
}

TEST_F(ButtonTest, DisabledButtonIsDrawnWithItsFourthPictureButIsDeaf)
{
    ASSERT_EQ(m_Button.SetImages(IDB_CLOSE, 0, 0, IDB_CLOSE_PRESSED), 0);
    m_Button.Enable(false);
    m_Window.Move(kInX, kInY);
    m_Window.Click(kInX, kInY);
    EXPECT_TRUE(m_Window.Notices().empty());
    EXPECT_EQ(m_Button.GetState(), CNButton::kNormal);
    m_Window.Draw();
    // Inside the close picture's tile: red in the pressed picture, grey in the normal one.
    uint32_t pixel = m_Window.GetScreen()->PixelAt(kX + 4, kY + 13);
    EXPECT_GT(RedOf(pixel), 150);
    EXPECT_LT(GreenOf(pixel), 120);
    m_Button.Enable(true);
    m_Window.Click(kInX, kInY);
    EXPECT_EQ(m_Window.Count(NWM_BUTTON_CLICKED), 1);
}

TEST_F(ButtonTest, DisablingAPressedButtonEndsThePress)
{
    MakeKind(CNButton::kPush);
    m_Window.Press(kInX, kInY);
    m_Button.Enable(false);
    m_Window.Pump();
    EXPECT_EQ(m_Button.GetState(), CNButton::kNormal);
    EXPECT_EQ(m_Window.Messages(), (Messages{NWM_BUTTON_PRESSED, NWM_BUTTON_RELEASED}));
}

// The stop button names a hover picture that does not exist.
TEST_F(ButtonTest, MissingHoverPictureFallsBackToTheNormalOne)
{
    EXPECT_EQ(m_Button.SetImages(IDB_STOP, IDB_STOP_PRESSED, 2), E_FAIL);
    EXPECT_TRUE(m_Button.GetImage(CNButton::kImageNormal).IsLoaded());
    EXPECT_FALSE(m_Button.GetImage(CNButton::kImageHover).IsLoaded());
    CNRect rect = m_Button.GetRect();
    // An ordinary window's controls draw over what is there: clear first.
    m_Window.GetScreen()->ClearRect(0, 0, 300, 200);
    m_Window.Draw();
    std::vector<uint32_t> normal = PixelsOf(*m_Window.GetScreen(), rect);
    m_Window.Move(kInX, kInY);
    ASSERT_EQ(m_Button.GetState(), CNButton::kHover);
    m_Window.GetScreen()->ClearRect(0, 0, 300, 200);
    m_Window.Draw();
    EXPECT_EQ(PixelsOf(*m_Window.GetScreen(), rect), normal);
    EXPECT_TRUE(std::any_of(normal.begin(), normal.end(), [](uint32_t pixel) { return pixel != 0; }));
}

class HoverTest : public ButtonTest {
protected:
    void SetUp() override
    {
        ButtonTest::SetUp();
        MakeKind(CNButton::kPush);
        m_Button.SetHoverNotify(true);
    }
    static constexpr DWORD kLongerThanHover = 750;
};

TEST_F(HoverTest, ReportedOncePerEntryAndEndedOnce)
{
    ASSERT_TRUE(m_Window.PointAt(kInX, kInY));
    m_Window.Move(kInX, kInY);
    m_Window.PumpFor(kLongerThanHover);
    EXPECT_EQ(m_Window.Count(NWM_HOVER), 1);
    m_Window.Move(kInX + 1, kInY);
    m_Window.PumpFor(kLongerThanHover);
    EXPECT_EQ(m_Window.Count(NWM_HOVER), 1);
    ASSERT_TRUE(m_Window.PointAt(kOutX, kOutY));
    m_Window.Move(kOutX, kOutY);
    m_Window.Leave();
    EXPECT_EQ(m_Window.Count(NWM_HOVER_END), 1);
    ASSERT_TRUE(m_Window.PointAt(kInX, kInY));
    m_Window.Move(kInX, kInY);
    m_Window.PumpFor(kLongerThanHover);
    EXPECT_EQ(m_Window.Count(NWM_HOVER), 2);
}

TEST_F(HoverTest, AClickCancelsThePendingReport)
{
    ASSERT_TRUE(m_Window.PointAt(kInX, kInY));
    m_Window.Move(kInX, kInY);
    m_Window.Press(kInX, kInY);
    m_Window.PumpFor(kLongerThanHover);
    EXPECT_EQ(m_Window.Count(NWM_HOVER), 0);
    EXPECT_EQ(m_Window.Count(NWM_HOVER_END), 0);
}

TEST_F(HoverTest, DisabledControlIgnoresTheTimer)
{
    ASSERT_TRUE(m_Window.PointAt(kInX, kInY));
    m_Window.Move(kInX, kInY);
    m_Button.Enable(false);
    m_Window.PumpFor(kLongerThanHover);
    EXPECT_EQ(m_Window.Count(NWM_HOVER), 0);
    // Enabled again, the pointer's next rest is reported normally.
    m_Button.Enable(true);
    m_Window.Move(kInX, kInY);
    m_Window.PumpFor(kLongerThanHover);
    EXPECT_EQ(m_Window.Count(NWM_HOVER), 1);
}

// The pointer left without a move reaching the control: nothing is reported,
// and so no end is reported either.
TEST_F(HoverTest, NoReportWhenThePointerIsElsewhereAtTheTimer)
{
    ASSERT_TRUE(m_Window.PointAt(kOutX, kOutY));
    m_Window.Move(kInX, kInY);
    m_Window.PumpFor(kLongerThanHover);
    m_Window.Move(kOutX, kOutY);
    m_Window.Leave();
    EXPECT_EQ(m_Window.Count(NWM_HOVER), 0);
    EXPECT_EQ(m_Window.Count(NWM_HOVER_END), 0);
    EXPECT_FALSE(m_Button.IsHoverReported());
}

TEST_F(HoverTest, HidingAfterAReportEndsIt)
{
    ASSERT_TRUE(m_Window.PointAt(kInX, kInY));
    m_Window.Move(kInX, kInY);
    m_Window.PumpFor(kLongerThanHover);
    ASSERT_EQ(m_Window.Count(NWM_HOVER), 1);
    m_Button.Show(false);
    m_Window.Pump();
    EXPECT_EQ(m_Window.Count(NWM_HOVER_END), 1);
}

class AlphaButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_Window.Open(300, 200, true), 0);
        ASSERT_EQ(m_Button.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 3, kX, kY, 26, 26, 1), 0);
        ASSERT_EQ(m_Button.SetImages(IDB_CLOSE, IDB_CLOSE_PRESSED), 0);
        ASSERT_EQ(m_Window.AddChild(&m_Button), 0);
    }
    void TearDown() override { m_Window.ReleaseChildren(); }

    // The window's own background under its controls, then the controls.
    void DrawWindow()
    {
        m_Window.GetScreen()->FillRect(30, 31, 35, 255, 0, 0, 300, 200);
        m_Window.Draw();
    }
    int GlyphBrightness() { return Brightness(m_Window.GetScreen()->PixelAt(kX + 9, kY + 9)); }

    ControlTestWindow m_Window;
    CNAlphaButton m_Button;
};

TEST_F(AlphaButtonTest, NormalIsDimmerThanHoverAndDisabledDimmest)
{
    DrawWindow();
    int normal = GlyphBrightness();
    m_Window.Move(kX + 13, kY + 13);
    m_Window.Pump();
    int hover = GlyphBrightness();
    m_Button.Enable(false);
    DrawWindow();
    int disabled = GlyphBrightness();
    EXPECT_LT(normal, hover);
    EXPECT_LT(disabled, normal);
}

// A redraw in update mode starts from the pixels saved at the last full
// draw, so a translucent picture does not pile up on its own former image.
TEST_F(AlphaButtonTest, UpdateRedrawStartsFromTheSavedBackground)
{
    DrawWindow();
    CNRect rect = m_Button.GetRect();
    std::vector<uint32_t> normal = PixelsOf(*m_Window.GetScreen(), rect);
    m_Window.Press(kX + 13, kY + 13);
    EXPECT_NE(PixelsOf(*m_Window.GetScreen(), rect), normal);
    m_Window.Release(150, 150);
    m_Window.Move(150, 150);
    EXPECT_EQ(m_Button.GetState(), CNButton::kNormal);
    EXPECT_EQ(PixelsOf(*m_Window.GetScreen(), rect), normal);
}

TEST_F(AlphaButtonTest, CheckBoxCountsAsCheckedInStateFour)
{
    ASSERT_EQ(m_Button.SetImages(IDB_CHECK_BOX, IDB_CHECK_BOX_CHECKED, 0, 0, CNButton::kCheck), 0);
    m_Window.Click(kX + 13, kY + 13);
    EXPECT_EQ(m_Button.GetState(), CNButton::kChecked);
    EXPECT_TRUE(m_Button.IsChecked());
    m_Button.SetKind(CNButton::kPush);
    EXPECT_FALSE(m_Button.IsChecked());
}

} // namespace

} // namespace pelidore
