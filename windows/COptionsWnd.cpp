#include "COptionsWnd.h"

#include "CNCreationResult.h"
#include "CNLog.h"
#include "CNTheme.h"
#include "CSettingsFolder.h"
#include "NControlMessages.h"
#include "PelidoreCommands.h"
#include "ResourceIds.h"

#include <iterator>

namespace pelidore {

namespace {

constexpr CHotkey Options::*kHotkeyMembers[COptionsWnd::kHotkeyCount] = {&Options::recordHotkey, &Options::pauseHotkey,
                                                                         &Options::snapshotHotkey};

constexpr int kFieldX = 118;
constexpr int kFieldWidth = 200;
constexpr int kFieldHeight = 22;
constexpr int kFirstFieldY = 57;
constexpr int kRowStep = 28;
constexpr int kClearX = 324;
constexpr int kClearWidth = 24;

constexpr const wchar_t* kCountdownNames[] = {L"Off", L"3 s", L"5 s", L"10 s"};
static_assert(std::size(kCountdownNames) == Options::kCountdownChoices.size(), "a name per countdown choice");

struct BoxSpec {
    int x;
    int y;
    int width;
    const wchar_t* label;
    bool Options::*member;
};

// In the order of the boxes' ids, from kHighlightBox.
const BoxSpec kBoxSpecs[] = {
    {220, 154, 140, L"Highlight clicks", &Options::highlightClicks},
    {14, 207, 170, L"Review before saving", &Options::reviewBeforeSaving},
    {196, 207, 160, L"Smaller files", &Options::smallerFiles},
    {14, 229, 170, L"Copy GIF to clipboard", &Options::copyAfterSave},
    {196, 229, 160, L"Show GIF in folder", &Options::showAfterSave},
};
static_assert(std::size(kBoxSpecs) == static_cast<std::size_t>(COptionsWnd::kBoxCount), "a spec per box");

int CountdownIndex(int seconds)
{
    for (std::size_t i = 0; i < Options::kCountdownChoices.size(); ++i)
        if (Options::kCountdownChoices[i] == seconds)
            return static_cast<int>(i);
    return 0;
}

bool IsSystemKey(UINT message)
{
    return message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

} // namespace

COptionsWnd::COptionsWnd() : CToolWnd(kHeight, IDB_OPTIONS_BACKGROUND), m_SettingsFolder(CSettingsFolder::Default()) {}

COptionsWnd::~COptionsWnd()
{
    // The window's messages reach the member controls: end it while they exist.
    Destroy();
    ReleaseChildren();
}

void COptionsWnd::SetHotkeyState(int which, bool registered)
{
    if (which < 0 || which >= kHotkeyCount)
        return;
    CNHotkeyEdit& field = m_Rows[which].field;
    if (field.IsInUse() == !registered)
        return;
    field.SetInUse(!registered);
    if (IsShown())
        Draw();
}

std::wstring COptionsWnd::WorkingHotkeyText(int which) const
{
    if (which < 0 || which >= kHotkeyCount)
        return std::wstring();
    const CNHotkeyEdit& field = m_Rows[which].field;
    if (field.GetHotkey().IsNone() || field.IsInUse())
        return std::wstring();
    const std::string text = field.GetHotkey().Text();
    return std::wstring(text.begin(), text.end());
}

bool COptionsWnd::IsListeningForHotkey() const
{
    for (const HotkeyRow& row : m_Rows)
        if (row.field.IsListening())
            return true;
    return false;
}

std::filesystem::path COptionsWnd::OptionsPath() const
{
    return std::filesystem::path(m_SettingsFolder) / COptionsFile::kFileName;
}

void COptionsWnd::Hide()
{
    for (HotkeyRow& row : m_Rows)
        row.field.SetFocused(false);
    CToolWnd::Hide();
}

HRESULT COptionsWnd::OnCreate()
{
    CNCreationResult result;
    result.Add(CreateFrame(m_CloseButton));
    result.Add(CreateHotkeyRows());
    result.Add(CreateCheckBoxes());
    result.Add(CreateFitEdit());
    // Last, so that its open list is drawn over the check boxes below it.
    result.Add(CreateCountdownCombo());
    // A missing or unreadable file reads as every option at its default; it
    // is written only when the user changes something.
    m_File.Read(OptionsPath());
    ShowOptions(m_File.options);
    result.Add(AddHandlers());
    return result.Get();
}

HRESULT COptionsWnd::CreateHotkeyRows()
{
    CNCreationResult result;
    for (int which = 0; which < kHotkeyCount; ++which) {
        HotkeyRow& row = m_Rows[which];
        const int y = kFirstFieldY + which * kRowStep;
        result.Add(
            row.field.Create(m_Window, &m_Screen, kRecordField + which, kFieldX, y, kFieldWidth, kFieldHeight, 1));
        result.Add(AddChild(&row.field));
        result.Add(AddButton(row.clear, kRecordClear + which, {kClearX, y, kClearX + kClearWidth, y + kFieldHeight},
                             IDB_CLEAR, IDB_CLEAR_PRESSED, CNButton::kPush));
    }
    return result.Get();
}

HRESULT COptionsWnd::CreateCountdownCombo()
{
    const UINT images[3] = {IDB_SMALL_COMBO, IDB_SMALL_COMBO_OPEN, IDB_SMALL_COMBO_HOVER};
    const HRESULT result = AddCombo(m_CountdownCombo, kCountdownCombo, kFieldX, 152, 70, images, 55, 50);
    for (const wchar_t* name : kCountdownNames)
        m_CountdownCombo.AddItem(name);
    return result;
}

HRESULT COptionsWnd::CreateCheckBoxes()
{
    CNCreationResult result;
    for (int i = 0; i < kBoxCount; ++i) {
        const BoxSpec& spec = kBoxSpecs[i];
        result.Add(AddCheckBox(m_Boxes[i], kHighlightBox + i, spec.x, spec.y, spec.width, spec.label));
    }
    return result.Get();
}

HRESULT COptionsWnd::CreateFitEdit()
{
    CNCreationResult result;
    result.Add(m_FitEdit.Create(m_Window, &m_Screen, kFitEdit, kFieldX, 263, 46, 20, 1));
    m_FitEdit.SetTextColor(CNTheme::Text());
    m_FitEdit.SetTextAlign(1);
    m_FitEdit.SetNumeric(0, Options::kMaxFitToMb);
    result.Add(AddChild(&m_FitEdit));
    return result.Get();
}

HRESULT COptionsWnd::AddHandlers()
{
    CNCreationResult result;
    result.Add(AddToolHandlers());
    result.Add(AddMessageFunc(NWM_BUTTON_CLICKED, &COptionsWnd::OnButtonClicked));
    result.Add(AddMessageFunc(NWM_HOTKEY_CHANGED, &COptionsWnd::OnHotkeyChanged));
    result.Add(AddMessageFunc(NWM_HOTKEY_LISTENING, &COptionsWnd::OnHotkeyListening));
    result.Add(AddMessageFunc(NWM_COMBO_DROPDOWN, &COptionsWnd::OnComboDropDown));
    result.Add(AddMessageFunc(NWM_COMBO_SELECTED, &COptionsWnd::OnValueChanged));
    result.Add(AddMessageFunc(NWM_EDIT_CHANGED, &COptionsWnd::OnValueChanged));
    result.Add(AddMessageFunc(WM_SYSCHAR, &COptionsWnd::OnSystemChar));
    return result.Get();
}

LRESULT COptionsWnd::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A listening field takes Alt combinations and F10 for itself: the
    // default handling would open the window menu or close the window.
    if (IsSystemKey(message) && IsListeningForHotkey()) {
        for (HotkeyRow& row : m_Rows)
            row.field.ProcessMessage(window, message, wParam, lParam);
        return 1;
    }
    return CToolWnd::OnMessage(window, message, wParam, lParam);
}

void COptionsWnd::ShowOptions(const Options& options)
{
    for (int which = 0; which < kHotkeyCount; ++which)
        m_Rows[which].field.SetHotkey(options.*kHotkeyMembers[which]);
    m_CountdownCombo.SetSelection(CountdownIndex(options.countdownSeconds));
    for (int i = 0; i < kBoxCount; ++i)
        m_Boxes[i].SetChecked(options.*kBoxSpecs[i].member);
    m_FitEdit.SetValue(options.fitToMb);
}

Options COptionsWnd::CollectOptions() const
{
    Options options = m_File.options;
    for (int which = 0; which < kHotkeyCount; ++which)
        options.*kHotkeyMembers[which] = m_Rows[which].field.GetHotkey();
    for (int i = 0; i < m_CountdownCombo.GetCount(); ++i)
        if (m_CountdownCombo.IsItemSelected(i))
            options.countdownSeconds = Options::kCountdownChoices[static_cast<std::size_t>(i)];
    for (int i = 0; i < kBoxCount; ++i)
        options.*kBoxSpecs[i].member = m_Boxes[i].IsChecked();
    options.fitToMb = static_cast<int>(m_FitEdit.GetValue());
    return options;
}

void COptionsWnd::SaveIfChanged()
{
    const Options options = CollectOptions();
    if (COptionsFile::Same(options, m_File.options))
        return;
    m_File.options = options;
    const std::filesystem::path path = OptionsPath();
    if (!m_File.Write(path))
        NLOG("COptionsWnd::SaveIfChanged", CNLog::kLevelRefused, L"cannot write file : %ls", path.c_str());
    // Announced whether or not the file could be written: the frame works
    // with the options shown here either way.
    PostToOwner(CMD_OPTIONS_CHANGED);
}

// One combination does one thing: a field that held it before lets it go,
// rather than both failing to register it.
void COptionsWnd::TakeFromOtherFields(int which)
{
    const CHotkey taken = m_Rows[which].field.GetHotkey();
    for (int other = 0; other < kHotkeyCount; ++other)
        if (other != which && m_Rows[other].field.GetHotkey() == taken)
            m_Rows[other].field.SetHotkey(CHotkey());
}

LRESULT COptionsWnd::OnButtonClicked(WPARAM wParam, LPARAM)
{
    const int id = static_cast<int>(wParam);
    if (id == kCloseButton) {
        Hide();
        return 1;
    }
    if (id >= kRecordClear && id < kRecordClear + kHotkeyCount) {
        m_Rows[id - kRecordClear].field.SetHotkey(CHotkey());
        Draw();
    }
    // Check boxes have toggled themselves already.
    SaveIfChanged();
    return 1;
}

LRESULT COptionsWnd::OnHotkeyChanged(WPARAM wParam, LPARAM)
{
    const int which = static_cast<int>(wParam) - kRecordField;
    if (which < 0 || which >= kHotkeyCount)
        return 1;
    TakeFromOtherFields(which);
    Draw();
    SaveIfChanged();
    return 1;
}

LRESULT COptionsWnd::OnHotkeyListening(WPARAM wParam, LPARAM)
{
    PostToOwner(CMD_HOTKEY_LISTENING, static_cast<LPARAM>(wParam));
    return 1;
}

LRESULT COptionsWnd::OnComboDropDown(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<CNControlBase*>(lParam) != &m_CountdownCombo)
        return 1;
    if (wParam != 0) {
        SetMouseTarget(&m_CountdownCombo);
    } else {
        SetMouseTarget(nullptr);
        SaveIfChanged();
    }
    return 1;
}

LRESULT COptionsWnd::OnValueChanged(WPARAM, LPARAM)
{
    SaveIfChanged();
    return 1;
}

LRESULT COptionsWnd::OnSystemChar(WPARAM, LPARAM)
{
    // The window has no menu: an Alt+letter would only beep.
    return 1;
}

} // namespace pelidore
