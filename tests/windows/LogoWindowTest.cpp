#include "CLogoFile.h"
#include "CLogoWnd.h"
#include "CNAlphaButton.h"
#include "CNCombo.h"
#include "CNEdit.h"
#include "DialogDriver.h"
#include "ToolWindowFixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace pelidore {

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr POINT kTextBoxPoint = {30, 49};
constexpr POINT kImageBoxPoint = {30, 140};

class LogoWindowTest : public ToolWindowFixture {
protected:
    void Open(CLogoWnd& window)
    {
        window.SetSettingsFolder(SettingsFolder());
        ASSERT_EQ(window.Create(GetModuleHandleW(nullptr), Owner(), L"Pelidore - Logo", WS_EX_LAYERED, WS_POPUP, 300,
                                300, CLogoWnd::kWidth, CLogoWnd::kHeight, 0),
                  S_OK);
        window.ShowAt(300, 300);
        Pump();
    }

    void WriteLogo(const CLogoFile& logo) { WriteSettingsFile(L"logo.dat", logo.Serialise()); }

    CLogoFile SavedLogo() const
    {
        const Bytes bytes = ReadFileBytes(SettingsFile(L"logo.dat"));
        EXPECT_EQ(bytes.size(), CLogoFile::kSize);
        CLogoFile logo;
        logo.Load(bytes);
        return logo;
    }

    void ClickAt(CLogoWnd& window, POINT point) { Click(window.GetHwnd(), point.x, point.y); }

    static CNControlBase& Control(CLogoWnd& window, int id) { return *window.FindControl(id); }
    static CNCombo& Combo(CLogoWnd& window, int id) { return static_cast<CNCombo&>(Control(window, id)); }
    static CNAlphaButton& Button(CLogoWnd& window, int id) { return static_cast<CNAlphaButton&>(Control(window, id)); }
    static CNEdit& Edit(CLogoWnd& window, int id) { return static_cast<CNEdit&>(Control(window, id)); }

    static std::wstring EditText(const CLogoWnd& window)
    {
        wchar_t text[300] = {};
        GetWindowTextW(window.GetTextEdit(), text, 300);
        return text;
    }

    // The ids of the controls that take input, besides the two kind boxes
    // and the close button.
    static std::vector<int> EnabledOthers(CLogoWnd& window)
    {
        std::vector<int> enabled;
        for (int id = CLogoWnd::kFontCombo; id <= CLogoWnd::kMarginYEdit; ++id) {
            if (Control(window, id).IsEnabled())
                enabled.push_back(id);
        }
        return enabled;
    }

    // A logo.dat choosing an image logo with a picture file that exists.
    fs::path WriteImageLogo(const wchar_t* name)
    {
        const fs::path picture = MakeFile(name);
        CLogoFile stored;
        stored.logoKind = 2;
        stored.imagePath.Assign(picture.u16string());
        WriteLogo(stored);
        return picture;
    }

    std::filesystem::path MakeFile(const wchar_t* name)
    {
        const fs::path file = Scratch() / name;
        std::ofstream(file, std::ios::binary) << "picture";
        return file;
    }
};

TEST_F(LogoWindowTest, FirstRunHasNoLogoAndOnlyTheKindBoxesTakeInput)
{
    CLogoWnd window;
    Open(window);
    EXPECT_EQ(window.GetLogoKind(), 0);
    EXPECT_EQ(window.GetCorner(), 0);
    EXPECT_EQ(window.GetMarginX(), 5);
    EXPECT_EQ(window.GetMarginY(), 5);
    EXPECT_TRUE(EnabledOthers(window).empty());
    EXPECT_TRUE(Control(window, CLogoWnd::kTextBox).IsEnabled());
    EXPECT_TRUE(Control(window, CLogoWnd::kImageBox).IsEnabled());
    EXPECT_TRUE(Control(window, CLogoWnd::kCloseButton).IsEnabled());
    EXPECT_FALSE(IsWindowVisible(window.GetTextEdit()));
    EXPECT_TRUE(Button(window, CLogoWnd::kTopLeftButton).IsChecked());
    EXPECT_EQ(Combo(window, CLogoWnd::kSizeCombo).GetSelection(), 5) << "size 18";
    EXPECT_FALSE(fs::exists(SettingsFolder()));
}

TEST_F(LogoWindowTest, CheckingTextLogoEnablesItsControlsAndUncheckingDisablesThemAgain)
{
    CLogoWnd window;
    Open(window);
    ClickAt(window, kTextBoxPoint);
    EXPECT_EQ(window.GetLogoKind(), 1);
    const std::vector<int> textControls = {
        CLogoWnd::kFontCombo,     CLogoWnd::kSizeCombo,      CLogoWnd::kFillButton,        CLogoWnd::kOutlineButton,
        CLogoWnd::kTopLeftButton, CLogoWnd::kTopRightButton, CLogoWnd::kBottomRightButton, CLogoWnd::kBottomLeftButton,
        CLogoWnd::kMarginXEdit,   CLogoWnd::kMarginYEdit};
    EXPECT_EQ(EnabledOthers(window), textControls);
    EXPECT_TRUE(IsWindowVisible(window.GetTextEdit()));

    ClickAt(window, kTextBoxPoint);
    EXPECT_EQ(window.GetLogoKind(), 0);
    EXPECT_TRUE(EnabledOthers(window).empty());
    EXPECT_FALSE(IsWindowVisible(window.GetTextEdit()));
    EXPECT_FALSE(fs::exists(SettingsFile(L"logo.dat"))) << "logo.dat is written on hiding";

    window.Hide();
    EXPECT_EQ(SavedLogo().logoKind, 0);
}

TEST_F(LogoWindowTest, ImageLogoEnablesTheBrowseButtonAndPlacementOnly)
{
    CLogoWnd window;
    Open(window);
    ClickAt(window, kTextBoxPoint);
    ClickAt(window, kImageBoxPoint);
    EXPECT_EQ(window.GetLogoKind(), 2);
    EXPECT_FALSE(Button(window, CLogoWnd::kTextBox).IsChecked()) << "the kinds exclude each other";
    const std::vector<int> imageControls = {
        CLogoWnd::kBrowseButton,     CLogoWnd::kTopLeftButton, CLogoWnd::kTopRightButton, CLogoWnd::kBottomRightButton,
        CLogoWnd::kBottomLeftButton, CLogoWnd::kMarginXEdit,   CLogoWnd::kMarginYEdit};
    EXPECT_EQ(EnabledOthers(window), imageControls);
    EXPECT_FALSE(IsWindowVisible(window.GetTextEdit()));
}

TEST_F(LogoWindowTest, ATextLogoIsWrittenOnHidingAndComesBackInTheControls)
{
    {
        CLogoWnd window;
        Open(window);
        ClickAt(window, kTextBoxPoint);
        SetWindowTextW(window.GetTextEdit(), L"Studio \u00a9 2026");
        CNCombo& sizes = Combo(window, CLogoWnd::kSizeCombo);
        Click(window.GetHwnd(), 300, 77);
        ASSERT_TRUE(sizes.IsOpen());
        const CNRect list = sizes.GetListRect();
        bool picked = false;
        for (int y = list.y; y < list.y + list.height && !picked; ++y) {
            if (sizes.GetList().ItemAt(list.x + 10, y) == 7) { // "24"
                Click(window.GetHwnd(), list.x + 10, y + 3);
                picked = true;
            }
        }
        ASSERT_TRUE(picked);
        EXPECT_STREQ(sizes.GetText(), L"24");
        ClickAt(window, {130, 207}); // corner 2, bottom-right
        Edit(window, CLogoWnd::kMarginXEdit).SetValue(12);
        window.Hide();
        EXPECT_FALSE(IsWindowVisible(window.GetTextEdit()));
    }
    const CLogoFile saved = SavedLogo();
    EXPECT_EQ(saved.logoKind, 1);
    EXPECT_EQ(saved.logoText.View(), u"Studio \u00a9 2026");
    EXPECT_EQ(saved.fontSize, 24);
    EXPECT_EQ(saved.corner, 2);
    EXPECT_EQ(saved.marginX, 12);
    EXPECT_EQ(saved.marginY, 5);

    CLogoWnd again;
    Open(again);
    EXPECT_EQ(again.GetLogoKind(), 1);
    EXPECT_EQ(EditText(again), L"Studio \u00a9 2026");
    EXPECT_EQ(Combo(again, CLogoWnd::kSizeCombo).GetSelection(), 7);
    EXPECT_TRUE(Button(again, CLogoWnd::kBottomRightButton).IsChecked());
    EXPECT_EQ(Edit(again, CLogoWnd::kMarginXEdit).GetValue(), 12);
    wchar_t text[260], face[260];
    CNColor fill, outline;
    EXPECT_EQ(again.GetTextLogo(text, face, fill, outline), 24);
    EXPECT_STREQ(text, L"Studio \u00a9 2026");
}

TEST_F(LogoWindowTest, StoredValuesTheListsDoNotHoldSelectTheirFirstEntries)
{
    CLogoFile stored;
    stored.logoKind = 1;
    stored.logoText.Assign(u"x");
    stored.fontFace.Assign(u"No Such Family 123");
    stored.fillColor = 0x80112233; // half transparent
    stored.outlineColor = 0xFF445566;
    Bytes bytes = stored.Serialise();
    bytes[CLogoFile::kFontSizeOffset] = 15;
    WriteSettingsFile(L"logo.dat", bytes);

    CLogoWnd window;
    Open(window);
    CNCombo& sizes = Combo(window, CLogoWnd::kSizeCombo);
    EXPECT_EQ(sizes.GetSelection(), 0);
    EXPECT_STREQ(sizes.GetText(), L"8");
    CNCombo& fonts = Combo(window, CLogoWnd::kFontCombo);
    ASSERT_GT(fonts.GetCount(), 0) << "the installed font families fill the list";
    EXPECT_EQ(fonts.GetSelection(), 0);

    wchar_t text[260], face[260];
    CNColor fill, outline;
    EXPECT_EQ(window.GetTextLogo(text, face, fill, outline), 8);
    EXPECT_STREQ(face, fonts.GetItemText(0)) << "the face answered is the one shown";
    EXPECT_EQ(fill.Argb(), 0x80112233u);
    EXPECT_EQ(fill.Alpha(), 128);
    EXPECT_EQ(fill.Red(), 0x11);
    EXPECT_EQ(outline.Argb(), 0xFF445566u);

    window.Hide();
    const CLogoFile saved = SavedLogo();
    EXPECT_EQ(saved.fillColor, 0x80112233u) << "alpha 128 survives the window";
    EXPECT_EQ(saved.outlineColor, 0xFF445566u);
    EXPECT_EQ(saved.fontSize, 8);
}

TEST_F(LogoWindowTest, TheFontListSelectsArialWhenItIsInstalled)
{
    CLogoWnd window;
    Open(window);
    const CNCombo& fonts = Combo(window, CLogoWnd::kFontCombo);
    const int arial = fonts.FindItem(L"Arial");
    EXPECT_EQ(fonts.GetSelection(), arial >= 0 ? arial : 0);
}

TEST_F(LogoWindowTest, CornerButtonsActAsOneRadioGroup)
{
    CLogoWnd window;
    Open(window);
    ClickAt(window, kImageBoxPoint);
    ClickAt(window, {100, 207}); // top-right
    for (int id = CLogoWnd::kTopLeftButton; id <= CLogoWnd::kBottomLeftButton; ++id)
        EXPECT_EQ(Button(window, id).IsChecked(), id == CLogoWnd::kTopRightButton) << "corner button " << id;
    ClickAt(window, {100, 207}); // again: stays set
    EXPECT_TRUE(Button(window, CLogoWnd::kTopRightButton).IsChecked());
    window.Hide();
    EXPECT_EQ(window.GetCorner(), 1);
    EXPECT_EQ(SavedLogo().corner, 1);
}

TEST_F(LogoWindowTest, SwitchingFromTextToImageAndBackRestoresTheText)
{
    const fs::path picture = WriteImageLogo(L"logo.png");

    CLogoWnd window;
    Open(window);
    EXPECT_EQ(fs::path(Edit(window, CLogoWnd::kPathEdit).GetString()), picture);
    ClickAt(window, kTextBoxPoint);
    EXPECT_EQ(window.GetLogoKind(), 1);
    EXPECT_TRUE(Edit(window, CLogoWnd::kPathEdit).GetString().empty());
    SetWindowTextW(window.GetTextEdit(), L"kept");

    ClickAt(window, kImageBoxPoint);
    EXPECT_EQ(window.GetLogoKind(), 2);
    EXPECT_TRUE(EditText(window).empty());
    EXPECT_EQ(fs::path(Edit(window, CLogoWnd::kPathEdit).GetString()), picture);

    ClickAt(window, kTextBoxPoint);
    EXPECT_EQ(EditText(window), L"kept");
    window.Hide();
    const CLogoFile saved = SavedLogo();
    EXPECT_EQ(saved.logoText.View(), u"kept");
    EXPECT_EQ(fs::path(std::u16string(saved.imagePath.View())), picture) << "the image path is kept too";
}

TEST_F(LogoWindowTest, TheImageLogoQueryAnswersOnlyForAnExistingFile)
{
    const fs::path picture = WriteImageLogo(L"mark.png");
    CLogoWnd window;
    Open(window);

    wchar_t path[260] = L"untouched";
    EXPECT_TRUE(window.GetImageLogo(path));
    EXPECT_EQ(fs::path(path), picture);

    fs::remove(picture);
    wcscpy(path, L"untouched");
    EXPECT_FALSE(window.GetImageLogo(path));
    EXPECT_STREQ(path, L"untouched");

    fs::create_directory(picture);
    EXPECT_FALSE(window.GetImageLogo(path)) << "a directory is not a picture";
    EXPECT_STREQ(path, L"untouched");
}

TEST_F(LogoWindowTest, TheTextEditFollowsTheWindowAndTakesItsColours)
{
    CLogoWnd window;
    Open(window);
    ClickAt(window, kTextBoxPoint);
    RECT edit;
    ASSERT_TRUE(GetWindowRect(window.GetTextEdit(), &edit));
    EXPECT_EQ(edit.left, 300 + 68);
    EXPECT_EQ(edit.top, 300 + 97);
    EXPECT_EQ(edit.right - edit.left, 168);
    EXPECT_EQ(edit.bottom - edit.top, 15);

    RECT moving = {500, 200, 500 + 377, 200 + 238};
    SendMessageW(window.GetHwnd(), WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&moving));
    ASSERT_TRUE(GetWindowRect(window.GetTextEdit(), &edit));
    EXPECT_EQ(edit.left, 568);
    EXPECT_EQ(edit.top, 297);

    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT brush = SendMessageW(window.GetHwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(window.GetTextEdit()));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkColor(dc), RGB(49, 49, 49));
    EXPECT_NE(SendMessageW(window.GetHwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(Owner())),
              brush)
        << "other edits keep the system colours";
    DeleteDC(dc);
}

TEST_F(LogoWindowTest, TheOpenFontListHidesTheTextEdit)
{
    CLogoWnd window;
    Open(window);
    ClickAt(window, kTextBoxPoint);
    ASSERT_TRUE(IsWindowVisible(window.GetTextEdit()));
    Click(window.GetHwnd(), 100, 77);
    ASSERT_TRUE(Combo(window, CLogoWnd::kFontCombo).IsOpen());
    EXPECT_FALSE(IsWindowVisible(window.GetTextEdit()));
    Click(window.GetHwnd(), 360, 20); // outside the list closes it
    EXPECT_FALSE(Combo(window, CLogoWnd::kFontCombo).IsOpen());
    EXPECT_TRUE(IsWindowVisible(window.GetTextEdit()));
}

TEST_F(LogoWindowTest, AChosenColourIsOpaqueAndReachesTheFile)
{
    CLogoWnd window;
    Open(window);
    ClickAt(window, kTextBoxPoint);
    DialogDriver driver(GetCurrentThreadId(), [](HWND dialog) { DialogDriver::PressButton(dialog, IDOK); });
    Click(window.GetHwnd(), 280, 104); // fill colour
    ASSERT_TRUE(driver.FoundDialog());
    window.Hide();
    EXPECT_EQ(SavedLogo().fillColor, 0xFF000000u) << "the dialog starts at black; OK takes it, opaque";
}

TEST_F(LogoWindowTest, QuittingWhileTheWindowIsOpenKeepsItsValues)
{
    {
        CLogoWnd window;
        Open(window);
        ClickAt(window, kTextBoxPoint);
        SetWindowTextW(window.GetTextEdit(), L"not lost");
    }
    const CLogoFile saved = SavedLogo();
    EXPECT_EQ(saved.logoKind, 1);
    EXPECT_EQ(saved.logoText.View(), u"not lost");
}

TEST_F(LogoWindowTest, ACorruptLogoFileLoadsAsSafeValues)
{
    Bytes bytes(CLogoFile::kSize, 0xFF); // kind -1, corner -1, margins -1, strings without terminator
    WriteSettingsFile(L"logo.dat", bytes);
    CLogoWnd window;
    Open(window);
    EXPECT_EQ(window.GetLogoKind(), 0);
    EXPECT_EQ(window.GetCorner(), 0);
    EXPECT_EQ(window.GetMarginX(), 0);
    wchar_t text[260], face[260];
    CNColor fill, outline;
    window.GetTextLogo(text, face, fill, outline);
    EXPECT_LT(wcslen(text), 260u);
    EXPECT_TRUE(Button(window, CLogoWnd::kTopLeftButton).IsChecked());
}

TEST_F(LogoWindowTest, TheBrowseButtonPutsTheChosenPictureInThePathField)
{
    const fs::path picture = MakeFile(L"chosen.png");
    CLogoWnd window;
    Open(window);
    ClickAt(window, kImageBoxPoint);
    const std::wstring typed = picture.wstring();
    std::wstring title;
    DialogDriver driver(GetCurrentThreadId(), [&](HWND dialog) {
        wchar_t text[64] = {};
        GetWindowTextW(dialog, text, 64);
        title = text;
        SetDlgItemTextW(dialog, 0x47C, typed.c_str()); // the file name box
        DialogDriver::PressButton(dialog, IDOK);
    });
    Click(window.GetHwnd(), 334, 167);
    ASSERT_TRUE(driver.FoundDialog());
    EXPECT_EQ(title, L"File Open");
    EXPECT_EQ(fs::path(Edit(window, CLogoWnd::kPathEdit).GetString()), picture);
    wchar_t path[260] = L"";
    EXPECT_FALSE(window.GetImageLogo(path)) << "the values are taken from the controls when the window hides";
    window.Hide();
    EXPECT_TRUE(window.GetImageLogo(path));
    EXPECT_EQ(fs::path(path), picture);
    EXPECT_EQ(fs::path(std::u16string(SavedLogo().imagePath.View())), picture);
}

} // namespace

} // namespace pelidore
