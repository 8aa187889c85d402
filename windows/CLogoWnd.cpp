#include "CLogoWnd.h"

#include "CColorChooser.h"
#include "CLogoEnableRule.h"
#include "CNCreationResult.h"
#include "CNLog.h"
#include "CNTheme.h"
#include "CPictureChooser.h"
#include "CSettingsFile.h"
#include "CSettingsFolder.h"
#include "NControlMessages.h"
#include "ResourceIds.h"
#include "ScreenRect.h"

#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

namespace pelidore {

namespace {

constexpr COLORREF kTextEditInk = RGB(255, 255, 255);
constexpr int kTextEditFontHeight = 14;
constexpr COLORREF kTextEditPaper = RGB(49, 49, 49);

struct CornerLayout {
    int x;
    UINT normalId;
    UINT setId;
};

// In corner order: top-left, top-right, bottom-right, bottom-left.
constexpr CornerLayout kCorners[4] = {{65, IDB_CORNER_TOP_LEFT, IDB_CORNER_TOP_LEFT_SET},
                                      {92, IDB_CORNER_TOP_RIGHT, IDB_CORNER_TOP_RIGHT_SET},
                                      {119, IDB_CORNER_BOTTOM_RIGHT, IDB_CORNER_BOTTOM_RIGHT_SET},
                                      {146, IDB_CORNER_BOTTOM_LEFT, IDB_CORNER_BOTTOM_LEFT_SET}};

CNColor ColorFromRgb(COLORREF rgb)
{
    return CNColor(255, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

} // namespace

CLogoWnd::CLogoWnd() : CToolWnd(kHeight, IDB_LOGO_BACKGROUND), m_SettingsFolder(CSettingsFolder::Default()) {}

CLogoWnd::~CLogoWnd()
{
    // Quitting with the window open must not lose what was set in it.
    if (IsShown()) {
        CollectValues();
        WriteLogo();
    }
    if (m_TextEdit != nullptr)
        DestroyWindow(m_TextEdit);
    if (m_TextEditBrush != nullptr)
        DeleteObject(m_TextEditBrush);
    Destroy();
    ReleaseChildren();
}

int CLogoWnd::GetTextLogo(wchar_t (&text)[260], wchar_t (&face)[260], CNColor& fill, CNColor& outline) const
{
    m_Logo.logoText.CopyTo(text, 260);
    m_Logo.fontFace.CopyTo(face, 260);
    fill = CNColor::FromArgb(m_Logo.fillColor);
    outline = CNColor::FromArgb(m_Logo.outlineColor);
    return m_Logo.fontSize;
}

bool CLogoWnd::GetImageLogo(wchar_t (&path)[260]) const
{
    wchar_t candidate[260];
    m_Logo.imagePath.CopyTo(candidate, 260);
    if (candidate[0] == 0)
        return false;
    const DWORD attributes = GetFileAttributesW(candidate);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    wcscpy(path, candidate);
    return true;
}

void CLogoWnd::SetSettingsFolder(const std::wstring& folder)
{
    m_SettingsFolder = folder;
}

void CLogoWnd::ShowAt(int x, int y)
{
    CToolWnd::ShowAt(x, y);
    RECT bounds;
    if (GetWindowRect(m_Window, &bounds))
        PlaceTextEdit(bounds.left, bounds.top);
    ApplyEnableRule();
}

void CLogoWnd::Hide()
{
    CollectValues();
    WriteLogo();
    ShowTextEdit(false);
    CToolWnd::Hide();
}

HRESULT CLogoWnd::OnCreate()
{
    CNCreationResult result;
    result.Add(CreateFrame(m_CloseButton));
    result.Add(CreateControls());
    result.Add(CreateTextEdit());
    FillFontList();
    LoadLogo();
    ApplyEnableRule();
    result.Add(AddHandlers());
    return result.Get();
}

HRESULT CLogoWnd::CreateControls()
{
    CNCreationResult result;
    result.Add(CreateKindBoxes());
    result.Add(CreateColorButtons());
    result.Add(CreatePictureControls());
    result.Add(CreateCornerButtons());
    result.Add(CreateMarginEdits());
    // Last, so that their open lists are drawn over the controls below them.
    result.Add(CreateCombos());
    return result.Get();
}

HRESULT CLogoWnd::CreateKindBoxes()
{
    CNCreationResult result;
    result.Add(AddCheckBox(m_TextBox, kTextBox, 25, 41, 150, L"Text logo"));
    result.Add(AddCheckBox(m_ImageBox, kImageBox, 25, 132, 150, L"Image logo"));
    return result.Get();
}

HRESULT CLogoWnd::CreateCombos()
{
    CNCreationResult result;
    const UINT smallImages[3] = {IDB_SMALL_COMBO, IDB_SMALL_COMBO_OPEN, IDB_SMALL_COMBO_HOVER};
    result.Add(AddCombo(m_SizeCombo, kSizeCombo, 287, 67, 70, smallImages, 55, 50));
    for (int size : CLogoFile::kFontSizes)
        m_SizeCombo.AddItem(std::to_wstring(size).c_str());
    m_SizeCombo.SetSelection(static_cast<int>(CLogoFile::FontSizeIndex(m_Logo.fontSize)));

    const UINT images[3] = {IDB_COMBO, IDB_COMBO_OPEN, IDB_COMBO_HOVER};
    result.Add(AddCombo(m_FontCombo, kFontCombo, 67, 67, 145, images, 130, 125));
    return result.Get();
}

HRESULT CLogoWnd::CreateColorButtons()
{
    CNCreationResult result;
    const struct {
        CNAlphaButton* button;
        int id;
        int x;
        uint32_t argb;
    } buttons[] = {{&m_FillButton, kFillButton, 257, m_Logo.fillColor},
                   {&m_OutlineButton, kOutlineButton, 311, m_Logo.outlineColor}};
    for (const auto& entry : buttons) {
        result.Add(AddButton(*entry.button, entry.id, {entry.x, 93, entry.x + 47, 93 + 23}, IDB_COLOR,
                             IDB_COLOR_PRESSED, CNButton::kPush));
        entry.button->SetText(L"A");
        entry.button->SetTextColor(CNColor::FromArgb(entry.argb));
    }
    return result.Get();
}

HRESULT CLogoWnd::CreatePictureControls()
{
    CNCreationResult result;
    result.Add(m_PathEdit.Create(m_Window, &m_Screen, kPathEdit, 67, 158, 240, 20, 1));
    m_PathEdit.Enable(false);
    result.Add(AddChild(&m_PathEdit));
    result.Add(AddButton(m_BrowseButton, kBrowseButton, {311, 156, 311 + 47, 156 + 23}, IDB_BROWSE, IDB_BROWSE_PRESSED,
                         CNButton::kPush));
    return result.Get();
}

HRESULT CLogoWnd::CreateCornerButtons()
{
    CNCreationResult result;
    for (int corner = 0; corner < 4; ++corner) {
        const CornerLayout& layout = kCorners[corner];
        result.Add(AddButton(m_CornerButtons[corner], kTopLeftButton + corner, {layout.x, 197, layout.x + 22, 197 + 22},
                             layout.normalId, layout.setId, CNButton::kRadio));
    }
    SelectCorner(m_Logo.corner);
    return result.Get();
}

HRESULT CLogoWnd::CreateMarginEdits()
{
    CNCreationResult result;
    const struct {
        CNEdit* edit;
        int id;
        int x;
    } edits[] = {{&m_MarginXEdit, kMarginXEdit, 228}, {&m_MarginYEdit, kMarginYEdit, 311}};
    for (const auto& entry : edits) {
        result.Add(entry.edit->Create(m_Window, &m_Screen, entry.id, entry.x, 201, 46, 20, 1));
        entry.edit->SetNumeric(0, CLogoFile::kMaxMargin);
        entry.edit->SetValue(5);
        result.Add(AddChild(entry.edit));
    }
    return result.Get();
}

HRESULT CLogoWnd::CreateTextEdit()
{
    m_TextEdit = CreateWindowExW(0, L"EDIT", L"NEditWnd", WS_POPUP | ES_AUTOHSCROLL, 0, 0, kTextEditSize.cx,
                                 kTextEditSize.cy, m_Window, nullptr, m_Instance, nullptr);
    if (m_TextEdit == nullptr) {
        NLOG("CLogoWnd::CreateTextEdit", CNLog::kLevelCreateFailed, "cannot create the logo text edit");
        return E_FAIL;
    }
    // The window name is the edit's text: start empty.
    SetWindowTextW(m_TextEdit, L"");
    SendMessageW(m_TextEdit, EM_LIMITTEXT, CFixedText::kMaxLength, 0);
    m_TextEditBrush = CreateSolidBrush(kTextEditPaper);
    FitTextEditToScale();
    return m_TextEditBrush != nullptr ? S_OK : E_FAIL;
}

// The edit is a window of its own, drawn by the system: its font and place
// are given in pixels.
void CLogoWnd::FitTextEditToScale()
{
    if (SUCCEEDED(m_TextEditFont.Create(Scale().ToPixels(kTextEditFontHeight), FW_HEAVY, L"Arial")))
        SendMessageW(m_TextEdit, WM_SETFONT, reinterpret_cast<WPARAM>(m_TextEditFont.Handle()), FALSE);
    RECT bounds;
    if (GetWindowRect(m_Window, &bounds))
        PlaceTextEdit(bounds.left, bounds.top);
}

void CLogoWnd::OnScaleChanged()
{
    FitTextEditToScale();
}

HRESULT CLogoWnd::AddHandlers()
{
    CNCreationResult result;
    result.Add(AddToolHandlers());
    result.Add(AddMessageFunc(NWM_BUTTON_CLICKED, &CLogoWnd::OnButtonClicked));
    result.Add(AddMessageFunc(NWM_COMBO_DROPDOWN, &CLogoWnd::OnComboDropDown));
    result.Add(AddMessageFunc(WM_MOVING, &CLogoWnd::OnMoving));
    result.Add(AddMessageFunc(WM_CTLCOLOREDIT, &CLogoWnd::OnCtlColorEdit));
    return result.Get();
}

void CLogoWnd::FillFontList()
{
    Gdiplus::InstalledFontCollection collection;
    const INT count = collection.GetFamilyCount();
    if (count <= 0)
        return;
    std::vector<Gdiplus::FontFamily> families(static_cast<size_t>(count));
    INT found = 0;
    if (collection.GetFamilies(count, families.data(), &found) != Gdiplus::Ok)
        return;
    for (INT i = 0; i < found; ++i) {
        WCHAR name[LF_FACESIZE] = {};
        if (families[static_cast<size_t>(i)].GetFamilyName(name) == Gdiplus::Ok && name[0] != 0)
            m_FontCombo.AddItem(name);
    }
    const int arial = m_FontCombo.FindItem(L"Arial");
    m_FontCombo.SetSelection(arial >= 0 ? arial : 0);
}

void CLogoWnd::LoadLogo()
{
    std::vector<std::uint8_t> bytes;
    if (!CSettingsFile::Read(LogoPath(), CLogoFile::kSize, bytes))
        return;
    m_Logo.Load(bytes);
    PushValues();
}

void CLogoWnd::WriteLogo() const
{
    const std::wstring path = LogoPath();
    if (!CSettingsFile::Write(path, m_Logo.Serialise()))
        NLOG("CLogoWnd::WriteLogo", CNLog::kLevelRefused, L"cannot write file : %ls", path.c_str());
}

std::wstring CLogoWnd::LogoPath() const
{
    return (std::filesystem::path(m_SettingsFolder) / CSettingsFolder::kLogoFileName).wstring();
}

void CLogoWnd::CollectValues()
{
    if (m_Logo.logoKind == CLogoFile::kTextLogo) {
        const std::wstring text = TextEditText();
        m_Logo.logoText.AssignUnits(text.c_str(), text.size());
        const int face = m_FontCombo.GetSelection();
        if (face >= 0)
            m_Logo.fontFace.AssignUnits(m_FontCombo.GetItemText(face), CFixedText::kUnits);
        const int size = m_SizeCombo.GetSelection();
        if (size >= 0 && size < static_cast<int>(CLogoFile::kFontSizes.size()))
            m_Logo.fontSize = CLogoFile::kFontSizes[static_cast<size_t>(size)];
        m_Logo.fillColor = m_FillButton.GetTextColor().Argb();
        m_Logo.outlineColor = m_OutlineButton.GetTextColor().Argb();
    } else if (m_Logo.logoKind == CLogoFile::kImageLogo) {
        m_Logo.imagePath.AssignUnits(m_PathEdit.GetText(), CFixedText::kUnits);
    }
    const int corner = FirstSetCorner();
    if (corner >= 0)
        m_Logo.corner = corner;
    m_Logo.marginX = MarginValue(m_MarginXEdit);
    m_Logo.marginY = MarginValue(m_MarginYEdit);
}

void CLogoWnd::PushValues()
{
    wchar_t text[CFixedText::kUnits];
    m_TextBox.SetChecked(m_Logo.logoKind == CLogoFile::kTextLogo);
    m_ImageBox.SetChecked(m_Logo.logoKind == CLogoFile::kImageLogo);
    if (m_Logo.logoKind == CLogoFile::kTextLogo) {
        m_Logo.logoText.CopyTo(text, CFixedText::kUnits);
        SetWindowTextW(m_TextEdit, text);
        m_PathEdit.SetText(L"");
    } else if (m_Logo.logoKind == CLogoFile::kImageLogo) {
        m_Logo.imagePath.CopyTo(text, CFixedText::kUnits);
        m_PathEdit.SetText(text);
        SetWindowTextW(m_TextEdit, L"");
    } else {
        SetWindowTextW(m_TextEdit, L"");
        m_PathEdit.SetText(L"");
    }

    m_Logo.fontFace.CopyTo(text, CFixedText::kUnits);
    const int face = m_FontCombo.FindItem(text);
    m_FontCombo.SetSelection(face >= 0 ? face : 0);
    // A family that is not installed would draw nothing: answer with the one shown.
    if (face < 0 && m_FontCombo.GetCount() > 0)
        m_Logo.fontFace.AssignUnits(m_FontCombo.GetItemText(0), CFixedText::kUnits);
    m_SizeCombo.SetSelection(static_cast<int>(CLogoFile::FontSizeIndex(m_Logo.fontSize)));
    m_FillButton.SetTextColor(CNColor::FromArgb(m_Logo.fillColor));
    m_OutlineButton.SetTextColor(CNColor::FromArgb(m_Logo.outlineColor));
    SelectCorner(m_Logo.corner);
    m_MarginXEdit.SetValue(CLogoFile::ClampMargin(m_Logo.marginX));
    m_MarginYEdit.SetValue(CLogoFile::ClampMargin(m_Logo.marginY));
}

void CLogoWnd::ApplyEnableRule()
{
    const CLogoEnableRule rule = CLogoEnableRule::ForKind(m_Logo.logoKind);
    EnableField(m_FontCombo, rule.fontControls);
    EnableField(m_SizeCombo, rule.fontControls);
    m_FillButton.Enable(rule.fontControls);
    m_OutlineButton.Enable(rule.fontControls);
    m_BrowseButton.Enable(rule.browseButton);
    m_PathEdit.Enable(false);
    for (CNAlphaButton& button : m_CornerButtons)
        button.Enable(rule.placement);
    EnableField(m_MarginXEdit, rule.placement);
    EnableField(m_MarginYEdit, rule.placement);
    ShowTextEdit(rule.textEditShown && IsShown());
}

template <typename Field>
void CLogoWnd::EnableField(Field& field, bool enabled)
{
    // Buttons fade when disabled; text fields and lists only say so by their text.
    field.Enable(enabled);
    field.SetTextColor(enabled ? CNTheme::Text() : CNTheme::TextDim());
}

void CLogoWnd::SetKind(int kind)
{
    CollectValues();
    m_Logo.logoKind = kind;
    PushValues();
    ApplyEnableRule();
    Draw();
}

void CLogoWnd::SelectCorner(int corner)
{
    for (int i = 0; i < 4; ++i)
        m_CornerButtons[i].SetChecked(i == corner);
}

int CLogoWnd::FirstSetCorner() const
{
    for (int i = 0; i < 4; ++i) {
        if (m_CornerButtons[i].IsChecked())
            return i;
    }
    return -1;
}

void CLogoWnd::PlaceTextEdit(int windowLeft, int windowTop)
{
    if (m_TextEdit == nullptr)
        return;
    const ScreenRect place =
        Scale().ToPixels(ScreenRect{kTextEditPosition.x, kTextEditPosition.y, kTextEditPosition.x + kTextEditSize.cx,
                                    kTextEditPosition.y + kTextEditSize.cy});
    SetWindowPos(m_TextEdit, nullptr, windowLeft + place.left, windowTop + place.top, place.Width(), place.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CLogoWnd::ShowTextEdit(bool show)
{
    if (m_TextEdit != nullptr)
        ShowWindow(m_TextEdit, show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

std::wstring CLogoWnd::TextEditText() const
{
    wchar_t text[CFixedText::kUnits] = {};
    if (m_TextEdit != nullptr)
        GetWindowTextW(m_TextEdit, text, CFixedText::kUnits);
    return text;
}

void CLogoWnd::ChooseColor(CNAlphaButton& button)
{
    const CNRect rect = button.GetRect();
    const POINT anchor = LayoutToScreen(rect.x, rect.y);
    COLORREF rgb = 0;
    if (!CColorChooser::Choose(m_Window, anchor, rgb))
        return;
    button.SetTextColor(ColorFromRgb(rgb));
    Draw();
}

void CLogoWnd::ChoosePicture()
{
    wchar_t path[MAX_PATH];
    wcsncpy(path, m_PathEdit.GetText(), MAX_PATH - 1);
    path[MAX_PATH - 1] = 0;
    if (!CPictureChooser::Choose(m_Window, path))
        return;
    m_PathEdit.SetText(path);
    Draw();
}

LRESULT CLogoWnd::OnButtonClicked(WPARAM wParam, LPARAM)
{
    const int id = static_cast<int>(wParam);
    switch (id) {
    case kCloseButton:
        Hide();
        break;
    case kTextBox:
    case kImageBox:
        OnKindBoxClicked(id);
        break;
    case kFillButton:
        ChooseColor(m_FillButton);
        break;
    case kOutlineButton:
        ChooseColor(m_OutlineButton);
        break;
    case kBrowseButton:
        ChoosePicture();
        break;
    case kTopLeftButton:
    case kTopRightButton:
    case kBottomRightButton:
    case kBottomLeftButton:
        SelectCorner(id - kTopLeftButton);
        Draw();
        break;
    default:
        break;
    }
    return 1;
}

void CLogoWnd::OnKindBoxClicked(int id)
{
    // The box has toggled itself already.
    CNAlphaButton& clicked = id == kTextBox ? m_TextBox : m_ImageBox;
    CNAlphaButton& other = id == kTextBox ? m_ImageBox : m_TextBox;
    if (clicked.IsChecked()) {
        other.SetChecked(false);
        SetKind(id == kTextBox ? CLogoFile::kTextLogo : CLogoFile::kImageLogo);
    } else if (!other.IsChecked()) {
        SetKind(CLogoFile::kNoLogo);
    }
}

LRESULT CLogoWnd::OnComboDropDown(WPARAM wParam, LPARAM lParam)
{
    auto* combo = reinterpret_cast<CNCombo*>(lParam);
    if (combo != &m_FontCombo && combo != &m_SizeCombo)
        return 1;
    const bool open = wParam != 0;
    SetMouseTarget(open ? combo : nullptr);
    // The edit is a window of its own and would cover the open font list.
    if (combo == &m_FontCombo)
        ShowTextEdit(!open && CLogoEnableRule::ForKind(m_Logo.logoKind).textEditShown && IsShown());
    return 1;
}

LRESULT CLogoWnd::OnMoving(WPARAM, LPARAM lParam)
{
    const auto* proposed = reinterpret_cast<const RECT*>(lParam);
    if (proposed != nullptr)
        PlaceTextEdit(proposed->left, proposed->top);
    return 0;
}

LRESULT CLogoWnd::OnCtlColorEdit(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(lParam) != m_TextEdit || m_TextEditBrush == nullptr)
        return 0;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, kTextEditInk);
    SetBkColor(dc, kTextEditPaper);
    return reinterpret_cast<LRESULT>(m_TextEditBrush);
}

int CLogoWnd::MarginValue(const CNEdit& edit)
{
    return CLogoFile::ClampMargin(static_cast<int>(edit.GetValue()));
}

} // namespace pelidore
