// The frame window in this process under Wine: its tool windows, the
// messages it answers, the clamps that carry the panel, and commands.
#include "CConfigFile.h"
#include "CFrameGeometry.h"
#include "CLogoFile.h"
#include "CPelidoreWnd.h"
#include "CSettingsFolder.h"
#include "MessagePump.h"
#include "PelidoreCommands.h"
#include "SettingsBackup.h"

#include <gtest/gtest.h>

#include <memory>

using namespace pelidore;
namespace fs = std::filesystem;

namespace {

constexpr int kLeft = 300;
constexpr int kTop = 200;

void Pump(unsigned milliseconds = 60)
{
    MessagePump::RunFor(milliseconds);
}

RECT RectOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

class FrameWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        const fs::path settings = CSettingsFolder::Default();
        m_Config = std::make_unique<SettingsBackup>(settings / CSettingsFolder::kConfigFileName);
        m_LogoFile = std::make_unique<SettingsBackup>(settings / CSettingsFolder::kLogoFileName);
        m_Work = fs::temp_directory_path() / L"pelidore frame window";
        std::error_code ignored;
        fs::remove_all(m_Work, ignored);
        CConfigFile config;
        config.workFolder.AssignUnits(m_Work.c_str(), CFixedText::kUnits);
        ASSERT_TRUE(CSettingsFile::Write(settings / CSettingsFolder::kConfigFileName, config.Serialise()));
        ASSERT_TRUE(CSettingsFile::Write(settings / CSettingsFolder::kLogoFileName, CLogoFile{}.Serialise()));

        ASSERT_EQ(m_Frame.Create(GetModuleHandleW(nullptr), kLeft, kTop), 0);
        m_Window = m_Frame.GetHwnd();
        Pump();
    }
    void TearDown() override
    {
        m_Frame.Shutdown();
        std::error_code ignored;
        fs::remove_all(m_Work, ignored);
    }

    HWND Tool(const wchar_t* title) const
    {
        HWND tool = FindWindowW(title, title);
        return tool && GetWindow(tool, GW_OWNER) == m_Window ? tool : nullptr;
    }

    unsigned State() const { return static_cast<unsigned>(SendMessageW(m_Window, PWM_QUERY_STATE, 0, 0)); }

    void Command(unsigned command, LPARAM argument = 0)
    {
        PostMessageW(m_Window, PWM_COMMAND, command, argument);
        Pump();
    }

    std::unique_ptr<SettingsBackup> m_Config;
    std::unique_ptr<SettingsBackup> m_LogoFile;
    fs::path m_Work;
    CPelidoreWnd m_Frame;
    HWND m_Window = nullptr;
};

} // namespace

TEST_F(FrameWindow, CreatesItsToolWindowsUnderItWithOnlyThePanelShown)
{
    const RECT frame = RectOf(m_Window);
    EXPECT_EQ(frame.left, kLeft);
    EXPECT_EQ(frame.right - frame.left, 640);
    EXPECT_EQ(frame.bottom - frame.top, 360);
    EXPECT_NE(GetWindowLongW(m_Window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);

    const struct {
        const wchar_t* title;
        int height;
        bool shown;
    } tools[] = {{L"Pelidore - Control", 153, true},
                 {L"Pelidore - Setup", 252, false},
                 {L"Pelidore - Logo", 238, false},
                 {L"Pelidore - About", 180, false},
                 {L"Pelidore - Save", 122, false}};
    for (const auto& tool : tools) {
        SCOPED_TRACE(std::wstring(tool.title).c_str());
        HWND window = Tool(tool.title);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(IsWindowVisible(window) != FALSE, tool.shown);
        EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
        const RECT rect = RectOf(window);
        EXPECT_EQ(rect.left, frame.left + 10);
        EXPECT_EQ(rect.top, frame.bottom - 2);
        EXPECT_EQ(rect.right - rect.left, 377);
        EXPECT_EQ(rect.bottom - rect.top, tool.height);
    }
}

TEST_F(FrameWindow, AnswersTrackingLimitsAndHitTests)
{
    MINMAXINFO info = {};
    SendMessageW(m_Window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 100);
    EXPECT_EQ(info.ptMinTrackSize.y, 100);
    EXPECT_EQ(info.ptMaxTrackSize.x, 1280);
    EXPECT_EQ(info.ptMaxTrackSize.y, 720);

    const auto hit = [this](int x, int y) {
        return SendMessageW(m_Window, WM_NCHITTEST, 0, MAKELPARAM(kLeft + x, kTop + y));
    };
    EXPECT_EQ(hit(10, 10), HTTOPLEFT);
    EXPECT_EQ(hit(630, 10), HTTOPRIGHT);
    EXPECT_EQ(hit(10, 350), HTBOTTOMLEFT);
    EXPECT_EQ(hit(630, 350), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(320, 4), HTCAPTION);
}

TEST_F(FrameWindow, MovingPastTheScreenEdgeIsClampedAndThePanelFollows)
{
    const int screenLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    RECT proposed = {screenLeft - 100, 150, screenLeft - 100 + 640, 150 + 360};
    SendMessageW(m_Window, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(proposed.left, screenLeft - 9);
    EXPECT_EQ(proposed.right, screenLeft - 9 + 640);
    Pump();
    const RECT panel = RectOf(Tool(L"Pelidore - Control"));
    EXPECT_EQ(panel.left, proposed.left + 10);
    EXPECT_EQ(panel.top, proposed.bottom - 2);

    const int screenBottom = GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    RECT sized = {200, 200, 840, screenBottom + 50};
    SendMessageW(m_Window, WM_SIZING, WMSZ_BOTTOM, reinterpret_cast<LPARAM>(&sized));
    EXPECT_EQ(sized.bottom, screenBottom + 9);
    EXPECT_EQ(sized.top, 200);
    Pump();
    // No room below: the panel goes above the frame.
    EXPECT_EQ(RectOf(Tool(L"Pelidore - Control")).top, 200 - 151);
}

TEST_F(FrameWindow, ToolCommandsShowAndHideTheirWindowsAtThePanel)
{
    HWND setup = Tool(L"Pelidore - Setup");
    HWND panel = Tool(L"Pelidore - Control");
    Command(CMD_TOGGLE_SETUP);
    ASSERT_TRUE(IsWindowVisible(setup));
    EXPECT_EQ(RectOf(setup).left, RectOf(panel).left);
    EXPECT_EQ(RectOf(setup).top, RectOf(panel).top);
    Command(CMD_TOGGLE_SETUP);
    EXPECT_FALSE(IsWindowVisible(setup));
    Command(CMD_TOGGLE_ABOUT);
    EXPECT_TRUE(IsWindowVisible(Tool(L"Pelidore - About")));
    Command(CMD_TOGGLE_LOGO);
    EXPECT_TRUE(IsWindowVisible(Tool(L"Pelidore - Logo")));
}

TEST_F(FrameWindow, StateQuerySeesRecordingAndCommandsStillQueued)
{
    EXPECT_EQ(State(), STATE_ANSWERED);
    PostMessageW(m_Window, PWM_COMMAND, CMD_TOGGLE_RECORDING, 1);
    EXPECT_EQ(State(), STATE_ANSWERED | STATE_COMMANDS_PENDING);
    Pump();
    EXPECT_EQ(State(), STATE_ANSWERED | STATE_RECORDING);
    EXPECT_TRUE(m_Frame.IsRecording());
    EXPECT_TRUE(fs::exists(m_Work)) << "the work folder is made on the way";
}

TEST_F(FrameWindow, StopOnlyAndStartOnlyRequestsNeverToggleTheWrongWay)
{
    // A stop request that arrives after the recording ended starts nothing.
    Command(CMD_TOGGLE_RECORDING, 0);
    EXPECT_FALSE(m_Frame.IsRecording());
    Command(CMD_TOGGLE_RECORDING, 1);
    ASSERT_TRUE(m_Frame.IsRecording());
    // A second start request (a double click) does not stop it.
    Command(CMD_TOGGLE_RECORDING, 1);
    EXPECT_TRUE(m_Frame.IsRecording());
    Pump(300);
    Command(CMD_TOGGLE_RECORDING, 0);
    EXPECT_FALSE(m_Frame.IsRecording());
    // Live mode: the GIF is finished at once, nothing is being saved.
    EXPECT_FALSE(m_Frame.IsSaving());
    std::error_code ignored;
    int gifs = 0;
    for (fs::directory_iterator entry(m_Work, ignored), end; entry != end; entry.increment(ignored))
        gifs += entry->path().extension() == L".gif" ? 1 : 0;
    EXPECT_EQ(gifs, 1);
}

TEST_F(FrameWindow, BorderStepsThroughSixteenPhasesWhileRecording)
{
    Command(CMD_TOGGLE_RECORDING, 1);
    ASSERT_TRUE(m_Frame.IsRecording());
    // The real timer has run while the start was pumped, and would go on
    // adding steps of its own; the test steps the phase alone from where it
    // is. 16 steps bring it round.
    ASSERT_TRUE(KillTimer(m_Window, CPelidoreWnd::kBorderTimer));
    const int start = m_Frame.BorderPhase();
    ASSERT_LE(start, 0);
    ASSERT_GE(start, -15);
    for (int step = 0; step < 16; ++step)
        SendMessageW(m_Window, WM_TIMER, CPelidoreWnd::kBorderTimer, 0);
    EXPECT_EQ(m_Frame.BorderPhase(), start);
    SendMessageW(m_Window, WM_TIMER, CPelidoreWnd::kBorderTimer, 0);
    EXPECT_EQ(m_Frame.BorderPhase(), start == -15 ? 0 : start - 1);
    Command(CMD_TOGGLE_RECORDING, 0);
}
