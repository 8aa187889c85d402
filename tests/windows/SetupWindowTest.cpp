#include "CConfigFile.h"
#include "CNCombo.h"
#include "CNSliderControl.h"
#include "CSetupWnd.h"
#include "DialogDriver.h"
#include "PelidoreCommands.h"
#include "ToolWindowFixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace pelidore {

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::int32_t Int32At(const Bytes& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes.at(offset + i)) << (8 * i);
    return static_cast<std::int32_t>(value);
}

class SetupWindowTest : public ToolWindowFixture {
protected:
    // Creates the window hidden, as the main window does, then shows it.
    void Open(CSetupWnd& window)
    {
        window.SetSettingsFolder(SettingsFolder());
        ASSERT_EQ(window.Create(GetModuleHandleW(nullptr), Owner(), L"Pelidore - Setup", WS_EX_LAYERED, WS_POPUP, 200,
                                200, CSetupWnd::kWidth, CSetupWnd::kHeight, 0),
                  S_OK);
        window.ShowAt(200, 200);
        Pump();
    }

    Bytes SavedConfig() const { return ReadFileBytes(SettingsFile(L"config.dat")); }

    static CNCombo& Combo(CSetupWnd& window)
    {
        return *static_cast<CNCombo*>(window.FindControl(CSetupWnd::kQualityCombo));
    }

    struct Settings {
        int fps = 0;
        int scale = 0;
        int speed = 0;
        bool dithering = false;
        bool transparent = false;
    };
    static Settings Read(const CSetupWnd& window)
    {
        Settings settings;
        window.GetSettings(settings.fps, settings.scale, settings.speed, settings.dithering, settings.transparent);
        return settings;
    }
};

TEST_F(SetupWindowTest, FirstRunShowsTheDefaultsAndWritesNothing)
{
    CSetupWnd window;
    Open(window);
    const Settings settings = Read(window);
    EXPECT_EQ(settings.fps, 10);
    EXPECT_EQ(settings.scale, 100);
    EXPECT_EQ(settings.speed, 100);
    EXPECT_TRUE(settings.dithering);
    EXPECT_FALSE(settings.transparent);
    EXPECT_FALSE(window.IsCursorCapture());
    EXPECT_EQ(window.GetQuality(), 0);
    wchar_t folder[260];
    window.GetWorkFolder(folder);
    EXPECT_EQ(fs::path(folder), fs::path(SettingsFolder()));
    EXPECT_FALSE(fs::exists(SettingsFolder())) << "reading must not create the settings folder";
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(SetupWindowTest, ClickingDitheringOnAFirstRunWritesZeroAtOffset12)
{
    CSetupWnd window;
    Open(window);
    Click(window.GetHwnd(), 170, 192);

    const Bytes saved = SavedConfig();
    ASSERT_EQ(saved.size(), CConfigFile::kSize) << "the first save makes the folder with its parents";
    EXPECT_EQ(saved[12], 0);
    EXPECT_EQ(saved[13], 0);
    EXPECT_EQ(saved[14], 0);
    EXPECT_EQ(Int32At(saved, 0), 9);
    EXPECT_EQ(Int32At(saved, 4), 70);
    EXPECT_EQ(Int32At(saved, 8), 50);
    EXPECT_EQ(Int32At(saved, 15), 0);
    CConfigFile loaded;
    loaded.Load(saved);
    EXPECT_EQ(fs::path(std::u16string(loaded.workFolder.View())), fs::path(SettingsFolder()));
    EXPECT_EQ(TakeCommands(), std::vector<WPARAM>{pelidore::CMD_QUALITY_CHANGED});

    const Settings settings = Read(window);
    EXPECT_FALSE(settings.dithering);
}

TEST_F(SetupWindowTest, MovingTheFrameRateSliderToItsRightEndShows30AndSaves29)
{
    CSetupWnd window;
    Open(window);
    const CNScreen& screen = *window.GetScreen();
    std::vector<uint32_t> readoutBefore;
    for (int y = 53; y < 69; ++y)
        for (int x = 306; x < 350; ++x)
            readoutBefore.push_back(screen.PixelAt(x, y));

    Press(window.GetHwnd(), 150, 60);
    Drag(window.GetHwnd(), 250, 60);
    Drag(window.GetHwnd(), 400, 60); // past the end: the slider stops at its maximum
    Release(window.GetHwnd(), 400, 60);

    EXPECT_EQ(Read(window).fps, 30);
    const Bytes saved = SavedConfig();
    ASSERT_EQ(saved.size(), CConfigFile::kSize);
    EXPECT_EQ(Int32At(saved, 0), 29);
    EXPECT_GE(TakeCommands().size(), 1u) << "every slider change is saved and announced";

    std::vector<uint32_t> readoutAfter;
    for (int y = 53; y < 69; ++y)
        for (int x = 306; x < 350; ++x)
            readoutAfter.push_back(screen.PixelAt(x, y));
    EXPECT_NE(readoutBefore, readoutAfter) << "the read-out must show the new rate";
}

TEST_F(SetupWindowTest, ChoosingHighQualityInTheListSavesIndex3WhenTheListCloses)
{
    CSetupWnd window;
    Open(window);
    CNCombo& combo = Combo(window);
    Click(window.GetHwnd(), 100, 160);
    ASSERT_TRUE(combo.IsOpen());
    EXPECT_FALSE(fs::exists(SettingsFile(L"config.dat"))) << "opening the list saves nothing";

    const POINT row = RowPoint(combo, 3);
    Click(window.GetHwnd(), row.x, row.y);
    EXPECT_FALSE(combo.IsOpen());
    EXPECT_EQ(window.GetQuality(), 3);
    const Bytes saved = SavedConfig();
    ASSERT_EQ(saved.size(), CConfigFile::kSize);
    EXPECT_EQ(Int32At(saved, 15), 3);
    EXPECT_EQ(TakeCommands(), std::vector<WPARAM>{pelidore::CMD_QUALITY_CHANGED});
}

TEST_F(SetupWindowTest, TheOptionsButtonInTheTopStripAsksForTheOptionsWindow)
{
    CSetupWnd window;
    Open(window);
    const CNRect button = window.FindControl(CSetupWnd::kOptionsButton)->GetRect();
    const CNRect close = window.FindControl(CSetupWnd::kCloseButton)->GetRect();
    EXPECT_LE(button.x + button.width, close.x) << "left of the close button";
    EXPECT_LE(button.y + button.height, CToolWnd::kCaptionHeight) << "in the top strip";
    Click(window.GetHwnd(), button.x + button.width / 2, button.y + button.height / 2);
    EXPECT_EQ(TakeCommands(), std::vector<WPARAM>{pelidore::CMD_TOGGLE_OPTIONS});
    EXPECT_TRUE(window.IsShown());
    EXPECT_FALSE(fs::exists(SettingsFile(L"config.dat"))) << "no setting changed";
}

TEST_F(SetupWindowTest, ClicksOnTheOpenListDoNotReachTheControlsUnderIt)
{
    CSetupWnd window;
    Open(window);
    CNCombo& combo = Combo(window);
    Click(window.GetHwnd(), 100, 160);
    ASSERT_TRUE(combo.IsOpen());
    // The wheel over the sliders belongs to the open list.
    Wheel(window.GetHwnd(), 150, 126, -WHEEL_DELTA);
    EXPECT_TRUE(combo.IsOpen());

    // Find a row that lies over the "Dithering" box (160..250, 184..200).
    int rowOverBox = -1;
    POINT point = {};
    for (int index = 0; index < combo.GetCount() && rowOverBox < 0; ++index) {
        for (int y = 186; y < 199; ++y) {
            if (combo.GetList().ItemAt(170, y) == index) {
                rowOverBox = index;
                point = {170, y};
                break;
            }
        }
    }
    ASSERT_GE(rowOverBox, 0) << "the list is expected to drop over the check boxes";
    Click(window.GetHwnd(), point.x, point.y);

    EXPECT_EQ(window.GetQuality(), rowOverBox);
    const Settings settings = Read(window);
    EXPECT_TRUE(settings.dithering) << "the box under the list must not toggle";
    EXPECT_EQ(settings.speed, 100);
    EXPECT_EQ(SavedConfig().at(12), 1);
}

TEST_F(SetupWindowTest, ReadsConfigWithClampedStepsAndTheFileFlagOrder)
{
    CConfigFile stored;
    stored.qualityIndex = 2;
    stored.workFolder.Assign(u"C:\\Clips");
    Bytes bytes = stored.Serialise();
    bytes[0] = 40;                                    // 40: past the frame-rate maximum
    bytes[4] = bytes[5] = bytes[6] = bytes[7] = 0xFF; // -1: below the size minimum
    bytes[12] = 1;
    bytes[13] = 0;
    bytes[14] = 0;
    WriteSettingsFile(L"config.dat", bytes);

    CSetupWnd window;
    Open(window);
    const Settings settings = Read(window);
    EXPECT_EQ(settings.fps, 30);
    EXPECT_EQ(settings.scale, 30);
    EXPECT_EQ(settings.speed, 100);
    EXPECT_TRUE(settings.dithering);
    EXPECT_FALSE(window.IsCursorCapture());
    EXPECT_FALSE(settings.transparent);
    EXPECT_EQ(window.GetQuality(), 2);
    EXPECT_STREQ(Combo(window).GetText(), L"Medium Quality");
    wchar_t folder[260];
    window.GetWorkFolder(folder);
    EXPECT_STREQ(folder, L"C:\\Clips");
    EXPECT_EQ(static_cast<CNSliderControl*>(window.FindControl(CSetupWnd::kFpsSlider))->GetValue(), 29);
}

TEST_F(SetupWindowTest, AShortConfigKeepsTheDefaultsOfWhatItDoesNotHold)
{
    WriteSettingsFile(L"config.dat", Bytes{4, 0, 0, 0, 20, 0}); // frame rate only, half a size field
    CSetupWnd window;
    Open(window);
    const Settings settings = Read(window);
    EXPECT_EQ(settings.fps, 5);
    EXPECT_EQ(settings.scale, 100);
    EXPECT_EQ(settings.speed, 100);
    EXPECT_TRUE(settings.dithering);
    EXPECT_EQ(window.GetQuality(), 0);
    wchar_t folder[260];
    window.GetWorkFolder(folder);
    EXPECT_EQ(fs::path(folder), fs::path(SettingsFolder()));
}

TEST_F(SetupWindowTest, AFolderThatIsNotAFullPathShowsTheSettingsFolderAndLeavesTheFileAsItIs)
{
    CConfigFile stored;
    stored.workFolder.Assign(u"C:Recordings");
    WriteSettingsFile(L"config.dat", stored.Serialise());
    CSetupWnd window;
    Open(window);
    wchar_t folder[260];
    window.GetWorkFolder(folder);
    EXPECT_EQ(fs::path(folder), fs::path(SettingsFolder()));
    EXPECT_EQ(SavedConfig(), stored.Serialise());
}

TEST_F(SetupWindowTest, AnUnwritableSettingsFolderStillAnnouncesTheChange)
{
    fs::create_directories(fs::path(SettingsFolder()).parent_path());
    std::ofstream(fs::path(SettingsFolder())) << "a file where the folder should be";
    CSetupWnd window;
    Open(window);
    Click(window.GetHwnd(), 40, 192); // "Cursor capture"
    EXPECT_TRUE(window.IsCursorCapture());
    EXPECT_EQ(TakeCommands(), std::vector<WPARAM>{pelidore::CMD_QUALITY_CHANGED});
    EXPECT_TRUE(fs::is_regular_file(SettingsFolder()));
}

TEST_F(SetupWindowTest, TheTopStripDragsTheWindowButTheCloseButtonStaysClickable)
{
    CSetupWnd window;
    Open(window);
    HWND hwnd = window.GetHwnd();
    auto hitTest = [hwnd](int x, int y) {
        POINT point = {x, y};
        ClientToScreen(hwnd, &point);
        return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    };
    EXPECT_EQ(hitTest(100, 10), HTCAPTION);
    EXPECT_EQ(hitTest(100, 32), HTCAPTION);
    EXPECT_NE(hitTest(100, 33), HTCAPTION);
    EXPECT_NE(hitTest(359, 18), HTCAPTION);

    Click(hwnd, 359, 18);
    EXPECT_FALSE(window.IsShown());
    EXPECT_FALSE(fs::exists(SettingsFile(L"config.dat"))) << "closing is not a change";

    window.ShowAt(200, 200);
    Pump();
    EXPECT_TRUE(window.IsShown());
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(window.IsShown());
    EXPECT_TRUE(IsWindow(hwnd)) << "a close message only hides the window";
}

TEST_F(SetupWindowTest, TheFolderButtonChoosesTheWorkFolderAndCancelChangesNothing)
{
    CSetupWnd window;
    Open(window);
    {
        DialogDriver driver(GetCurrentThreadId(), [](HWND dialog) { DialogDriver::PressButton(dialog, IDCANCEL); });
        Click(window.GetHwnd(), 330, 229);
        ASSERT_TRUE(driver.FoundDialog());
    }
    wchar_t folder[260];
    window.GetWorkFolder(folder);
    EXPECT_EQ(fs::path(folder), fs::path(SettingsFolder()));
    EXPECT_FALSE(fs::exists(SettingsFile(L"config.dat"))) << "a cancelled choice saves nothing";
    EXPECT_TRUE(TakeCommands().empty());

    {
        DialogDriver driver(GetCurrentThreadId(), [](HWND dialog) { DialogDriver::PressButton(dialog, IDOK); });
        Click(window.GetHwnd(), 330, 229);
        ASSERT_TRUE(driver.FoundDialog());
    }
    window.GetWorkFolder(folder);
    if (fs::path(folder) == fs::path(SettingsFolder()))
        GTEST_SKIP() << "the folder dialog offered no file-system folder to pick";
    EXPECT_TRUE(fs::is_directory(folder));
    CConfigFile saved;
    ASSERT_TRUE(saved.Load(SavedConfig()));
    EXPECT_EQ(fs::path(std::u16string(saved.workFolder.View())), fs::path(folder));
    EXPECT_EQ(TakeCommands(), std::vector<WPARAM>{pelidore::CMD_QUALITY_CHANGED});
}

} // namespace

} // namespace pelidore
