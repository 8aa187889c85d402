#include "GalleryPages.h"

#include "CNAlphaButton.h"
#include "CNButton.h"
#include "CNCombo.h"
#include "CNControlFrame.h"
#include "CNEdit.h"
#include "CNFont.h"
#include "CNIconList.h"
#include "CNListBox.h"
#include "CNProgressBar.h"
#include "CNScreen.h"
#include "CNScrollBar.h"
#include "CNSliderControl.h"
#include "CNStaticControl.h"
#include "CNStringButton.h"
#include "CNTheme.h"
#include "CNTopWindow.h"
#include "GalleryReviewShots.h"
#include "GallerySheet.h"
#include "GalleryWindowShots.h"
#include "ResourceIds.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace pelidore {

namespace {

const CNColor kWhite(255, 255, 255, 255);
const CNColor kReadout(255, 236, 237, 240);
const wchar_t* const kQualities[] = {L"High Speed", L"Low Quality", L"Medium Quality", L"High Quality"};
const wchar_t* const kSizes[] = {L"8", L"10", L"12", L"14", L"16", L"18", L"20", L"24", L"28", L"32"};
const wchar_t* const kStateNames[] = {L"normal", L"hover", L"pressed", L"disabled"};
const int kStates[] = {CNButton::kNormal, CNButton::kHover, CNButton::kPressed, -1};

// Controls of one drawing: created on the sheet, drawn, released together.
class Stage {
public:
    explicit Stage(GallerySheet& sheet) : m_Sheet(sheet) {}
    ~Stage()
    {
        for (auto& control : m_Controls)
            control->Release();
    }
    template <class Control>
    Control& Add(int x, int y, int width, int height)
    {
        auto control = std::make_unique<Control>();
        Control& made = *control;
        made.Create(nullptr, &m_Sheet.Screen(), static_cast<int>(m_Controls.size()), x, y, width, height, 1);
        m_Controls.push_back(std::move(control));
        return made;
    }
    CNAlphaButton& Alpha(int x, int y, int width, int height, UINT normal, UINT pressed, int kind = CNButton::kPush)
    {
        CNAlphaButton& button = Add<CNAlphaButton>(x, y, width, height);
        button.SetImages(normal, pressed, 0, 0, kind);
        return button;
    }
    CNAlphaButton& CheckBox(int x, int y, int width, const wchar_t* label, bool checked)
    {
        CNAlphaButton& box = Alpha(x, y, width, 16, IDB_CHECK_BOX, IDB_CHECK_BOX_CHECKED, CNButton::kCheck);
        box.SetText(label);
        box.SetChecked(checked);
        return box;
    }
    // The combo of the quality and font choices.
    CNCombo& WideCombo(int x, int y) { return Combo(x, y, 145, IDB_COMBO, IDB_COMBO_OPEN, IDB_COMBO_HOVER, 125, 130); }
    // The combo of the font sizes.
    CNCombo& SmallCombo(int x, int y)
    {
        return Combo(x, y, 70, IDB_SMALL_COMBO, IDB_SMALL_COMBO_OPEN, IDB_SMALL_COMBO_HOVER, 50, 55);
    }
    CNEdit& Edit(int x, int y, int width, int height, const wchar_t* text)
    {
        CNEdit& edit = Add<CNEdit>(x, y, width, height);
        edit.SetText(text);
        return edit;
    }
    // What every window of the program has: its caption on the sheet, its
    // background, and the close button at its top right.
    void Window(int x, int y, const wchar_t* caption, UINT background)
    {
        m_Sheet.Caption(x, y - 20, caption);
        Backdrop(background, x, y);
        Alpha(x + 346, y + 5, 26, 26, IDB_CLOSE, IDB_CLOSE_PRESSED);
    }
    // A picture drawn under the controls when the stage is drawn, so that
    // nothing the controls drew while being set up shows through.
    void Backdrop(UINT id, int x, int y) { m_Backdrops.push_back(BackdropPicture{id, x, y}); }
    // Draws the backdrops, then every control in the order added; open
    // combos draw their list last.
    void Draw()
    {
        for (const BackdropPicture& backdrop : m_Backdrops)
            m_Sheet.Picture(backdrop.id, backdrop.x, backdrop.y);
        for (auto& control : m_Controls)
            control->Draw(CNControlBase::kDrawFull);
        for (auto& control : m_Controls) {
            if (auto* combo = dynamic_cast<CNCombo*>(control.get()); combo && combo->IsOpen())
                combo->Draw(CNControlBase::kDrawUpdate);
        }
    }

private:
    CNCombo& Combo(int x, int y, int width, UINT normal, UINT open, UINT hover, int itemWidth, int dropX)
    {
        CNCombo& combo = Add<CNCombo>(x, y, width, 20);
        combo.SetImages(normal, open, hover);
        combo.SetDropButton(x + dropX, y + 4, 13, 10, IDB_DROP_ARROW, IDB_DROP_ARROW_PRESSED);
        combo.SetItemSize(itemWidth, 15);
        return combo;
    }

    struct BackdropPicture {
        UINT id;
        int x;
        int y;
    };

    GallerySheet& m_Sheet;
    std::vector<std::unique_ptr<CNControlBase>> m_Controls;
    std::vector<BackdropPicture> m_Backdrops;
};

LPARAM PointAt(int x, int y)
{
    return MAKELPARAM(x, y);
}

void Hover(CNControlBase& control, int x, int y)
{
    control.ProcessMessage(nullptr, WM_MOUSEMOVE, 0, PointAt(x, y));
}

void DrawText(GallerySheet& sheet, const CNFont& font, const CNColor& color, int left, int top, int right, int bottom,
              const wchar_t* text, int align = 1)
{
    RECT rect{left, top, right, bottom};
    sheet.Screen().DrawText(font, rect, color, text, 0, align, 1, true);
}

template <std::size_t Count>
void AddItems(CNCombo& combo, const wchar_t* const (&items)[Count])
{
    for (const wchar_t* item : items)
        combo.AddItem(item);
}

// The backdrop of the pages that show controls on their own.
void FillDark(GallerySheet& sheet, int width, int height)
{
    sheet.Fill(CNColor(255, 33, 34, 39), 0, 0, width, height);
}

int PictureHeight(UINT id)
{
    CNBitmap picture;
    picture.LoadResource(CNTopWindow::ModuleInstance(), id);
    return picture.Height();
}

// A picture with its resource id above it.
void CaptionedPicture(GallerySheet& sheet, UINT id, int x, int y)
{
    wchar_t caption[16];
    swprintf(caption, 16, L"%u", id);
    sheet.Caption(x, y, caption);
    sheet.Picture(id, x, y + 18);
}

std::vector<std::wstring> InstalledFamilies()
{
    std::vector<std::wstring> names;
    Gdiplus::InstalledFontCollection installed;
    int count = installed.GetFamilyCount();
    if (count <= 0)
        return names;
    std::vector<Gdiplus::FontFamily> families(static_cast<size_t>(count));
    int found = 0;
    if (installed.GetFamilies(count, families.data(), &found) != Gdiplus::Ok)
        return names;
    for (int i = 0; i < found; ++i) {
        wchar_t name[LF_FACESIZE] = {};
        if (families[static_cast<size_t>(i)].GetFamilyName(name) == Gdiplus::Ok)
            names.push_back(name);
    }
    return names;
}

} // namespace

GalleryPages::GalleryPages(std::wstring folder, const CNScale& scale) : m_Folder(std::move(folder)), m_Scale(scale) {}

int GalleryPages::WriteAll()
{
    HRESULT(GalleryPages::*const pages[])
    () = {&GalleryPages::WritePanel,   &GalleryPages::WriteSetup,        &GalleryPages::WriteLogo,
          &GalleryPages::WriteLocks,   &GalleryPages::WriteAboutAndSave, &GalleryPages::WriteFrame,
          &GalleryPages::WriteButtons, &GalleryPages::WriteInputs,       &GalleryPages::WriteLists,
          &GalleryPages::WritePictures};
    int failed = 0;
    for (auto page : pages)
        failed += FAILED((this->*page)()) ? 1 : 0;
    GalleryWindowShots shots(m_Folder);
    failed += FAILED(shots.WriteOptions()) ? 1 : 0;
    failed += FAILED(shots.WritePanelLabels()) ? 1 : 0;
    failed += GalleryReviewShots(m_Folder, m_Scale).WriteAll();
    return failed;
}

HRESULT GalleryPages::WritePanel()
{
    GallerySheet sheet(m_Scale);
    if (FAILED(sheet.Init(417, 400)))
        return E_FAIL;
    CNFont readout;
    readout.Create(18, 800, L"Franklin Gothic Medium");
    for (int copy = 0; copy < 2; ++copy) {
        int ox = 20;
        int oy = 30 + copy * 190;
        bool recording = copy == 1;
        Stage stage(sheet);
        stage.Window(ox, oy, recording ? L"Control panel, recording, both locks set" : L"Control panel, idle",
                     IDB_PANEL_BACKGROUND);
        stage.Alpha(ox + 315, oy + 5, 26, 26, IDB_MINIMIZE, IDB_MINIMIZE_PRESSED);
        stage.Alpha(ox + 284, oy + 5, 26, 26, IDB_ABOUT, IDB_ABOUT_PRESSED);
        CNButton& record = stage.Add<CNButton>(ox + 20, oy + 52, 86, 86);
        if (recording)
            record.SetImages(IDB_STOP, IDB_STOP_PRESSED, 2);
        else
            record.SetImages(IDB_RECORD, IDB_RECORD_PRESSED, IDB_RECORD_HOVER);
        stage.Alpha(ox + 151, oy + 39, 52, 52, IDB_FOLDER, IDB_FOLDER_PRESSED);
        stage.Alpha(ox + 204, oy + 39, 52, 52, IDB_SNAPSHOT, IDB_SNAPSHOT_PRESSED);
        stage.Alpha(ox + 257, oy + 39, 52, 52, IDB_LOGO, IDB_LOGO_PRESSED);
        CNAlphaButton& setup = stage.Alpha(ox + 310, oy + 39, 52, 52, IDB_SETUP, IDB_SETUP_PRESSED);
        UINT lock = recording ? IDB_LOCK_SET : IDB_LOCK_OPEN;
        UINT lockPressed = recording ? IDB_LOCK_SET_PRESSED : IDB_LOCK_OPEN_PRESSED;
        stage.Alpha(ox + 192, oy + 101, 28, 27, lock, lockPressed);
        stage.Alpha(ox + 309, oy + 101, 28, 27, lock, lockPressed);
        if (!recording)
            Hover(setup, ox + 330, oy + 60);
        stage.Draw();
        DrawText(sheet, readout, kReadout, ox + 125, oy + 100, ox + 190, oy + 125, recording ? L"00:37" : L"00:00");
        DrawText(sheet, readout, kReadout, ox + 235, oy + 100, ox + 310, oy + 125, recording ? L"3.4 mb" : L"0.0 mb");
    }
    return sheet.Save(m_Folder, L"window_panel.png");
}

HRESULT GalleryPages::WriteSetup()
{
    GallerySheet sheet(m_Scale);
    if (FAILED(sheet.Init(794, 312)))
        return E_FAIL;
    CNFont numbers;
    numbers.Create(14, 800, L"Franklin Gothic Medium");
    CNFont label;
    label.Create(14, 400, L"Arial");
    // Released controls give back what an open list covered: keep them until saved.
    std::vector<std::unique_ptr<Stage>> stages;
    for (int copy = 0; copy < 2; ++copy) {
        int ox = 20 + copy * 397;
        int oy = 30;
        Stage& stage = *stages.emplace_back(std::make_unique<Stage>(sheet));
        stage.Window(ox, oy, copy ? L"Setup, quality list open" : L"Setup, defaults", IDB_SETUP_BACKGROUND);
        stage.Backdrop(IDB_FOLDER_FIELD, ox + 100, oy + 220);
        stage.Alpha(ox + 315, oy + 5, 26, 26, IDB_OPTIONS, IDB_OPTIONS_PRESSED);
        const int maxima[] = {29, 70, 150};
        const int positions[] = {9, 70, 50};
        const int readouts[] = {10, 100, 100};
        for (int i = 0; i < 3; ++i) {
            CNSliderControl& slider = stage.Add<CNSliderControl>(ox + 70, oy + 48 + 33 * i, 220, 24);
            slider.SetImages(IDB_SLIDER_TRACK, IDB_SLIDER_THUMB);
            slider.SetMaximum(maxima[i]);
            slider.SetPosition(positions[i] - (copy ? 6 * (i + 1) : 0));
        }
        stage.CheckBox(ox + 30, oy + 184, 120, L"Cursor capture", copy == 1).SetFont(&label);
        stage.CheckBox(ox + 160, oy + 184, 90, L"Dithering", true).SetFont(&label);
        stage.CheckBox(ox + 260, oy + 184, 150, L"Transparent", false).SetFont(&label);
        CNEdit& folder = stage.Edit(ox + 100, oy + 220, 200, 20, L"C:\\users\\pelidore\\Documents\\Pelidore");
        folder.SetFont(&label);
        folder.Enable(false);
        stage.Alpha(ox + 307, oy + 218, 47, 23, IDB_BROWSE, IDB_BROWSE_PRESSED);
        CNCombo& quality = stage.WideCombo(ox + 70, oy + 150);
        quality.SetFont(&label);
        AddItems(quality, kQualities);
        quality.SetSelection(0);
        if (copy) {
            quality.Open();
            Hover(quality, ox + 100, oy + 150 + 21 + 2 * 15 + 7);
        }
        stage.Draw();
        for (int i = 0; i < 3; ++i) {
            wchar_t number[8];
            swprintf(number, 8, L"%d", readouts[i] - (copy ? 6 * (i + 1) : 0));
            int top = oy + 53 + 33 * i - (i == 2 ? 1 : 0);
            DrawText(sheet, numbers, kReadout, ox + 306, top, ox + 350, top + 16, number);
        }
    }
    return sheet.Save(m_Folder, L"window_setup.png");
}

HRESULT GalleryPages::WriteLogo()
{
    GallerySheet sheet(m_Scale);
    if (FAILED(sheet.Init(794, 298)))
        return E_FAIL;
    CNFont label;
    label.Create(14, 400, L"Arial");
    CNFont letter;
    letter.Create(16, 800, L"Arial");
    CNFont logoText;
    logoText.Create(14, 800, L"Arial");
    std::vector<std::wstring> families = InstalledFamilies();
    std::vector<std::unique_ptr<Stage>> stages;
    for (int copy = 0; copy < 2; ++copy) {
        int ox = 20 + copy * 397;
        int oy = 30;
        Stage& stage = *stages.emplace_back(std::make_unique<Stage>(sheet));
        stage.Window(ox, oy, copy ? L"Logo, font list open (installed families)" : L"Logo, text logo",
                     IDB_LOGO_BACKGROUND);
        stage.CheckBox(ox + 25, oy + 41, 150, L"Text logo", true).SetFont(&label);
        CNCombo& font = stage.WideCombo(ox + 67, oy + 67);
        font.SetFont(&label);
        for (const std::wstring& family : families)
            font.AddItem(family.c_str());
        if (families.empty())
            font.AddItem(L"Arial");
        int arial = font.FindItem(L"Arial");
        font.SetSelection(arial >= 0 ? arial : 0);
        CNCombo& size = stage.SmallCombo(ox + 287, oy + 67);
        size.SetFont(&label);
        AddItems(size, kSizes);
        size.SetSelection(5);
        // The fill and outline colour buttons show their colour on a letter.
        const auto colourButton = [&](int x, const CNColor& colour) {
            CNAlphaButton& button = stage.Alpha(ox + x, oy + 93, 47, 23, IDB_COLOR, IDB_COLOR_PRESSED);
            button.SetText(L"A");
            button.SetFont(&letter);
            button.SetTextColor(colour);
        };
        colourButton(257, kWhite);
        colourButton(311, CNColor(255, 0, 0, 0));
        stage.CheckBox(ox + 25, oy + 132, 150, L"Image logo", false).SetFont(&label);
        CNEdit& path = stage.Edit(ox + 67, oy + 158, 240, 20, L"");
        path.Enable(false);
        stage.Alpha(ox + 311, oy + 156, 47, 23, IDB_BROWSE, IDB_BROWSE_PRESSED).Enable(false);
        const UINT corners[][2] = {{IDB_CORNER_TOP_LEFT, IDB_CORNER_TOP_LEFT_SET},
                                   {IDB_CORNER_TOP_RIGHT, IDB_CORNER_TOP_RIGHT_SET},
                                   {IDB_CORNER_BOTTOM_RIGHT, IDB_CORNER_BOTTOM_RIGHT_SET},
                                   {IDB_CORNER_BOTTOM_LEFT, IDB_CORNER_BOTTOM_LEFT_SET}};
        for (int i = 0; i < 4; ++i)
            stage.Alpha(ox + 65 + 27 * i, oy + 197, 22, 22, corners[i][0], corners[i][1], CNButton::kRadio)
                .SetChecked(i == (copy ? 2 : 0));
        for (int x : {228, 311}) {
            CNEdit& margin = stage.Edit(ox + x, oy + 201, 46, 20, L"5");
            margin.SetFont(&label);
            margin.SetNumeric(0, 999);
        }
        if (copy)
            font.Open();
        stage.Draw();
        if (!copy)
            DrawText(sheet, logoText, kWhite, ox + 70, oy + 97, ox + 236, oy + 112, L"Recorded with Pelidore", 0);
    }
    return sheet.Save(m_Folder, L"window_logo.png");
}

HRESULT GalleryPages::WriteLocks()
{
    GallerySheet sheet(m_Scale);
    if (FAILED(sheet.Init(417, 180)))
        return E_FAIL;
    CNFont digits;
    digits.Create(16, 800, L"Franklin Gothic Medium");
    sheet.Caption(20, 10, L"Time lock (minutes field focused)");
    sheet.Caption(20, 100, L"Size lock (OK under the pointer)");
    Stage stage(sheet);
    stage.Backdrop(IDB_TIME_LOCK_BACKGROUND, 20, 30);
    stage.Backdrop(IDB_SIZE_LOCK_BACKGROUND, 20, 120);
    const int fields[][4] = {{52, 47, 0, 99}, {162, 47, 1, 60}, {57, 137, 0, 999}};
    const wchar_t* values[] = {L"0", L"5", L"1"};
    for (int i = 0; i < 3; ++i) {
        CNEdit& field = stage.Edit(fields[i][0], fields[i][1], 41, 20, values[i]);
        field.SetFont(&digits);
        field.SetTextAlign(1);
        field.SetNumeric(fields[i][2], fields[i][3]);
        if (i == 0)
            field.SetFocused(true);
    }
    stage.Alpha(252, 41, 61, 31, IDB_OK, IDB_OK_PRESSED);
    stage.Alpha(320, 41, 61, 31, IDB_CANCEL, IDB_CANCEL_PRESSED);
    CNAlphaButton& ok = stage.Alpha(162, 131, 61, 31, IDB_OK, IDB_OK_PRESSED);
    Hover(ok, 190, 145);
    stage.Alpha(230, 131, 61, 31, IDB_CANCEL, IDB_CANCEL_PRESSED);
    stage.Draw();
    return sheet.Save(m_Folder, L"window_locks.png");
}

HRESULT GalleryPages::WriteAboutAndSave()
{
    GallerySheet sheet(m_Scale);
    if (FAILED(sheet.Init(417, 370)))
        return E_FAIL;
    CNFont text;
    text.Create(17, 800, L"Arial");
    sheet.Caption(20, 10, L"About");
    sheet.Picture(IDB_ABOUT_BACKGROUND, 20, 30);
    const wchar_t* lines[] = {L"Pelidore 1.0", L"Screen region to animated GIF", L"pelidore@example.org"};
    for (int i = 0; i < 3; ++i)
        DrawText(sheet, text, kReadout, 20, 30 + 50 + 30 * i, 397, 30 + 74 + 30 * i, lines[i]);
    sheet.Caption(20, 220, L"Save progress, 40 of 82 frames");
    sheet.Picture(IDB_SAVE_BACKGROUND, 20, 240);
    sheet.Fill(CNColor(255, 160, 160, 160), 20 + 34, 240 + 76, 40 * 245 / 82, 25);
    DrawText(sheet, text, kReadout, 20 + 34, 240 + 76, 20 + 321, 240 + 101, L"40 / 82");
    DrawText(sheet, text, kReadout, 20, 240 + 35, 397, 240 + 70, L"Saving...");
    Stage stage(sheet);
    stage.Alpha(346, 35, 26, 26, IDB_CLOSE, IDB_CLOSE_PRESSED);
    stage.Alpha(20 + 285, 240 + 73, 61, 31, IDB_CANCEL, IDB_CANCEL_PRESSED);
    stage.Draw();
    return sheet.Save(m_Folder, L"window_about_save.png");
}

HRESULT GalleryPages::WriteFrame()
{
    GallerySheet sheet(m_Scale);
    const int width = 480;
    const int height = 300;
    if (FAILED(sheet.Init(width + 40, height + 50)))
        return E_FAIL;
    sheet.Caption(20, 10, L"Recording frame over a desktop, idle: corner and centre marks");
    // A busy desktop behind the frame, so the marks are judged on it.
    for (int x = 0; x < width; x += 40) {
        sheet.Fill(CNColor(255, 58, 96, 150), 20 + x, 30, 20, height);
        sheet.Fill(CNColor(255, 214, 212, 200), 20 + x + 20, 30, 20, height);
    }
    sheet.Fill(CNColor(255, 250, 250, 250), 20 + 60, 30 + 70, 220, 120);
    int left = 20;
    int top = 30;
    sheet.Screen().DrawDashRect(-3.0f, Gdiplus::DashStyleDash, 255, 255, 255, left + 8, top + 8, width - 17,
                                height - 17);
    sheet.Picture(IDB_MARK_TOP_LEFT, left + 4, top + 4);
    sheet.Picture(IDB_MARK_TOP_RIGHT, left + width - 26, top + 4);
    sheet.Picture(IDB_MARK_BOTTOM_LEFT, left + 4, top + height - 26);
    sheet.Picture(IDB_MARK_BOTTOM_RIGHT, left + width - 26, top + height - 26);
    sheet.Picture(IDB_MARK_CENTRE, left + (width - 17 - 48) / 2 + 8, top + (height - 17 - 48) / 2 + 8);
    return sheet.Save(m_Folder, L"frame.png");
}

void GalleryPages::PrepareButton(GallerySheet& sheet, CNButton& button, int x, int y, int width, int height, int state)
{
    button.Create(nullptr, &sheet.Screen(), 1, x, y, width, height, 1);
    if (state == kDisabled)
        button.Enable(false);
    else
        button.SetState(state);
}

void GalleryPages::DrawButtonRow(GallerySheet& sheet, int y, const wchar_t* title, UINT normal, UINT pressed,
                                 UINT hover, int width, int height, bool alpha)
{
    sheet.Caption(20, y + height / 2 - 8, title);
    for (int i = 0; i < 4; ++i) {
        int x = 190 + i * 110;
        std::unique_ptr<CNButton> button;
        if (alpha)
            button = std::make_unique<CNAlphaButton>();
        else
            button = std::make_unique<CNButton>();
        PrepareButton(sheet, *button, x, y, width, height, kStates[i]);
        button->SetImages(normal, pressed, hover);
        if (normal == IDB_COLOR) {
            button->SetText(L"A");
            button->SetFont(&sheet.Font());
        }
        button->Draw(CNControlBase::kDrawFull);
        button->Release();
    }
}

HRESULT GalleryPages::WriteButtons()
{
    struct Row {
        const wchar_t* title;
        UINT normal, pressed, hover;
        int width, height;
        bool alpha;
    };
    const Row rows[] = {
        {L"Close (alpha)", IDB_CLOSE, IDB_CLOSE_PRESSED, 0, 26, 26, true},
        {L"Minimise (alpha)", IDB_MINIMIZE, IDB_MINIMIZE_PRESSED, 0, 26, 26, true},
        {L"About (alpha)", IDB_ABOUT, IDB_ABOUT_PRESSED, 0, 26, 26, true},
        {L"Options (alpha)", IDB_OPTIONS, IDB_OPTIONS_PRESSED, 0, 26, 26, true},
        {L"Clear a hotkey (alpha)", IDB_CLEAR, IDB_CLEAR_PRESSED, 0, 24, 22, true},
        {L"Record", IDB_RECORD, IDB_RECORD_PRESSED, IDB_RECORD_HOVER, 86, 86, false},
        {L"Stop (hover id 2 missing)", IDB_STOP, IDB_STOP_PRESSED, 2, 86, 86, false},
        {L"Work folder (alpha)", IDB_FOLDER, IDB_FOLDER_PRESSED, 0, 52, 52, true},
        {L"Snapshot (alpha)", IDB_SNAPSHOT, IDB_SNAPSHOT_PRESSED, 0, 52, 52, true},
        {L"Logo (alpha)", IDB_LOGO, IDB_LOGO_PRESSED, 0, 52, 52, true},
        {L"Setup (alpha)", IDB_SETUP, IDB_SETUP_PRESSED, 0, 52, 52, true},
        {L"Set a lock (alpha)", IDB_LOCK_OPEN, IDB_LOCK_OPEN_PRESSED, 0, 28, 27, true},
        {L"Clear a lock (alpha)", IDB_LOCK_SET, IDB_LOCK_SET_PRESSED, 0, 28, 27, true},
        {L"OK (alpha)", IDB_OK, IDB_OK_PRESSED, 0, 61, 31, true},
        {L"Cancel (alpha)", IDB_CANCEL, IDB_CANCEL_PRESSED, 0, 61, 31, true},
        {L"Colour (alpha)", IDB_COLOR, IDB_COLOR_PRESSED, 0, 47, 23, true},
        {L"Browse (alpha)", IDB_BROWSE, IDB_BROWSE_PRESSED, 0, 47, 23, true},
        {L"Corner top-left", IDB_CORNER_TOP_LEFT, IDB_CORNER_TOP_LEFT_SET, 0, 22, 22, true},
        {L"Corner top-right", IDB_CORNER_TOP_RIGHT, IDB_CORNER_TOP_RIGHT_SET, 0, 22, 22, true},
        {L"Corner bottom-right", IDB_CORNER_BOTTOM_RIGHT, IDB_CORNER_BOTTOM_RIGHT_SET, 0, 22, 22, true},
        {L"Corner bottom-left", IDB_CORNER_BOTTOM_LEFT, IDB_CORNER_BOTTOM_LEFT_SET, 0, 22, 22, true},
        {L"Check box", IDB_CHECK_BOX, IDB_CHECK_BOX_CHECKED, 0, 16, 16, true},
        {L"Drop arrow", IDB_DROP_ARROW, IDB_DROP_ARROW_PRESSED, 0, 13, 10, false},
    };
    int height = 50;
    for (const Row& row : rows)
        height += row.height + 12;
    GallerySheet sheet(m_Scale);
    if (FAILED(sheet.Init(650, height + 70)))
        return E_FAIL;
    FillDark(sheet, 650, height + 70);
    for (int i = 0; i < 4; ++i)
        sheet.Caption(190 + i * 110, 12, kStateNames[i]);
    int y = 40;
    for (const Row& row : rows) {
        DrawButtonRow(sheet, y, row.title, row.normal, row.pressed, row.hover, row.width, row.height, row.alpha);
        y += row.height + 12;
    }
    sheet.Caption(20, y + 4, L"Text button");
    for (int i = 0; i < 4; ++i) {
        CNStringButton button;
        PrepareButton(sheet, button, 190 + i * 110, y, 80, 24, kStates[i]);
        button.SetText(L"Apply");
        button.Draw(CNControlBase::kDrawFull);
        button.Release();
    }
    return sheet.Save(m_Folder, L"controls_buttons.png");
}

HRESULT GalleryPages::WriteInputs()
{
    GallerySheet sheet(m_Scale);
    if (FAILED(sheet.Init(720, 420)))
        return E_FAIL;
    FillDark(sheet, 720, 420);
    Stage stage(sheet);
    const double sliderAt[] = {0, 9, 29};
    sheet.Caption(20, 12, L"Sliders: 0, 9 and 29 of 29; below, one without pictures");
    for (int i = 0; i < 3; ++i) {
        CNSliderControl& slider = stage.Add<CNSliderControl>(20 + i * 230, 34, 220, 24);
        slider.SetImages(IDB_SLIDER_TRACK, IDB_SLIDER_THUMB);
        slider.SetMaximum(29);
        slider.SetPosition(sliderAt[i]);
    }
    CNSliderControl& plain = stage.Add<CNSliderControl>(20, 70, 220, 24);
    plain.SetPosition(60);
    sheet.Caption(20, 110, L"Progress bars: 0 %, 40 %, 100 %");
    for (int i = 0; i < 3; ++i) {
        CNProgressBar& bar = stage.Add<CNProgressBar>(20 + i * 230, 132, 220, 12);
        bar.SetPosition(i == 0 ? 0 : (i == 1 ? 40 : 100));
    }
    sheet.Caption(20, 160, L"Text fields: empty, text, focused with caret, selected, disabled, numeric, scrolled");
    const wchar_t* texts[] = {L"",
                              L"C:\\users\\pelidore\\Videos",
                              L"typing here",
                              L"select me",
                              L"C:\\shown only",
                              L"42",
                              L"a long text that no longer fits its field and scrolls"};
    for (int i = 0; i < 7; ++i) {
        int x = 20 + (i % 3) * 230;
        int y = 184 + (i / 3) * 40;
        stage.Backdrop(IDB_FOLDER_FIELD, x, y);
        CNEdit& edit = stage.Edit(x, y, 200, 20, texts[i]);
        if (i == 2 || i == 6)
            edit.SetFocused(true);
        if (i == 3)
            edit.ProcessMessage(nullptr, WM_LBUTTONDBLCLK, MK_LBUTTON, PointAt(x + 20, y + 10));
        if (i == 4)
            edit.Enable(false);
        if (i == 5) {
            edit.SetNumeric(0, 99);
            edit.SetTextAlign(1);
        }
        if (i == 6)
            edit.ProcessMessage(nullptr, WM_KEYDOWN, VK_END, 0);
    }
    CNEdit& framed = stage.Edit(20 + 230 * 2, 184 + 80, 200, 20, L"own back and border colours");
    framed.SetBackColor(CNTheme::FieldBack());
    framed.SetBorderColor(CNTheme::Accent());
    sheet.Caption(20, 320, L"Static text in a set colour on a back colour");
    CNStaticControl& label = stage.Add<CNStaticControl>(20, 342, 300, 24);
    label.SetText(L"Frames are stored and encoded after the stop");
    label.SetTextColor(CNColor(255, 255, 196, 120));
    label.SetBackColor(CNColor(255, 48, 50, 56));
    stage.Draw();
    return sheet.Save(m_Folder, L"controls_inputs.png");
}

HRESULT GalleryPages::WriteLists()
{
    GallerySheet sheet(m_Scale);
    if (FAILED(sheet.Init(760, 420)))
        return E_FAIL;
    FillDark(sheet, 760, 420);
    // Held by the frame below; it must outlive the stage, which releases the frame.
    CNAlphaButton held;
    Stage stage(sheet);
    sheet.Caption(20, 12, L"Combo: closed, hover, open (highlight on the third entry)");
    CNCombo* combos[3];
    for (int i = 0; i < 3; ++i) {
        combos[i] = &stage.WideCombo(20 + i * 170, 34);
        AddItems(*combos[i], kQualities);
        combos[i]->SetSelection(i);
    }
    Hover(*combos[1], 200, 44);
    combos[2]->Open();
    Hover(*combos[2], 400, 34 + 21 + 2 * 15 + 7);
    sheet.Caption(530, 12, L"Long list, scrolled");
    CNCombo& fonts = stage.WideCombo(530, 34);
    for (int i = 0; i < 40; ++i)
        fonts.AddItem((L"Font family " + std::to_wstring(i + 1)).c_str());
    fonts.SetSelection(12);
    fonts.Open();
    sheet.Caption(20, 150, L"Size combo, open");
    CNCombo& sizes = stage.SmallCombo(20, 172);
    AddItems(sizes, kSizes);
    sizes.SetSelection(5);
    sizes.Open();
    sheet.Caption(200, 150, L"List box with selection, hot row, scroll bar");
    CNListBox& list = stage.Add<CNListBox>(200, 172, 160, 122);
    for (int i = 0; i < 20; ++i)
        list.AddItem((L"Entry " + std::to_wstring(i + 1)).c_str());
    list.SetSelection(1);
    list.SetHot(3);
    sheet.Caption(385, 130, L"Scroll bar");
    CNScrollBar& bar = stage.Add<CNScrollBar>(400, 172, 12, 122);
    bar.SetRange(50, 10);
    bar.SetPosition(20);
    sheet.Caption(450, 150, L"Icons: selected, hot");
    CNIconList& icons = stage.Add<CNIconList>(450, 172, 120, 30);
    icons.AddIcon(IDB_CORNER_TOP_LEFT);
    icons.AddIcon(IDB_CORNER_TOP_RIGHT);
    icons.AddIcon(IDB_CORNER_BOTTOM_RIGHT);
    icons.AddIcon(IDB_CORNER_BOTTOM_LEFT);
    icons.SetSelection(0);
    Hover(icons, 450 + 28 * 2 + 10, 185);
    CNControlFrame& frame = stage.Add<CNControlFrame>(450, 230, 280, 80);
    frame.SetText(L"Frame with controls");
    stage.Draw();
    // Controls held by a frame are the frame's to draw.
    held.Create(nullptr, &sheet.Screen(), 50, 470, 260, 120, 16, 1);
    held.SetImages(IDB_CHECK_BOX, IDB_CHECK_BOX_CHECKED, 0, 0, CNButton::kCheck);
    held.SetText(L"Inside the frame");
    held.SetChecked(true);
    frame.AddControl(&held);
    frame.Draw(CNControlBase::kDrawFull);
    return sheet.Save(m_Folder, L"controls_lists.png");
}

HRESULT GalleryPages::WritePictures()
{
    const int columns = 6;
    const int cell = 130;
    std::vector<UINT> ids;
    for (UINT id = IDB_PANEL_BACKGROUND; id <= IDB_OPTIONS_BACKGROUND; ++id) {
        if (FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"PNG"))
            ids.push_back(id);
    }
    // Large pictures get a row of their own.
    std::vector<UINT> small;
    std::vector<UINT> large;
    for (UINT id : ids) {
        CNBitmap picture;
        if (FAILED(picture.LoadResource(CNTopWindow::ModuleInstance(), id)))
            continue;
        (picture.Width() > cell - 10 ? large : small).push_back(id);
    }
    int rows = (static_cast<int>(small.size()) + columns - 1) / columns;
    int height = 20 + rows * 120 + static_cast<int>(large.size()) * 30;
    for (UINT id : large)
        height += PictureHeight(id);
    GallerySheet sheet(m_Scale);
    if (FAILED(sheet.Init(columns * cell + 20, height + 20)))
        return E_FAIL;
    sheet.Fill(CNColor(255, 46, 48, 54), 0, 0, columns * cell + 20, height + 20);
    int y = 20;
    for (size_t i = 0; i < small.size(); ++i) {
        int x = 10 + static_cast<int>(i % columns) * cell;
        int top = y + static_cast<int>(i / columns) * 120;
        CaptionedPicture(sheet, small[i], x, top);
    }
    y += rows * 120;
    for (UINT id : large) {
        CaptionedPicture(sheet, id, 10, y);
        y += PictureHeight(id) + 30;
    }
    return sheet.Save(m_Folder, L"pictures.png");
}

} // namespace pelidore
