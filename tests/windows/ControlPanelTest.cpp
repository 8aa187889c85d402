// The control panel and its lock windows under Wine, driven by posted mouse
// and keyboard messages as the system would queue them.
#include "CControlWnd.h"
#include "CommandRecorder.h"
#include "PelidoreCommands.h"
#include "UserInput.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>

namespace pelidore {

namespace {

using Command = CommandRecorder::Command;

constexpr int kPanelX = 110;
constexpr int kPanelY = 458;
constexpr std::uint64_t MB = 1048576;

class ControlPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_Frame.Window(), nullptr);
        ASSERT_EQ(m_Panel.Create(GetModuleHandleW(nullptr), m_Frame.Window(), CControlWnd::kTitle, WS_EX_LAYERED,
                                 WS_POPUP, kPanelX, kPanelY, CToolWnd::kWidth, CControlWnd::kHeight, 1),
                  0);
        m_Panel.Draw();
        UserInput::Pump();
    }

    void TearDown() override
    {
        m_Panel.Destroy();
        UserInput::Pump();
        UserInput::TakeQuit();
    }

    CNControlBase& Control(int id) { return *m_Panel.FindControl(id); }
    bool Shown(int id) { return Control(id).IsVisible(); }

    void ClickPanel(int id) { UserInput::Click(m_Panel.GetHwnd(), Control(id).GetRect()); }

    bool PumpUntilCommands(size_t count)
    {
        return UserInput::PumpUntil([&] { return m_Frame.Commands().size() >= count; });
    }

    // Opens a lock window through the panel and lets `act` play the user in it.
    void RunLock(int openId, CLockWnd& lock, std::function<void(HWND)> act)
    {
        std::atomic<bool> acted{false};
        ModalDriver driver(lock.GetHwnd(), [&](HWND window) {
            act(window);
            acted.store(true);
        });
        ClickPanel(openId);
        // The loop runs inside the dispatch of the click: once the driver has
        // acted and the dispatch returned, the window is closed again.
        UserInput::PumpUntil([&] { return acted.load() && !lock.IsRunning(); }, 6000);
    }

    static void Press(HWND lock, int id, CLockWnd& window)
    {
        for (const CNControlBase* child : window.GetChildren()) {
            if (child->GetId() == id)
                UserInput::Click(lock, child->GetRect());
        }
    }

    // Light pixels (text) inside the rectangle of the panel's surface.
    int LightPixels(int left, int top, int right, int bottom)
    {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const uint32_t pixel = m_Panel.GetScreen()->PixelAt(x, y);
                if (((pixel >> 16) & 0xFF) > 150 && ((pixel >> 8) & 0xFF) > 150)
                    ++count;
            }
        }
        return count;
    }
    int LightPixelsInSizeReadout() { return LightPixels(235, 100, 310, 125); }

    CommandRecorder m_Frame;
    CControlWnd m_Panel;
};

TEST_F(ControlPanelTest, ToolButtonsPostTheirCommandsToTheFrame)
{
    for (int id : {CControlWnd::kMinimizeButton, CControlWnd::kAboutButton, CControlWnd::kFolderButton,
                   CControlWnd::kSnapshotButton, CControlWnd::kLogoButton, CControlWnd::kSetupButton})
        ClickPanel(id);
    ASSERT_TRUE(PumpUntilCommands(6));
    const std::vector<Command> expected = {{pelidore::CMD_MINIMIZE, 0},         {pelidore::CMD_TOGGLE_ABOUT, 0},
                                           {pelidore::CMD_OPEN_WORK_FOLDER, 0}, {pelidore::CMD_SNAPSHOT, 0},
                                           {pelidore::CMD_TOGGLE_LOGO, 0},      {pelidore::CMD_TOGGLE_SETUP, 0}};
    EXPECT_EQ(m_Frame.Commands(), expected);
}

TEST_F(ControlPanelTest, RestingOnAButtonShowsItsLabelBesideItAndLeavingHidesIt)
{
    m_Panel.SetHotkeyTexts(L"Ctrl+Shift+F9", L"", L"Ctrl+Shift+F11");
    const CNRect record = Control(CControlWnd::kRecordButton).GetRect();
    const POINT inside = {record.x + record.width / 2, record.y + record.height / 2};
    ASSERT_TRUE(SetCursorPos(kPanelX + inside.x, kPanelY + inside.y));
    PostMessageW(m_Panel.GetHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
    CLabelWnd& label = m_Panel.HoverLabel();
    ASSERT_TRUE(UserInput::PumpUntil([&] { return label.IsShown(); }));
    EXPECT_EQ(label.Text(), L"Record  (Ctrl+Shift+F9)");
    RECT shown = {};
    ASSERT_TRUE(GetWindowRect(label.GetHwnd(), &shown));
    const RECT button = {kPanelX + record.x, kPanelY + record.y, kPanelX + record.x + record.width,
                         kPanelY + record.y + record.height};
    RECT overlap = {};
    EXPECT_FALSE(IntersectRect(&overlap, &shown, &button)) << "the label covers its button";

    const POINT outside = {5, CControlWnd::kHeight - 5};
    ASSERT_TRUE(SetCursorPos(kPanelX + outside.x, kPanelY + outside.y));
    PostMessageW(m_Panel.GetHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(outside.x, outside.y));
    EXPECT_TRUE(UserInput::PumpUntil([&] { return !label.IsShown(); }));
    EXPECT_EQ(m_Panel.LabelText(CControlWnd::kSnapshotButton), L"Snapshot  (Ctrl+Shift+F11)");
    EXPECT_EQ(m_Panel.LabelText(CControlWnd::kPauseButton), L"Pause") << "no hotkey, none named";
}

TEST_F(ControlPanelTest, RecordAndStopShareAPlaceAndToggleRecording)
{
    ClickPanel(CControlWnd::kRecordButton);
    ASSERT_TRUE(PumpUntilCommands(1));
    EXPECT_EQ(m_Frame.Commands().back(), (Command{pelidore::CMD_TOGGLE_RECORDING, 1}));
    EXPECT_FALSE(Shown(CControlWnd::kRecordButton));
    EXPECT_TRUE(Shown(CControlWnd::kStopButton));

    ClickPanel(CControlWnd::kStopButton);
    ASSERT_TRUE(PumpUntilCommands(2));
    EXPECT_EQ(m_Frame.Commands().back(), (Command{pelidore::CMD_TOGGLE_RECORDING, 0}));
    EXPECT_TRUE(Shown(CControlWnd::kRecordButton));
    EXPECT_FALSE(Shown(CControlWnd::kStopButton));
}

TEST_F(ControlPanelTest, QuitButtonAndCloseEndTheProgram)
{
    ClickPanel(CControlWnd::kQuitButton);
    bool quit = false;
    UserInput::PumpUntil([] { return false; }, 1000, &quit);
    EXPECT_TRUE(quit);
    EXPECT_TRUE(UserInput::TakeQuit());

    PostMessageW(m_Panel.GetHwnd(), WM_CLOSE, 0, 0);
    quit = false;
    UserInput::PumpUntil([] { return false; }, 1000, &quit);
    EXPECT_TRUE(quit);
    EXPECT_TRUE(UserInput::TakeQuit());
    EXPECT_TRUE(IsWindow(m_Panel.GetHwnd()));
    EXPECT_TRUE(m_Frame.Commands().empty());
}

TEST_F(ControlPanelTest, TimeLockOfFiveSecondsIsReportedAtZero)
{
    CTimeLockWnd& lock = m_Panel.TimeLockWindow();
    RunLock(CControlWnd::kTimeLockButton, lock, [&](HWND window) { Press(window, CLockWnd::kOkButton, lock); });
    ASSERT_EQ(m_Panel.TimeLimit(), 5);
    EXPECT_FALSE(Shown(CControlWnd::kTimeLockButton));
    EXPECT_TRUE(Shown(CControlWnd::kTimeClearButton));
    EXPECT_FALSE(IsWindowVisible(lock.GetHwnd()));
    EXPECT_FALSE(IsWindowEnabled(lock.GetHwnd()));

    EXPECT_EQ(m_Panel.UpdateDisplay(4, 0, 1), 0);
    EXPECT_EQ(m_Panel.TimeReadout(), L"00:01");
    // What the capture thread posts after each frame.
    PostMessageW(m_Panel.GetHwnd(), pelidore::PWM_READOUT, 5, 0);
    ASSERT_TRUE(UserInput::PumpUntil([&] { return m_Panel.TimeReadout() == L"00:00"; }));
    EXPECT_EQ(m_Panel.UpdateDisplay(5, 0, 1), 1);
    EXPECT_EQ(m_Frame.Commands(), (std::vector<Command>{{pelidore::CMD_LOCKS_CHANGED, 0}}))
        << "the capture thread, not the panel, posts the stop";

    ClickPanel(CControlWnd::kTimeClearButton);
    ASSERT_TRUE(PumpUntilCommands(2));
    EXPECT_EQ(m_Panel.TimeLimit(), 0);
    EXPECT_EQ(m_Frame.Commands().back(), (Command{pelidore::CMD_LOCKS_CHANGED, 0}));
    EXPECT_TRUE(Shown(CControlWnd::kTimeLockButton));
    EXPECT_FALSE(Shown(CControlWnd::kTimeClearButton));
    EXPECT_EQ(m_Panel.UpdateDisplay(5, 0, 1), 0);
    EXPECT_EQ(m_Panel.TimeReadout(), L"00:05");
}

TEST_F(ControlPanelTest, TypedMinutesAndSecondsMakeTheLimit)
{
    CTimeLockWnd& lock = m_Panel.TimeLockWindow();
    RunLock(CControlWnd::kTimeLockButton, lock, [&](HWND window) {
        UserInput::Click(window, lock.MinutesEdit().GetRect());
        UserInput::Key(window, VK_END);
        UserInput::Char(window, L'2'); // "02"
        UserInput::Click(window, lock.SecondsEdit().GetRect());
        UserInput::Key(window, VK_END);
        UserInput::Key(window, VK_BACK);
        UserInput::Char(window, L'9');
        UserInput::Char(window, L'9'); // 99 is clamped to 60
        Press(window, CLockWnd::kOkButton, lock);
    });
    EXPECT_EQ(m_Panel.TimeLimit(), 2 * 60 + 60);
}

TEST_F(ControlPanelTest, CancelLeavesLocksAndButtonsAsTheyWere)
{
    CTimeLockWnd& timeLock = m_Panel.TimeLockWindow();
    RunLock(CControlWnd::kTimeLockButton, timeLock, [&](HWND window) {
        UserInput::Click(window, timeLock.MinutesEdit().GetRect());
        UserInput::Char(window, L'7');
        Press(window, CLockWnd::kCancelButton, timeLock);
    });
    EXPECT_FALSE(timeLock.IsRunning());
    EXPECT_EQ(m_Panel.TimeLimit(), 0);
    EXPECT_TRUE(Shown(CControlWnd::kTimeLockButton));
    EXPECT_FALSE(Shown(CControlWnd::kTimeClearButton));

    CSizeLockWnd& sizeLock = m_Panel.SizeLockWindow();
    RunLock(CControlWnd::kSizeLockButton, sizeLock, [&](HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); });
    EXPECT_FALSE(sizeLock.IsRunning());
    EXPECT_EQ(m_Panel.SizeLimit(), 0);
    EXPECT_TRUE(Shown(CControlWnd::kSizeLockButton));
    EXPECT_FALSE(Shown(CControlWnd::kSizeClearButton));
    EXPECT_TRUE(IsWindow(sizeLock.GetHwnd()));
    EXPECT_TRUE(m_Frame.Commands().empty());
}

TEST_F(ControlPanelTest, CancelForgetsWhatWasTypedSoTheNextOpeningShowsTheLastConfirmedValues)
{
    CTimeLockWnd& lock = m_Panel.TimeLockWindow();
    RunLock(CControlWnd::kTimeLockButton, lock, [&](HWND window) {
        UserInput::Click(window, lock.MinutesEdit().GetRect());
        UserInput::Key(window, VK_END);
        UserInput::Char(window, L'7');
        Press(window, CLockWnd::kCancelButton, lock);
    });
    RunLock(CControlWnd::kTimeLockButton, lock, [&](HWND window) { Press(window, CLockWnd::kOkButton, lock); });
    EXPECT_EQ(m_Panel.TimeLimit(), 5);
}

TEST_F(ControlPanelTest, SizeLockCountsDownInHighSpeed)
{
    CSizeLockWnd& lock = m_Panel.SizeLockWindow();
    RunLock(CControlWnd::kSizeLockButton, lock, [&](HWND window) { Press(window, CLockWnd::kOkButton, lock); });
    ASSERT_EQ(m_Panel.SizeLimit(), 1);
    EXPECT_FALSE(Shown(CControlWnd::kSizeLockButton));
    EXPECT_TRUE(Shown(CControlWnd::kSizeClearButton));

    EXPECT_EQ(m_Panel.UpdateDisplay(1, 524288, 1), 0);
    EXPECT_EQ(m_Panel.SizeReadout(), L"0.5 mb");
    EXPECT_EQ(m_Panel.UpdateDisplay(2, MB, 1), 1);
    EXPECT_EQ(m_Panel.SizeReadout(), L"0.0 mb");
}

TEST_F(ControlPanelTest, ZeroMegabytesConfirmedSetsNoLock)
{
    CSizeLockWnd& lock = m_Panel.SizeLockWindow();
    RunLock(CControlWnd::kSizeLockButton, lock, [&](HWND window) {
        UserInput::Click(window, lock.MegabytesEdit().GetRect());
        UserInput::Key(window, VK_END);
        UserInput::Key(window, VK_BACK);
        UserInput::Char(window, L'0');
        Press(window, CLockWnd::kOkButton, lock);
    });
    EXPECT_EQ(m_Panel.SizeLimit(), 0);
    EXPECT_TRUE(Shown(CControlWnd::kSizeLockButton));
    EXPECT_FALSE(Shown(CControlWnd::kSizeClearButton));
}

TEST_F(ControlPanelTest, DeferredQualityDisablesSizeLockAndHidesSizeReadout)
{
    CSizeLockWnd& lock = m_Panel.SizeLockWindow();
    RunLock(CControlWnd::kSizeLockButton, lock, [&](HWND window) { Press(window, CLockWnd::kOkButton, lock); });
    ASSERT_EQ(m_Panel.SizeLimit(), 1);
    m_Panel.UpdateDisplay(1, 2 * MB, 1);
    EXPECT_GT(LightPixelsInSizeReadout(), 0);

    m_Panel.SetQuality(2);
    EXPECT_TRUE(Shown(CControlWnd::kSizeLockButton));
    EXPECT_FALSE(Control(CControlWnd::kSizeLockButton).IsEnabled());
    EXPECT_FALSE(Shown(CControlWnd::kSizeClearButton));
    EXPECT_EQ(m_Panel.SizeReadout(), L"");
    EXPECT_EQ(LightPixelsInSizeReadout(), 0);
    EXPECT_EQ(m_Panel.UpdateDisplay(1, 2 * MB, 1), 0) << "no size lock while the frame store is written";

    // A disabled lock button opens nothing.
    ClickPanel(CControlWnd::kSizeLockButton);
    UserInput::Pump();
    EXPECT_FALSE(IsWindowVisible(lock.GetHwnd()));

    m_Panel.SetQuality(0);
    EXPECT_EQ(m_Panel.SizeLimit(), 1);
    EXPECT_TRUE(Shown(CControlWnd::kSizeClearButton));
    EXPECT_FALSE(Shown(CControlWnd::kSizeLockButton));
    EXPECT_EQ(m_Panel.SizeReadout(), L"0.0 mb");
    EXPECT_GT(LightPixelsInSizeReadout(), 0);
}

TEST_F(ControlPanelTest, ReadoutsQueuedBeforeTheStopAreDropped)
{
    PostMessageW(m_Panel.GetHwnd(), pelidore::PWM_READOUT, 65, 3 * MB);
    ASSERT_TRUE(UserInput::PumpUntil([&] { return m_Panel.TimeReadout() == L"01:05"; }));
    EXPECT_EQ(m_Panel.SizeReadout(), L"3.0 mb");

    PostMessageW(m_Panel.GetHwnd(), pelidore::PWM_READOUT, 66, 4 * MB);
    m_Panel.UpdateDisplay(0, 0, 0);
    m_Panel.ShowRecordButton();
    UserInput::Pump();
    EXPECT_EQ(m_Panel.TimeReadout(), L"00:00");
    EXPECT_EQ(m_Panel.SizeReadout(), L"0.0 mb");
    EXPECT_TRUE(Shown(CControlWnd::kRecordButton));
}

TEST_F(ControlPanelTest, CommandsPostedWhileALockWindowIsOpenArriveAfterwards)
{
    CTimeLockWnd& lock = m_Panel.TimeLockWindow();
    bool heldBack = false;
    RunLock(CControlWnd::kTimeLockButton, lock, [&](HWND window) {
        // As the capture thread does when a lock is reached.
        PostMessageW(m_Frame.Window(), pelidore::PWM_COMMAND, pelidore::CMD_TOGGLE_RECORDING, 0);
        Sleep(200);
        heldBack = m_Frame.Count() == 0;
        Press(window, CLockWnd::kCancelButton, lock);
    });
    EXPECT_TRUE(heldBack);
    ASSERT_TRUE(PumpUntilCommands(1));
    EXPECT_EQ(m_Frame.Commands().front(), (Command{pelidore::CMD_TOGGLE_RECORDING, 0}));
}

TEST_F(ControlPanelTest, QuitDuringALockWindowCancelsAndReachesTheMainLoop)
{
    CTimeLockWnd& lock = m_Panel.TimeLockWindow();
    const DWORD uiThread = GetCurrentThreadId();
    RunLock(CControlWnd::kTimeLockButton, lock, [&](HWND) { PostThreadMessageW(uiThread, WM_QUIT, 0, 0); });
    EXPECT_FALSE(lock.IsRunning());
    EXPECT_EQ(m_Panel.TimeLimit(), 0);
    EXPECT_TRUE(UserInput::TakeQuit());
}

TEST_F(ControlPanelTest, TopStripDragsExceptOverItsButtons)
{
    auto hitTest = [&](int x, int y) {
        return SendMessageW(m_Panel.GetHwnd(), WM_NCHITTEST, 0, MAKELPARAM(kPanelX + x, kPanelY + y));
    };
    EXPECT_EQ(hitTest(100, 10), HTCAPTION);
    EXPECT_EQ(hitTest(100, 32), HTCAPTION);
    EXPECT_NE(hitTest(100, 33), HTCAPTION);
    EXPECT_NE(hitTest(359, 18), HTCAPTION) << "the quit button must take clicks";
    EXPECT_NE(hitTest(0, 10), HTCAPTION);
}

TEST_F(ControlPanelTest, DraggingAgainstTheLeftEdgeMovesTheFrameAlong)
{
    const int screenLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    RECT proposed = {screenLeft - 300, kPanelY, screenLeft - 300 + 377, kPanelY + 153};
    EXPECT_TRUE(SendMessageW(m_Panel.GetHwnd(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed)));
    EXPECT_EQ(proposed.left, screenLeft + 1);
    EXPECT_EQ(proposed.right, screenLeft + 1 + 377);
    RECT frame;
    ASSERT_TRUE(GetWindowRect(m_Frame.Window(), &frame));
    EXPECT_EQ(frame.left, screenLeft - 9);
    EXPECT_EQ(frame.top, kPanelY - 360 + 2);
    EXPECT_EQ(frame.right - frame.left, 640);
}

} // namespace

} // namespace pelidore
