#include "CColorChooser.h"
#include "CFolderChooser.h"
#include "CPictureChooser.h"
#include "DialogDriver.h"
#include "NWindows.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>

namespace pelidore {

namespace fs = std::filesystem;

namespace {

constexpr int kFileNameBox = 0x47C; // cmb13, the file name box of explorer-style dialogs

// A plain visible window to own the dialogs, as the tool windows do.
class OwnerWindow {
public:
    OwnerWindow()
    {
        m_Window = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    }
    ~OwnerWindow()
    {
        if (m_Window != nullptr)
            DestroyWindow(m_Window);
    }
    HWND Get() const { return m_Window; }

private:
    HWND m_Window = nullptr;
};

std::wstring WindowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

TEST(ColorChooser, PlacesTheDialogAThirdOfItsSizeUpAndLeftOfTheAnchor)
{
    const RECT screen = {0, 0, 1600, 1000};
    const POINT origin = CColorChooser::PlaceDialog({600, 500}, {450, 330}, screen);
    EXPECT_EQ(origin.x, 600 - 150);
    EXPECT_EQ(origin.y, 500 - 110);

    const POINT nearCorner = CColorChooser::PlaceDialog({20, 30}, {450, 330}, screen);
    EXPECT_EQ(nearCorner.x, 0) << "the title bar must stay reachable";
    EXPECT_EQ(nearCorner.y, 0);
    const POINT nearEnd = CColorChooser::PlaceDialog({1590, 990}, {450, 330}, screen);
    EXPECT_EQ(nearEnd.x, 1600 - 450);
    EXPECT_EQ(nearEnd.y, 1000 - 330);
}

TEST(ColorChooser, OpensAtTheAnchorAndReturnsTheChoiceOnOk)
{
    OwnerWindow owner;
    ASSERT_NE(owner.Get(), nullptr);
    const POINT anchor = {700, 500};
    RECT placed = {};
    DialogDriver driver(GetCurrentThreadId(), [&](HWND dialog) {
        GetWindowRect(dialog, &placed);
        DialogDriver::PressButton(dialog, IDOK);
    });
    COLORREF rgb = RGB(1, 2, 3);
    const bool chosen = CColorChooser::Choose(owner.Get(), anchor, rgb);
    ASSERT_TRUE(driver.FoundDialog());
    EXPECT_TRUE(chosen);
    EXPECT_EQ(rgb, RGB(0, 0, 0)) << "no initial colour: the dialog starts at black";
    const LONG width = placed.right - placed.left;
    const LONG height = placed.bottom - placed.top;
    EXPECT_EQ(placed.left, anchor.x - width / 3);
    EXPECT_EQ(placed.top, anchor.y - height / 3);
}

TEST(ColorChooser, CancelKeepsTheColour)
{
    OwnerWindow owner;
    DialogDriver driver(GetCurrentThreadId(), [](HWND dialog) { DialogDriver::PressButton(dialog, IDCANCEL); });
    COLORREF rgb = RGB(9, 8, 7);
    EXPECT_FALSE(CColorChooser::Choose(owner.Get(), {500, 500}, rgb));
    ASSERT_TRUE(driver.FoundDialog());
    EXPECT_EQ(rgb, RGB(9, 8, 7));
}

class PictureChooserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder = fs::temp_directory_path() / ("pelidore-dialogs-" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(m_Folder);
        m_Picture = m_Folder / "logo.png";
        std::ofstream(m_Picture, std::ios::binary) << "not really a picture";
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_Folder, error);
    }
    fs::path m_Folder;
    fs::path m_Picture;
};

TEST_F(PictureChooserTest, OkReturnsTheTypedFileAndTheDialogIsTitledFileOpen)
{
    OwnerWindow owner;
    std::wstring title;
    const std::wstring typed = m_Picture.wstring();
    DialogDriver driver(GetCurrentThreadId(), [&](HWND dialog) {
        title = WindowText(dialog);
        SetDlgItemTextW(dialog, kFileNameBox, typed.c_str());
        DialogDriver::PressButton(dialog, IDOK);
    });
    wchar_t path[MAX_PATH] = L"C:\\old.png";
    EXPECT_TRUE(CPictureChooser::Choose(owner.Get(), path));
    ASSERT_TRUE(driver.FoundDialog());
    EXPECT_EQ(title, L"File Open");
    EXPECT_EQ(fs::path(path), m_Picture);
}

TEST_F(PictureChooserTest, CancelKeepsThePath)
{
    OwnerWindow owner;
    DialogDriver driver(GetCurrentThreadId(), [](HWND dialog) { DialogDriver::PressButton(dialog, IDCANCEL); });
    wchar_t path[MAX_PATH] = L"C:\\old.png";
    EXPECT_FALSE(CPictureChooser::Choose(owner.Get(), path));
    ASSERT_TRUE(driver.FoundDialog());
    EXPECT_STREQ(path, L"C:\\old.png");
}

TEST(PictureChooser, FilterListsPicturesFirstThenEachType)
{
    const wchar_t* entry = CPictureChooser::Filter();
    const wchar_t* expected[] = {L"Picture file(BMP, PNG, JPG)",
                                 L"*.bmp;*.png;*.jpg",
                                 L"BMP file",
                                 L"*.bmp",
                                 L"PNG file",
                                 L"*.png",
                                 L"JPG file",
                                 L"*.jpg"};
    for (const wchar_t* want : expected) {
        EXPECT_STREQ(entry, want);
        entry += wcslen(entry) + 1;
    }
    EXPECT_EQ(*entry, L'\0') << "the list ends with an empty string";
}

TEST(FolderChooser, CancelKeepsTheFolder)
{
    OwnerWindow owner;
    DialogDriver driver(GetCurrentThreadId(), [](HWND dialog) { DialogDriver::PressButton(dialog, IDCANCEL); });
    wchar_t folder[MAX_PATH] = L"C:\\keep";
    EXPECT_FALSE(CFolderChooser::Choose(owner.Get(), folder));
    ASSERT_TRUE(driver.FoundDialog());
    EXPECT_STREQ(folder, L"C:\\keep");
}

TEST(FolderChooser, OkReturnsAnExistingFolder)
{
    OwnerWindow owner;
    DialogDriver driver(GetCurrentThreadId(), [](HWND dialog) { DialogDriver::PressButton(dialog, IDOK); });
    wchar_t folder[MAX_PATH] = L"C:\\keep";
    const bool chosen = CFolderChooser::Choose(owner.Get(), folder);
    ASSERT_TRUE(driver.FoundDialog());
    if (chosen)
        EXPECT_TRUE(fs::is_directory(folder)) << "picked: " << fs::path(folder).string();
    else
        EXPECT_STREQ(folder, L"C:\\keep") << "a pick without a file-system path changes nothing";
}

} // namespace

} // namespace pelidore
