#include "CNSubWindow.h"
#include "CNTopWindow.h"
#include "JournalControl.h"
#include "LogCapture.h"
#include "MessagePump.h"
#include "NMessages.h"
#include "SourceLine.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace pelidore {

namespace {

using Journal = std::vector<std::string>;
constexpr UINT kProbe = JournalControl::kProbe;
constexpr const wchar_t* kClass = L"PelidoreWindowTest";
constexpr const wchar_t* kTopClass = L"PelidoreTopTest";
constexpr int kTopWidth = 640;
constexpr int kTopHeight = 360;

HINSTANCE Module()
{
    return GetModuleHandleW(nullptr);
}

void PumpMessages()
{
    MessagePump::DispatchWaiting();
}

std::string LogLine(const char* function, const char* file, const char* literal, const std::string& message)
{
    return std::string("[") + function + ", " + std::to_string(SourceLineOf(file, literal)) + "]   " + message + "\n";
}

// A sub-window that journals its hook and its handler and can make either
// claim a message.
class JournalWindow : public CNSubWindow {
public:
    explicit JournalWindow(Journal& journal) : m_Journal(journal) {}

    HRESULT Open(DWORD exStyle = 0, int show = 0)
    {
        return Create(Module(), nullptr, kClass, exStyle, WS_POPUP, 10, 20, 200, 100, show);
    }
    LRESULT OnMessage(HWND, UINT message, WPARAM, LPARAM lParam) override
    {
        if (message == kProbe)
            m_Journal.push_back("hook");
        if (message == WM_LBUTTONDOWN)
            m_Journal.push_back("down " + std::to_string(static_cast<short>(LOWORD(lParam))) + " " +
                                std::to_string(static_cast<short>(HIWORD(lParam))));
        return m_Claimed.count(message) ? m_HookResult : 0;
    }
    HRESULT OnCreate() override
    {
        m_Journal.push_back("create " + std::to_string(m_Screen.IsReady()));
        return AddMessageFunc(kProbe, &JournalWindow::OnProbe);
    }
    void OnMove(int x, int y, int width, int height) override
    {
        m_Journal.push_back("move " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
                            std::to_string(height));
    }
    void OnScaleChanged() override { m_Journal.push_back("scale " + std::to_string(Scale().Dpi())); }
    LRESULT OnProbe(WPARAM, LPARAM)
    {
        m_Journal.push_back("map");
        return m_MapResult;
    }
    JournalControl& AddControl(int id)
    {
        m_Controls.push_back(std::make_unique<JournalControl>(m_Journal));
        JournalControl& control = *m_Controls.back();
        control.Create(m_Window, &m_Screen, id, 0, 0, 10, 10, 1);
        EXPECT_EQ(AddChild(&control), 0);
        return control;
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageW(m_Window, message, wParam, lParam);
    }

    std::set<UINT> m_Claimed;
    LRESULT m_HookResult = 0;
    LRESULT m_MapResult = 0;

private:
    Journal& m_Journal;
    std::vector<std::unique_ptr<JournalControl>> m_Controls;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_Window.Open(), 0); }

    Journal m_Journal;
    JournalWindow m_Window{m_Journal};
};

TEST_F(WindowTest, OnCreateRunsWithTheSurfaceReady)
{
    EXPECT_EQ(m_Journal, Journal{"create 1"});
    EXPECT_EQ(m_Window.GetScreen()->Mode(), CNScreen::kModeOrdinary);
    EXPECT_EQ(m_Window.GetScreen()->Width(), 200);
    EXPECT_EQ(m_Window.GetScreen()->Height(), 100);
    EXPECT_NE(m_Window.GetWindowDC(), nullptr);
}

TEST_F(WindowTest, MessageGoesToHookThenChildrenLastFirstThenMap)
{
    m_Window.AddControl(1);
    m_Window.AddControl(2);
    m_Window.AddControl(3);
    m_Journal.clear();
    m_Window.m_MapResult = 17;
    EXPECT_EQ(m_Window.Send(kProbe), 17);
    EXPECT_EQ(m_Journal, (Journal{"hook", "child 3", "child 2", "child 1", "map"}));
}

TEST_F(WindowTest, HookResultSuppressesChildrenAndMap)
{
    m_Window.AddControl(1);
    m_Journal.clear();
    m_Window.m_Claimed = {kProbe};
    m_Window.m_HookResult = 5;
    EXPECT_EQ(m_Window.Send(kProbe), 5);
    EXPECT_EQ(m_Journal, Journal{"hook"});
}

TEST_F(WindowTest, HookResultDoesNotSuppressBuiltInReactions)
{
    m_Window.AddControl(1);
    m_Window.m_Claimed = {WM_MOUSEMOVE, NWM_REDRAW, WM_SIZE, NWM_CONTROL_UPDATE, NWM_RECT_UPDATE};
    m_Window.m_HookResult = 1;
    m_Journal.clear();
    m_Window.Send(NWM_REDRAW);
    EXPECT_EQ(m_Journal, Journal{"draw 1 mode 0"});
    m_Window.Send(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(m_Window.IsTrackingMouse());
    ASSERT_TRUE(SetWindowPos(m_Window.GetHwnd(), nullptr, 0, 0, 150, 60, SWP_NOMOVE | SWP_NOZORDER));
    EXPECT_EQ(m_Window.GetScreen()->Width(), 150);
    EXPECT_EQ(m_Window.GetScreen()->Height(), 60);
}

TEST_F(WindowTest, HandlerResultZeroStillReachesDefWindowProc)
{
    // The default reply to WM_GETTEXTLENGTH is the title's length (the class name).
    ASSERT_EQ(m_Window.AddMessageFunc(WM_GETTEXTLENGTH, &JournalWindow::OnProbe), 0);
    m_Window.m_MapResult = 0;
    EXPECT_EQ(m_Window.Send(WM_GETTEXTLENGTH), static_cast<LRESULT>(wcslen(kClass)));
    m_Window.m_MapResult = 42;
    EXPECT_EQ(m_Window.Send(WM_GETTEXTLENGTH), 42);
}

TEST_F(WindowTest, SecondHandlerForAMessageIsRefused)
{
    LogCapture log;
    EXPECT_EQ(m_Window.AddMessageFunc(kProbe, &JournalWindow::OnProbe), E_FAIL);
    EXPECT_EQ(log.Lines(),
              std::vector<std::string>{LogLine("CNMessageMap::AddMessageFunc", "toolkit/CNMessageMap.cpp",
                                               "\"already added message function",
                                               "already added message function " + std::to_string(kProbe))});
    m_Journal.clear();
    m_Window.Send(kProbe);
    EXPECT_EQ(m_Journal, (Journal{"hook", "map"}));
}

TEST_F(WindowTest, DuplicateChildIdIsRefusedWithOneLogLine)
{
    JournalControl& first = m_Window.AddControl(7);
    JournalControl twin(m_Journal);
    twin.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 7, 0, 0, 1, 1, 1);
    LogCapture log;
    EXPECT_EQ(m_Window.AddChild(&twin), E_FAIL);
    EXPECT_EQ(m_Window.AddChild(nullptr), E_FAIL);
    ASSERT_EQ(log.Lines().size(), 2u);
    EXPECT_EQ(log.Lines()[0], LogLine("CNWindowBase::AddChild", "toolkit/CNWindowBase.cpp",
                                      "\"find same window id %d\"", "find same window id 7"));
    ASSERT_EQ(m_Window.GetChildren().size(), 1u);
    EXPECT_EQ(m_Window.GetChildren().front(), &first);
}

TEST_F(WindowTest, DrawPaintsChildrenInOrderAndReleaseEmptiesTheList)
{
    m_Window.AddControl(1);
    m_Window.AddControl(2);
    m_Journal.clear();
    m_Window.Draw();
    PostMessageW(m_Window.GetHwnd(), NWM_REDRAW, 0, 0);
    PumpMessages();
    m_Window.ReleaseChildren();
    EXPECT_EQ(m_Journal,
              (Journal{"draw 1 mode 0", "draw 2 mode 0", "draw 1 mode 0", "draw 2 mode 0", "release 1", "release 2"}));
    EXPECT_TRUE(m_Window.GetChildren().empty());
}

TEST_F(WindowTest, UpdateMessagesForUnknownControlsOrNoRectangleAreSafe)
{
    m_Window.Send(NWM_CONTROL_UPDATE, 3, reinterpret_cast<LPARAM>(&m_Journal));
    m_Window.Send(NWM_RECT_UPDATE, NWM_RECT_DELETE, 0);
    m_Window.Send(NWM_RECT_UPDATE, NWM_RECT_DELETE, reinterpret_cast<LPARAM>(new CNRect{1, 1, 5, 5}));
    CNRect kept{0, 0, 4, 4};
    m_Window.Send(NWM_RECT_UPDATE, NWM_RECT_KEEP, reinterpret_cast<LPARAM>(&kept));
    EXPECT_EQ(kept, (CNRect{0, 0, 4, 4}));
}

TEST_F(WindowTest, MouseTrackingIsArmedByMoveAndClearedByLeave)
{
    EXPECT_FALSE(m_Window.IsTrackingMouse());
    m_Window.Send(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(m_Window.IsTrackingMouse());
    m_Window.Send(WM_MOUSELEAVE);
    EXPECT_FALSE(m_Window.IsTrackingMouse());
}

TEST_F(WindowTest, MoveKeepsTheBufferUnlessTheSizeChanges)
{
    CNScreen& screen = *m_Window.GetScreen();
    screen.FillRect(255, 0, 0, 255, 0, 0, 1, 1);
    m_Journal.clear();
    EXPECT_TRUE(m_Window.Move(30, 40, 200, 100, FALSE));
    EXPECT_EQ(screen.PixelAt(0, 0), 0xFFFF0000u);
    EXPECT_TRUE(m_Window.Move(30, 40, 120, 90, FALSE));
    EXPECT_EQ(screen.Width(), 120);
    EXPECT_EQ(screen.Height(), 90);
    EXPECT_EQ(screen.PixelAt(0, 0), 0u);
    EXPECT_EQ(screen.Mode(), CNScreen::kModeOrdinary);
    EXPECT_EQ(m_Journal, (Journal{"move 30 40 200 100", "move 30 40 120 90"}));
}

// A move to a monitor of another scale: the window takes the place the
// system suggests at its layout size for the new scale, and from then on its
// surface has the new pixels while mouse points inside stay layout units.
TEST_F(WindowTest, ADpiChangeTakesTheSuggestedPlaceAtTheLayoutSizeForTheNewScale)
{
    constexpr UINT kGetDpiScaledSize = 0x02E4;
    SIZE scaled = {};
    EXPECT_EQ(m_Window.Send(kGetDpiScaledSize, 192, reinterpret_cast<LPARAM>(&scaled)), TRUE);
    EXPECT_EQ(scaled.cx, 400);
    EXPECT_EQ(scaled.cy, 200);

    m_Journal.clear();
    RECT suggested = {300, 200, 601, 351}; // the system's own rounding is not taken
    m_Window.Send(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT placed = {};
    ASSERT_TRUE(GetWindowRect(m_Window.GetHwnd(), &placed));
    EXPECT_EQ(placed.left, 300);
    EXPECT_EQ(placed.top, 200);
    EXPECT_EQ(placed.right - placed.left, 300);
    EXPECT_EQ(placed.bottom - placed.top, 150);
    EXPECT_EQ(m_Window.GetScreen()->Width(), 300);
    EXPECT_EQ(m_Window.GetScreen()->LayoutWidth(), 200);
    EXPECT_EQ(m_Window.Scale().Dpi(), 144);

    m_Window.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(299, 149));
    EXPECT_EQ(m_Journal, (Journal{"scale 144", "down 199 99"}));
}

TEST(SubWindowTest, TwoSubWindowsShareAClass)
{
    Journal journal;
    JournalWindow first(journal);
    JournalWindow second(journal);
    EXPECT_EQ(first.Open(), 0);
    EXPECT_EQ(second.Open(WS_EX_LAYERED), 0);
    EXPECT_NE(first.GetHwnd(), second.GetHwnd());
    EXPECT_EQ(second.GetScreen()->Mode(), CNScreen::kModeLayered);
}

TEST(SubWindowTest, FailedCreationIsReportedAndLeavesNoWindow)
{
    LogCapture log;
    Journal journal;
    JournalWindow orphan(journal);
    const HWND noSuchParent = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x7FFF1234));
    EXPECT_EQ(orphan.Create(Module(), noSuchParent, kClass, 0, WS_CHILD, 0, 0, 10, 10, 1), E_FAIL);
    EXPECT_EQ(orphan.GetHwnd(), nullptr);
    EXPECT_TRUE(log.Contains("[CNSubWindow::Create, "));
    EXPECT_TRUE(log.Contains("]   InitInstance fail\n"));
    EXPECT_TRUE(journal.empty());
}

TEST(SubWindowTest, CreatingTwiceIsRefused)
{
    Journal journal;
    JournalWindow window(journal);
    ASSERT_EQ(window.Open(), 0);
    const HWND first = window.GetHwnd();
    LogCapture log;
    EXPECT_EQ(window.Open(), E_FAIL);
    EXPECT_EQ(window.GetHwnd(), first);
    EXPECT_EQ(log.Lines().size(), 1u);
}

TEST(WindowBaseTest, ExistingClassIsAnErrorForThePlainCreate)
{
    Journal journal;
    JournalWindow sub(journal);
    ASSERT_EQ(sub.Open(), 0);
    CNWindowBase plain;
    LogCapture log;
    EXPECT_EQ(plain.Create(Module(), nullptr, kClass, 0, WS_POPUP, 0, 0, 10, 10, 0), E_FAIL);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{LogLine("CNWindowBase::Create", "toolkit/CNWindowBase.cpp",
                                                            "\"RegisterClass fail\"", "RegisterClass fail")});
}

TEST(WindowBaseTest, DestroyingTheObjectDestroysItsWindow)
{
    HWND window = nullptr;
    {
        CNWindowBase plain;
        ASSERT_EQ(plain.Create(Module(), nullptr, L"PelidorePlainTest", 0, WS_POPUP, 0, 0, 10, 10, 1), 0);
        window = plain.GetHwnd();
        ASSERT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
    PumpMessages();
}

TEST(WindowBaseTest, WindowDestroyedFirstLeavesTheObjectUsable)
{
    CNWindowBase plain;
    ASSERT_EQ(plain.Create(Module(), nullptr, L"PelidoreGoneTest", 0, WS_POPUP, 0, 0, 10, 10, 0), 0);
    ASSERT_TRUE(DestroyWindow(plain.GetHwnd()));
    EXPECT_EQ(plain.GetHwnd(), nullptr);
    EXPECT_FALSE(plain.GetScreen()->IsReady());
    plain.Draw();
    plain.Destroy();
}

TEST(TopWindowTest, OnlyOneTopWindowAtATime)
{
    auto first = std::make_unique<CNTopWindow>();
    ASSERT_EQ(first->Create(Module(), kTopClass, 50, 60, kTopWidth, kTopHeight), 0);
    EXPECT_EQ(CNTopWindow::Instance(), first.get());
    EXPECT_EQ(CNTopWindow::ModuleInstance(), Module());
    EXPECT_EQ(first->m_TopValue, 1000);
    EXPECT_EQ(first->GetScreen()->Mode(), CNScreen::kModeLayered);
    EXPECT_EQ(first->GetScreen()->Width(), kTopWidth);
    EXPECT_EQ(first->GetScreen()->Height(), kTopHeight);
    const LONG_PTR exStyle = GetWindowLongPtrW(first->GetHwnd(), GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TOPMOST), WS_EX_LAYERED | WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(first->GetHwnd()));
    RECT rect = {};
    GetWindowRect(first->GetHwnd(), &rect);
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, 60);

    LogCapture log;
    CNTopWindow second;
    EXPECT_EQ(second.Create(Module(), nullptr, kTopClass, 0, 0, 0, 0, 10, 10, 0), E_FAIL);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{LogLine("CNTopWindow::Create", "toolkit/CNWindowBase.cpp",
                                                            "\"RegisterClass fail\"", "RegisterClass fail")});
    EXPECT_EQ(CNTopWindow::Instance(), first.get());

    first.reset();
    EXPECT_EQ(CNTopWindow::Instance(), nullptr);
    CNTopWindow third;
    EXPECT_EQ(third.Create(Module(), kTopClass, 0, 0, kTopWidth, kTopHeight), 0);
}

} // namespace

} // namespace pelidore
