// Recording without the panel, in the real program under Wine: the global
// hotkeys, pause and resume, the countdown, and clicks shown as rings.
#include "COptionsWnd.h"
#include "EndToEndTest.h"
#include "PelidoreCommands.h"
#include "SolidWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace pelidore;

namespace {

class HandsFreeEndToEnd : public EndToEndTest {
protected:
    // Presses and releases keys in order, then releases them in reverse.
    static void PressCombination(const std::vector<WORD>& keys)
    {
        std::vector<INPUT> inputs;
        for (WORD key : keys) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            inputs.push_back(input);
        }
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = *key;
            input.ki.dwFlags = KEYEVENTF_KEYUP;
            inputs.push_back(input);
        }
        ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
    }

    // Whether another program could take the combination now, asked the
    // only way Windows answers: by registering it for a moment.
    static bool IsFree(UINT modifiers, UINT key)
    {
        constexpr int kProbeId = 0x7000;
        if (!RegisterHotKey(nullptr, kProbeId, modifiers | MOD_NOREPEAT, key))
            return false;
        UnregisterHotKey(nullptr, kProbeId);
        return true;
    }

    static bool WaitUntil(const std::function<bool()>& done, unsigned timeoutMs)
    {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        while (!done()) {
            if (GetTickCount64() > end)
                return false;
            Sleep(50);
        }
        return true;
    }

    static void ClickLeftAt(int x, int y)
    {
        ASSERT_TRUE(SetCursorPos(x, y));
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_MOUSE;
        inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
    }
};

} // namespace

TEST_F(HandsFreeEndToEnd, TheRecordHotkeyStartsAndStopsARecordingFromAnotherProgram)
{
    WriteConfig(10, 0);
    StartPelidore();
    PressCombination({VK_CONTROL, VK_SHIFT, VK_F9});
    ASSERT_TRUE(WaitForState(STATE_RECORDING, true, 10000)) << "the hotkey did not start a recording";
    Sleep(1000);
    PressCombination({VK_CONTROL, VK_SHIFT, VK_F9});
    ASSERT_TRUE(WaitForState(STATE_RECORDING, false, 10000)) << "the hotkey did not stop the recording";
    GifFile gif(OnlyGif());
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    EXPECT_GE(gif.FrameCount(), 3);
}

TEST_F(HandsFreeEndToEnd, APauseIsLeftOutOfTheDelaysAndTheFramesAfterItShowTheScreenAsItIsThen)
{
    WriteConfig(10, 0);
    StartPelidore();
    ASSERT_EQ(Pelictl(L"record"), 0);
    const ULONGLONG started = GetTickCount64();
    Sleep(1000);
    ASSERT_EQ(Pelictl(L"pause"), 0);
    const ULONGLONG paused = GetTickCount64();
    EXPECT_NE(FrameState() & STATE_PAUSED, 0u);
    // While paused, a window of another colour covers the scene.
    SolidWindow cover(s_Frame.left, s_Frame.top, s_Frame.Width(), s_Frame.Height(), RGB(200, 0, 200));
    SolidWindow::Pump(2000);
    ASSERT_EQ(Pelictl(L"resume"), 0);
    const ULONGLONG resumed = GetTickCount64();
    SolidWindow::Pump(1000);
    ASSERT_EQ(Pelictl(L"stop"), 0);
    const ULONGLONG stopped = GetTickCount64();

    GifFile gif(OnlyGif());
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    std::string delays;
    for (int i = 0; i < gif.FrameCount(); ++i)
        delays += std::to_string(gif.DelayOf(i)) + " ";
    SCOPED_TRACE("delays: " + delays);
    // The pelictl calls around the pause run while recording: the recorded
    // time is what went on outside the pause.
    const float outside = static_cast<float>((stopped - started) - (resumed - paused)) / 1000.0f;
    EXPECT_NEAR(static_cast<float>(gif.TotalCentiseconds()) / 100.0f, outside, 0.8f);
    // The scene until the pause, the cover from the first frame after it.
    const auto isCover = [](int r, int g, int b) { return r > 150 && b > 150 && g < 60; };
    int covered = -1;
    for (int i = 0; i < gif.FrameCount() && covered < 0; ++i)
        covered = scene::Count(gif, i, 300, 150, 320, 170, isCover) == 400 ? i : -1;
    ASSERT_GT(covered, 3) << "the cover is in no frame, or in the first ones";
    int afterPause = 0;
    for (int i = covered; i < gif.FrameCount(); ++i) {
        EXPECT_EQ(scene::Count(gif, i, 300, 150, 320, 170, isCover), 400) << "frame " << i;
        afterPause += gif.DelayOf(i);
    }
    const float resumedFor = static_cast<float>(stopped - resumed) / 1000.0f;
    EXPECT_NEAR(static_cast<float>(afterPause) / 100.0f, resumedFor, 0.5f);
}

TEST_F(HandsFreeEndToEnd, AClickInsideTheRegionShowsAsARingInTheNextFrame)
{
    WriteConfig(5, 0);
    Options options;
    options.highlightClicks = true;
    WriteOptions(options);
    StartPelidore();
    const PixelPoint at{120, 60}; // in the GIF: clear of the square's path and the marker
    ASSERT_TRUE(SetCursorPos(s_Frame.left + 8 + at.x, s_Frame.top + 8 + at.y));
    ASSERT_EQ(Pelictl(L"record"), 0);
    Sleep(700);
    // Down and up at once: between two grabs 200 ms apart.
    ClickLeftAt(s_Frame.left + 8 + at.x, s_Frame.top + 8 + at.y);
    Sleep(1000);
    ASSERT_EQ(Pelictl(L"stop"), 0);

    GifFile gif(OnlyGif());
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    const auto isAmber = [](int r, int g, int b) { return r > 200 && g > 130 && g < 230 && b < 110; };
    int framesWithRing = 0;
    for (int i = 0; i < gif.FrameCount(); ++i) {
        const int amber = scene::Count(gif, i, at.x - 20, at.y - 20, at.x + 21, at.y + 21, isAmber);
        // A ring, not a blob: its middle stays the scene's.
        const int middle = scene::Count(gif, i, at.x - 5, at.y - 5, at.x + 6, at.y + 6, isAmber);
        if (amber > 40 && middle == 0)
            ++framesWithRing;
    }
    EXPECT_GE(framesWithRing, 1);
    EXPECT_LE(framesWithRing, 2) << "the ring outlived the click";
}

TEST_F(HandsFreeEndToEnd, TheCountdownIsNeverRecordedAndAStopDuringItCreatesNothing)
{
    WriteConfig(10, 0);
    Options options;
    options.countdownSeconds = 3;
    WriteOptions(options);
    StartPelidore();

    // A stop during the countdown cancels the start.
    ASSERT_NE(ChildProcess::Run(L"pelictl.exe", L"--timeout 1 record", 10000), 0) << "no countdown ran";
    EXPECT_NE(FrameState() & STATE_COUNTING_DOWN, 0u);
    ASSERT_EQ(Pelictl(L"stop"), 0);
    EXPECT_EQ(FrameState() & (STATE_COUNTING_DOWN | STATE_RECORDING), 0u);
    Sleep(3500);
    EXPECT_EQ(FrameState() & STATE_RECORDING, 0u) << "the cancelled countdown started a recording";
    EXPECT_TRUE(FilesEndingWith(L".gif").empty());
    EXPECT_TRUE(FilesEndingWith(L".dat").empty());

    // A countdown that runs out starts the recording; no digit is in it.
    const ULONGLONG asked = GetTickCount64();
    ASSERT_EQ(Pelictl(L"record"), 0);
    EXPECT_GE(GetTickCount64() - asked, 2500u);
    Sleep(1000);
    ASSERT_EQ(Pelictl(L"stop"), 0);
    GifFile gif(OnlyGif());
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    for (int i = 0; i < gif.FrameCount(); ++i)
        EXPECT_EQ(scene::Count(gif, i, 150, 40, 470, 300, scene::IsWhite), 0) << "a digit in frame " << i;
}

TEST_F(HandsFreeEndToEnd, AHotkeyPressedIntoTheOptionsWindowIsRegisteredInPlaceOfTheOldOne)
{
    WriteConfig(10, 0);
    StartPelidore();
    ASSERT_FALSE(IsFree(MOD_CONTROL | MOD_SHIFT, VK_F9)) << "Pelidore holds its default record hotkey";
    HWND frame = FindWindowW(L"Pelidore", L"Pelidore");
    ASSERT_TRUE(PostMessageW(frame, PWM_COMMAND, CMD_TOGGLE_OPTIONS, 0));
    HWND options = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            options = FindWindowW(COptionsWnd::kTitle, COptionsWnd::kTitle);
            return options && IsWindowVisible(options);
        },
        10000));
    RECT place = {};
    ASSERT_TRUE(GetWindowRect(options, &place));
    // The middle of the record field (118, 57, 200 x 22 in the window).
    ClickLeftAt(place.left + 218, place.top + 68);
    ASSERT_TRUE(WaitUntil([] { return IsFree(MOD_CONTROL | MOD_SHIFT, VK_F9); }, 10000))
        << "a listening field must get the keys of Pelidore's own hotkeys";

    PressCombination({VK_CONTROL, VK_MENU, VK_F7});
    ASSERT_TRUE(WaitUntil([] { return !IsFree(MOD_CONTROL | MOD_ALT, VK_F7); }, 10000))
        << "the new combination was not registered";
    EXPECT_TRUE(IsFree(MOD_CONTROL | MOD_SHIFT, VK_F9)) << "the old one is still held";
    COptionsFile written;
    ASSERT_TRUE(written.Read(fs::path(CSettingsFolder::Default()) / COptionsFile::kFileName));
    EXPECT_EQ(written.options.recordHotkey.Text(), "Ctrl+Alt+F7");

    PressCombination({VK_CONTROL, VK_MENU, VK_F7});
    ASSERT_TRUE(WaitForState(STATE_RECORDING, true, 10000)) << "the new hotkey did not start a recording";
    Sleep(700);
    PressCombination({VK_CONTROL, VK_MENU, VK_F7});
    ASSERT_TRUE(WaitForState(STATE_RECORDING, false, 10000));
    GifFile gif(OnlyGif());
    EXPECT_TRUE(gif.IsOpen()) << gif.Error();
}
