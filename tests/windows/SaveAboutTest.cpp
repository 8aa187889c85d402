#include "CAboutWnd.h"
#include "CSaveWnd.h"
#include "CommandRecorder.h"
#include "PelidoreCommands.h"
#include "PelidoreVersion.h"
#include "UserInput.h"

#include <gtest/gtest.h>

#include <string>

namespace pelidore {

namespace {

using Command = CommandRecorder::Command;

template <class Window>
class ToolWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_Frame.Window(), nullptr);
        ASSERT_EQ(m_Window.Create(GetModuleHandleW(nullptr), m_Frame.Window(), Window::kTitle, WS_EX_LAYERED, WS_POPUP,
                                  110, 458, CToolWnd::kWidth, Window::kHeight, 1),
                  0);
        m_Window.Draw();
        UserInput::Pump();
    }

    CNControlBase& Control(int id) { return *m_Window.FindControl(id); }
    bool IsBarGrey(int x, int y) { return (m_Window.GetScreen()->PixelAt(x, y) & 0xFFFFFFu) == 0xA0A0A0u; }

    CommandRecorder m_Frame;
    Window m_Window;
};

using SaveWindowTest = ToolWindowTest<CSaveWnd>;
using AboutWindowTest = ToolWindowTest<CAboutWnd>;

TEST_F(SaveWindowTest, BarFollowsProgressAndStaysInside)
{
    EXPECT_EQ(m_Window.BarWidth(), 0);
    EXPECT_FALSE(IsBarGrey(40, 88));

    m_Window.SetProgress(8, 4);
    EXPECT_EQ(m_Window.BarWidth(), 122);
    EXPECT_TRUE(IsBarGrey(35, 77));
    EXPECT_TRUE(IsBarGrey(34 + 121, 100));
    EXPECT_FALSE(IsBarGrey(34 + 123, 88));

    m_Window.SetProgress(8, 8);
    EXPECT_EQ(m_Window.BarWidth(), CSaveWnd::kBarWidth);
    EXPECT_TRUE(IsBarGrey(34 + 244, 88));
    EXPECT_FALSE(IsBarGrey(34 + 246, 88));

    m_Window.SetProgress(8, 12);
    EXPECT_EQ(m_Window.BarWidth(), CSaveWnd::kBarWidth);
    m_Window.SetProgress(8, -3);
    EXPECT_EQ(m_Window.BarWidth(), 0);
    m_Window.SetProgress(4000000000u, 2000000000);
    EXPECT_EQ(m_Window.BarWidth(), 122);
    m_Window.SetProgress(0, 5);
    EXPECT_EQ(m_Window.BarWidth(), 0);
}

TEST_F(SaveWindowTest, StopButtonAsksTheFrameToStopSaving)
{
    UserInput::Click(m_Window.GetHwnd(), Control(CSaveWnd::kStopButton).GetRect());
    ASSERT_TRUE(UserInput::PumpUntil([&] { return !m_Frame.Commands().empty(); }));
    EXPECT_EQ(m_Frame.Commands(), (std::vector<Command>{{pelidore::CMD_CANCEL_SAVING, 0}}));
}

TEST_F(SaveWindowTest, CloseHidesAndKeepsTheWindow)
{
    PostMessageW(m_Window.GetHwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(UserInput::PumpUntil([&] { return !IsWindowVisible(m_Window.GetHwnd()); }));
    EXPECT_TRUE(IsWindow(m_Window.GetHwnd()));
    EXPECT_FALSE(UserInput::TakeQuit());
}

TEST_F(AboutWindowTest, ShowsNameVersionAndContact)
{
    const std::wstring text = CAboutWnd::Text();
    EXPECT_EQ(text.find(L"Pelidore"), 0u);
    const std::string version = PELIDORE_VERSION_STRING;
    EXPECT_NE(text.find(L"Version " + std::wstring(version.begin(), version.end())), std::wstring::npos);
    EXPECT_NE(text.find(L"@"), std::wstring::npos);
}

TEST_F(AboutWindowTest, CloseButtonHidesTheWindow)
{
    const LRESULT onButton = SendMessageW(m_Window.GetHwnd(), WM_NCHITTEST, 0, MAKELPARAM(110 + 359, 458 + 18));
    EXPECT_NE(onButton, HTCAPTION);
    UserInput::Click(m_Window.GetHwnd(), Control(CAboutWnd::kCloseButton).GetRect());
    ASSERT_TRUE(UserInput::PumpUntil([&] { return !IsWindowVisible(m_Window.GetHwnd()); }));
    EXPECT_TRUE(m_Frame.Commands().empty());
}

} // namespace

} // namespace pelidore
