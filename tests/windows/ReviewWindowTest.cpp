// The Review window under Wine, driven by posted mouse and keyboard messages
// over a recording of synthetic frames.
#include "CKeptFrames.h"
#include "CNAlphaButton.h"
#include "CReviewTimeline.h"
#include "CReviewWnd.h"
#include "MessagePump.h"
#include "PelidoreCommands.h"
#include "ReviewWindowLayout.h"
#include "ToolWindowFixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace pelidore {

namespace {

constexpr int kFrameWidth = 64;
constexpr int kFrameHeight = 40;
constexpr int kFrameCount = 60;
constexpr std::uint32_t kFrameColour = 0xFF3C5A78; // B 0x78, G 0x5A, R 0x3C

class ReviewWindowTest : public ToolWindowFixture {
protected:
    void SetUp() override
    {
        ToolWindowFixture::SetUp();
        m_Pixels.resize(kFrameWidth * kFrameHeight * 3);
        for (std::size_t i = 0; i < m_Pixels.size(); i += 3) {
            m_Pixels[i] = 0x78;
            m_Pixels[i + 1] = 0x5A;
            m_Pixels[i + 2] = 0x3C;
        }
    }

    void Open(float delay = 0.1f)
    {
        m_Frames = CKeptFrames(std::vector<float>(kFrameCount, delay));
        ASSERT_EQ(m_Window.CreateHidden(GetModuleHandleW(nullptr), Owner()), S_OK);
        m_Window.Open(
            m_Frames, kFrameWidth, kFrameHeight,
            [this](int frame) {
                m_Asked.push_back(frame);
                return m_Pixels.data();
            },
            100, 100);
        Pump();
    }

    HWND Hwnd() const { return m_Window.GetHwnd(); }
    CReviewTimeline& Timeline() { return *static_cast<CReviewTimeline*>(m_Window.FindControl(CReviewWnd::kTimeline)); }
    int TimelineY() { return Timeline().GetRect().y + Timeline().GetRect().height / 2; }
    int FrameX(int frame)
    {
        const CTimelineGeometry geometry = Timeline().Geometry();
        return (geometry.Edge(frame) + geometry.Edge(frame + 1)) / 2;
    }
    int EdgeX(int boundary) { return Timeline().Geometry().Edge(boundary); }
    bool IsEnabled(int id) { return m_Window.FindControl(id)->IsEnabled(); }

    void ClickControl(int id)
    {
        const CNRect rect = m_Window.FindControl(id)->GetRect();
        Click(Hwnd(), rect.x + rect.width / 2, rect.y + rect.height / 2);
    }
    void DragOnTimeline(int fromX, int toX)
    {
        Press(Hwnd(), fromX, TimelineY());
        Drag(Hwnd(), (fromX + toX) / 2, TimelineY());
        Drag(Hwnd(), toX, TimelineY());
        Release(Hwnd(), toX, TimelineY());
    }
    void Key(WPARAM key, bool shift = false)
    {
        BYTE state[256] = {};
        if (shift)
            state[VK_SHIFT] = 0x80;
        ASSERT_TRUE(SetKeyboardState(state));
        PostMessageW(Hwnd(), WM_KEYDOWN, key, 1);
        Pump();
        BYTE released[256] = {};
        SetKeyboardState(released);
    }

    CKeptFrames m_Frames;
    CReviewWnd m_Window;
    std::vector<std::uint8_t> m_Pixels;
    std::vector<int> m_Asked;
};

TEST_F(ReviewWindowTest, KeysMoveTheCurrentFrameOnceAClickGaveTheWindowTheKeyboard)
{
    Open();
    ASSERT_TRUE(m_Frames.SetRange(5, 50));
    m_Window.Refresh();
    SetFocus(nullptr);
    Click(Hwnd(), 300, 200); // on the picture
    EXPECT_EQ(GetFocus(), Hwnd());

    Key(VK_END);
    EXPECT_EQ(m_Window.CurrentFrame(), 50) << "the last kept frame";
    Key(VK_HOME);
    EXPECT_EQ(m_Window.CurrentFrame(), 5);
    Key(VK_RIGHT);
    EXPECT_EQ(m_Window.CurrentFrame(), 6);
    Key(VK_RIGHT, true);
    EXPECT_EQ(m_Window.CurrentFrame(), 16);
    Key(VK_LEFT);
    EXPECT_EQ(m_Window.CurrentFrame(), 15);
    m_Window.SetCurrentFrame(55);
    Key(VK_RIGHT, true);
    EXPECT_EQ(m_Window.CurrentFrame(), kFrameCount - 1) << "stops at the recording's end";
    Key(VK_LEFT, true);
    EXPECT_EQ(m_Window.CurrentFrame(), 49) << "the arrows step over frames outside the marks too";
}

TEST_F(ReviewWindowTest, AClickMovesTheFrameADragSelectsAndDeleteRemovesExactlyThatRangeUntilUndo)
{
    Open();
    Click(Hwnd(), FrameX(30), TimelineY());
    EXPECT_EQ(m_Window.CurrentFrame(), 30);
    EXPECT_EQ(m_Window.SelectionFirst(), -1);
    EXPECT_FALSE(IsEnabled(CReviewWnd::kDeleteButton));
    EXPECT_FALSE(IsEnabled(CReviewWnd::kUndoButton));

    DragOnTimeline(FrameX(14), FrameX(10)); // leftwards
    EXPECT_EQ(m_Window.SelectionFirst(), 10);
    EXPECT_EQ(m_Window.SelectionLast(), 14);
    EXPECT_EQ(m_Window.CurrentFrame(), 10) << "the frame under the pointer is shown";
    ASSERT_TRUE(IsEnabled(CReviewWnd::kDeleteButton));

    ClickControl(CReviewWnd::kDeleteButton);
    for (int frame = 0; frame < kFrameCount; ++frame)
        EXPECT_EQ(m_Frames.IsDeleted(frame), frame >= 10 && frame <= 14) << frame;
    EXPECT_EQ(m_Window.SelectionFirst(), -1);
    EXPECT_FALSE(IsEnabled(CReviewWnd::kDeleteButton));
    ASSERT_TRUE(IsEnabled(CReviewWnd::kUndoButton));

    ClickControl(CReviewWnd::kUndoButton);
    EXPECT_EQ(m_Frames.KeptCount(), kFrameCount);
    EXPECT_FALSE(IsEnabled(CReviewWnd::kUndoButton));

    // The first and last frames, beside the marks, can be pressed too; a
    // Delete that would leave nothing does nothing.
    DragOnTimeline(FrameX(0), FrameX(kFrameCount - 1));
    ASSERT_EQ(m_Window.SelectionFirst(), 0);
    ASSERT_EQ(m_Window.SelectionLast(), kFrameCount - 1);
    ClickControl(CReviewWnd::kDeleteButton);
    EXPECT_EQ(m_Frames.KeptCount(), kFrameCount);
    EXPECT_EQ(m_Window.SelectionFirst(), 0) << "the selection stays for another try";
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(ReviewWindowTest, DraggingAMarkMovesItAndTheFrameShownFollows)
{
    Open();
    DragOnTimeline(EdgeX(0), EdgeX(12));
    EXPECT_EQ(m_Frames.First(), 12);
    EXPECT_EQ(m_Window.CurrentFrame(), 12);
    EXPECT_EQ(m_Window.SelectionFirst(), -1) << "a mark's drag selects nothing";

    DragOnTimeline(EdgeX(kFrameCount), EdgeX(40));
    EXPECT_EQ(m_Frames.Last(), 39);
    EXPECT_EQ(m_Window.CurrentFrame(), 39);

    DragOnTimeline(EdgeX(12), EdgeX(55));
    EXPECT_EQ(m_Frames.First(), 39) << "the start mark stops at the end mark";
    EXPECT_EQ(m_Frames.Last(), 39);
}

TEST_F(ReviewWindowTest, SaveIsPostedAtOnceAndDiscardOnlyOnceConfirmed)
{
    Open();
    ClickControl(CReviewWnd::kSaveButton);
    EXPECT_EQ(TakeCommands(), std::vector<WPARAM>{CMD_REVIEW_SAVE});

    ClickControl(CReviewWnd::kDiscardButton);
    EXPECT_TRUE(m_Window.IsConfirmingDiscard());
    EXPECT_TRUE(TakeCommands().empty());
    ClickControl(CReviewWnd::kKeepButton);
    EXPECT_FALSE(m_Window.IsConfirmingDiscard());
    EXPECT_TRUE(TakeCommands().empty());

    PostMessageW(Hwnd(), WM_CLOSE, 0, 0); // Alt+F4 asks too, and hides nothing
    Pump();
    EXPECT_TRUE(m_Window.IsConfirmingDiscard());
    EXPECT_TRUE(m_Window.IsShown());
    Key(VK_ESCAPE);
    EXPECT_FALSE(m_Window.IsConfirmingDiscard());

    ClickControl(CReviewWnd::kDiscardButton);
    ClickControl(CReviewWnd::kConfirmDiscardButton);
    EXPECT_EQ(TakeCommands(), std::vector<WPARAM>{CMD_REVIEW_DISCARD});
}

TEST_F(ReviewWindowTest, PlayingShowsOnlyKeptFramesInTheirOrderAndLoopsBetweenTheMarks)
{
    Open(0.04f);
    ASSERT_TRUE(m_Frames.SetRange(10, 20));
    ASSERT_TRUE(m_Frames.Delete(13, 16));
    m_Window.Refresh();
    m_Asked.clear();
    // Opened before the marks moved in: playing starts from the next kept frame.
    int previous = m_Window.CurrentFrame();
    ASSERT_FALSE(m_Frames.IsKept(previous));

    PostMessageW(Hwnd(), WM_KEYDOWN, VK_SPACE, 1);
    MessagePump::RunFor(1200);
    EXPECT_TRUE(m_Window.IsPlaying());
    PostMessageW(Hwnd(), WM_KEYDOWN, VK_SPACE, 1);
    MessagePump::DispatchWaiting();
    EXPECT_FALSE(m_Window.IsPlaying());

    ASSERT_GE(m_Asked.size(), 8u) << "frames shown while playing";
    for (int frame : m_Asked) {
        EXPECT_TRUE(m_Frames.IsKept(frame)) << frame;
        EXPECT_EQ(frame, m_Frames.NextKept(previous));
        previous = frame;
    }
}

// At 200 % the window's surface, its mouse input and its picture follow the
// scale; a small recording is not blown up.
TEST_F(ReviewWindowTest, AtTwoHundredPercentClicksLandOnTheirFrameAndTheFrameShowsPixelForPixel)
{
    Open();
    RECT suggested = {100, 100, 100 + 2 * CReviewWnd::kWidth, 100 + 2 * CReviewWnd::kHeight};
    SendMessageW(Hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    ASSERT_EQ(m_Window.GetScreen()->Width(), 2 * CReviewWnd::kWidth);

    Click(Hwnd(), 2 * FrameX(20), 2 * TimelineY());
    EXPECT_EQ(m_Window.CurrentFrame(), 20);

    // Centred, the frame covers kFrameWidth x kFrameHeight pixels around
    // the stage's centre, no more.
    const CNScreen& screen = *m_Window.GetScreen();
    const RECT& stage = ReviewWindowLayout::kStage;
    const int centreX = stage.left + stage.right;
    const int centreY = stage.top + stage.bottom;
    EXPECT_EQ(screen.PixelAt(centreX, centreY), kFrameColour);
    EXPECT_EQ(screen.PixelAt(centreX + kFrameWidth / 2 - 1, centreY), kFrameColour);
    EXPECT_NE(screen.PixelAt(centreX + kFrameWidth / 2 + 1, centreY), kFrameColour);
    EXPECT_NE(screen.PixelAt(centreX, centreY + kFrameHeight / 2 + 1), kFrameColour);
}

} // namespace

} // namespace pelidore
