// The whole program at the monitor scale the Wine prefix's LogPixels sets:
// run by dpi-runs.sh once at 96, 144 and 192 dots per inch, which it passes
// in PELIDORE_TEST_DPI. The tool windows take their 100 % layout times the
// scale; the recording stays in the screen's own pixels.
#include "CConfigFile.h"
#include "CControlWnd.h"
#include "CNBitmap.h"
#include "CNScale.h"
#include "CNScreenDC.h"
#include "CSetupWnd.h"
#include "EndToEndTest.h"
#include "PelidoreCommands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace pelidore;

namespace {

constexpr unsigned kWaitMs = 10000;
constexpr wchar_t kSetupTitle[] = L"Pelidore - Setup";
constexpr wchar_t kLogoTitle[] = L"Pelidore - Logo";

// Centres of panel buttons in layout units (their rectangles are in CControlWnd).
constexpr POINT kSetupButton = {336, 65};
constexpr POINT kLogoButton = {283, 65};
constexpr POINT kSnapshotButton = {230, 65};
constexpr POINT kRecordButton = {63, 95};
constexpr POINT kPauseButton = {266, 18};
// On the Setup window's frame-rate slider: (180 - 70) * 29 / 220 + 0.5 = step 15.
constexpr POINT kFpsSliderPoint = {180, 60};
constexpr int kFpsStepThere = 15;

class DpiEndToEnd : public EndToEndTest {
protected:
    static void SetUpTestSuite()
    {
        // Without this Wine shows the test 96-dpi coordinates of the windows.
        SetProcessDPIAware();
        EndToEndTest::SetUpTestSuite();
    }

    void SetUp() override
    {
        EndToEndTest::SetUp();
        const char* dpi = std::getenv("PELIDORE_TEST_DPI");
        ASSERT_NE(dpi, nullptr) << "run by dpi-runs.sh, which says the prefix's dpi";
        m_Scale = CNScale(std::atoi(dpi));
        HDC screen = GetDC(nullptr);
        const int systemDpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        ASSERT_EQ(systemDpi, m_Scale.Dpi()) << "the prefix's LogPixels did not take";
    }

    static HWND Frame() { return FindWindowW(L"Pelidore", L"Pelidore"); }
    static HWND Panel() { return FindWindowW(CControlWnd::kTitle, nullptr); }

    static bool WaitFor(const std::function<bool()>& condition, unsigned timeoutMs = kWaitMs)
    {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        while (!condition()) {
            if (GetTickCount64() > end)
                return false;
            Sleep(20);
        }
        return true;
    }

    static bool IsShown(const wchar_t* title)
    {
        HWND window = FindWindowW(title, nullptr);
        return window && IsWindowVisible(window);
    }

    // A click as the system posts it, at a layout point of the window turned
    // into the window's pixels at the prefix's scale.
    void ClickAt(HWND window, POINT layout) const
    {
        const LPARAM at =
            MAKELPARAM(m_Scale.ToPixels(static_cast<int>(layout.x)), m_Scale.ToPixels(static_cast<int>(layout.y)));
        PostMessageW(window, WM_MOUSEMOVE, 0, at);
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(window, WM_LBUTTONUP, 0, at);
    }

    // What the window answers the system's hit test at a layout point.
    LRESULT HitTest(HWND window, int x, int y) const
    {
        RECT place = {};
        GetWindowRect(window, &place);
        const LPARAM at = MAKELPARAM(place.left + m_Scale.ToPixels(x), place.top + m_Scale.ToPixels(y));
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, WM_NCHITTEST, 0, at, SMTO_ABORTIFHUNG, 5000, &answer);
        return static_cast<LRESULT>(answer);
    }

    void ExpectScaledSize(HWND window, int layoutWidth, int layoutHeight) const
    {
        RECT place = {};
        ASSERT_TRUE(GetWindowRect(window, &place));
        EXPECT_NEAR(place.right - place.left, m_Scale.ToPixels(layoutWidth), 1);
        EXPECT_NEAR(place.bottom - place.top, m_Scale.ToPixels(layoutHeight), 1);
    }

    // With PELIDORE_DPI_SCREENSHOTS set to a folder, the window as it is on
    // the screen goes there as <name>-<dpi>dpi.png, for looking at.
    void KeepScreenshot(HWND window, const wchar_t* name) const
    {
        const wchar_t* folder = _wgetenv(L"PELIDORE_DPI_SCREENSHOTS");
        RECT place = {};
        if (!folder || !GetWindowRect(window, &place))
            return;
        // A tool window hanging below the screen's edge is lifted for the shot.
        const int overhang = static_cast<int>(place.bottom) - GetSystemMetrics(SM_CYSCREEN);
        if (overhang > 0 && SetWindowPos(window, nullptr, place.left, place.top - overhang, 0, 0,
                                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
            OffsetRect(&place, 0, -overhang);
        Sleep(1000);
        CNScreenDC screen;
        CNBitmap shot;
        ASSERT_EQ(
            shot.CreateFromDC(screen.Get(), place.left, place.top, place.right - place.left, place.bottom - place.top),
            0);
        const fs::path file =
            fs::path(folder) / (std::wstring(name) + L"-" + std::to_wstring(m_Scale.Dpi()) + L"dpi.png");
        EXPECT_EQ(shot.SavePng(file.c_str()), 0);
    }

    int SavedFpsStep() const
    {
        std::vector<std::uint8_t> bytes;
        const fs::path file = fs::path(CSettingsFolder::Default()) / CSettingsFolder::kConfigFileName;
        if (!CSettingsFile::Read(file, CConfigFile::kSize, bytes) || bytes.size() < 4)
            return -1;
        return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24;
    }

    CNScale m_Scale;
};

} // namespace

TEST_F(DpiEndToEnd, ThePanelAndItsToolsTakeTheScaleAndAnswerAtScaledPlaces)
{
    WriteConfig(10, 0);
    StartPelidore();
    HWND panel = Panel();
    ASSERT_NE(panel, nullptr);
    RECT frame = {};
    RECT placed = {};
    ASSERT_TRUE(GetWindowRect(Frame(), &frame));
    ASSERT_TRUE(GetWindowRect(panel, &placed));
    // The frame keeps its pixels; the panel hangs at its scaled indent and overlap.
    EXPECT_EQ(frame.right - frame.left, s_Frame.Width());
    EXPECT_EQ(frame.bottom - frame.top, s_Frame.Height());
    ExpectScaledSize(panel, 377, 153);
    EXPECT_EQ(placed.left - frame.left, m_Scale.ToPixels(10));
    EXPECT_EQ(frame.bottom - placed.top, m_Scale.ToPixels(2));
    std::printf("panel %ld x %ld at %d dpi\n", placed.right - placed.left, placed.bottom - placed.top, m_Scale.Dpi());
    KeepScreenshot(panel, L"panel");

    // The drag strip ends at 32 units, left of the title bar's buttons.
    EXPECT_EQ(HitTest(panel, 150, 2), HTCAPTION);
    EXPECT_EQ(HitTest(panel, 150, 31), HTCAPTION);
    EXPECT_NE(HitTest(panel, 150, 34), HTCAPTION);
    EXPECT_NE(HitTest(panel, 336, 18), HTCAPTION) << "a title-bar button is no strip";

    ClickAt(panel, kLogoButton);
    EXPECT_TRUE(WaitFor([] { return IsShown(kLogoTitle); })) << "the Logo button opens the Logo window";
    ClickAt(panel, kLogoButton);
    EXPECT_TRUE(WaitFor([] { return !IsShown(kLogoTitle); }));

    ClickAt(panel, kSetupButton);
    ASSERT_TRUE(WaitFor([] { return IsShown(kSetupTitle); })) << "the Setup button opens the Setup window";
    HWND setup = FindWindowW(kSetupTitle, nullptr);
    ExpectScaledSize(setup, CSetupWnd::kWidth, CSetupWnd::kHeight);
    // Opened at the panel, but moved up where it would run off the screen.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    RECT setupPlace = {};
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(setup, MONITOR_DEFAULTTONEAREST), &monitor));
    ASSERT_TRUE(GetWindowRect(setup, &setupPlace));
    EXPECT_LE(setupPlace.bottom, monitor.rcWork.bottom);
    KeepScreenshot(setup, L"setup");
    EXPECT_EQ(HitTest(setup, 150, 31), HTCAPTION);
    ClickAt(setup, kFpsSliderPoint);
    EXPECT_TRUE(WaitFor([this] { return SavedFpsStep() == kFpsStepThere; }))
        << "the slider took step " << SavedFpsStep();
    ClickAt(panel, kSetupButton);
    EXPECT_TRUE(WaitFor([] { return !IsShown(kSetupTitle); }));

    ClickAt(panel, kSnapshotButton);
    EXPECT_TRUE(WaitFor([this] { return FilesEndingWith(L".jpg").size() == 1; })) << "the Snapshot button";
}

TEST_F(DpiEndToEnd, TheRecordPauseAndStopButtonsRecordExactlyTheRegionInsideTheFrame)
{
    WriteConfig(10, 0);
    StartPelidore();
    HWND panel = Panel();
    ASSERT_NE(panel, nullptr);
    const ULONGLONG started = GetTickCount64();
    ClickAt(panel, kRecordButton);
    ASSERT_TRUE(WaitForState(STATE_RECORDING, true, kWaitMs)) << "the Record button starts a recording";
    Sleep(1200);
    KeepScreenshot(panel, L"panel-recording");
    ClickAt(panel, kPauseButton);
    EXPECT_TRUE(WaitForState(STATE_PAUSED, true, kWaitMs)) << "the Pause button, shown while recording";
    // Resume shares the Pause button's place.
    ClickAt(panel, kPauseButton);
    EXPECT_TRUE(WaitForState(STATE_PAUSED, false, kWaitMs)) << "the Resume button";
    Sleep(1000);
    // Stop shares the Record button's place.
    ClickAt(panel, kRecordButton);
    ASSERT_TRUE(WaitForState(STATE_RECORDING, false, kWaitMs)) << "the Stop button";
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);

    GifFile gif(OnlyGif());
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    EXPECT_EQ(gif.Width(), 620);
    EXPECT_EQ(gif.Height(), 342);
    EXPECT_LE(gif.TotalCentiseconds(), static_cast<int>((GetTickCount64() - started) / 10));
    for (int i = 0; i < gif.FrameCount(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        // The scene's marker sits where it does at 96 dpi: the region is the
        // same pixels, and no mark of the frame is in it.
        EXPECT_GT(scene::Count(gif, i, scene::kMarkerX - 3, scene::kMarkerY - 3, scene::kMarkerX + 3,
                               scene::kMarkerY + 3, scene::IsMarkerGreen),
                  30);
        EXPECT_EQ(scene::Count(gif, i, 0, 322, 20, 342, scene::IsBlack), 0);
        EXPECT_EQ(scene::Count(gif, i, 600, 322, 620, 342, scene::IsBlack), 0);
        EXPECT_GE(scene::SquareLeft(gif, i), 0);
    }
}
