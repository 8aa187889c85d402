#include "CControlWnd.h"

#include "CNDesktop.h"
#include "CNLog.h"
#include "CNRect.h"
#include "CNTheme.h"
#include "CPanelDragRule.h"
#include "CReadoutRules.h"
#include "NControlMessages.h"
#include "NMessages.h"
#include "PelidoreCommands.h"
#include "ResourceIds.h"

#include <utility>

namespace pelidore {

namespace {

struct ButtonSpec {
    int id;
    int x;
    int y;
    int size;
    int height;
    UINT normal;
    UINT pressed;
    bool shown;
};

// The alpha buttons besides quit (the tool window's close button); a pair
// sharing a place shows one of its two.
constexpr ButtonSpec kAlphaButtonSpecs[] = {
    {CControlWnd::kMinimizeButton, 315, 5, 26, 26, IDB_MINIMIZE, IDB_MINIMIZE_PRESSED, true},
    {CControlWnd::kAboutButton, 284, 5, 26, 26, IDB_ABOUT, IDB_ABOUT_PRESSED, true},
    {CControlWnd::kFolderButton, 151, 39, 52, 52, IDB_FOLDER, IDB_FOLDER_PRESSED, true},
    {CControlWnd::kSnapshotButton, 204, 39, 52, 52, IDB_SNAPSHOT, IDB_SNAPSHOT_PRESSED, true},
    {CControlWnd::kLogoButton, 257, 39, 52, 52, IDB_LOGO, IDB_LOGO_PRESSED, true},
    {CControlWnd::kSetupButton, 310, 39, 52, 52, IDB_SETUP, IDB_SETUP_PRESSED, true},
    {CControlWnd::kTimeLockButton, 192, 101, 28, 27, IDB_LOCK_OPEN, IDB_LOCK_OPEN_PRESSED, true},
    {CControlWnd::kTimeClearButton, 192, 101, 28, 27, IDB_LOCK_SET, IDB_LOCK_SET_PRESSED, false},
    {CControlWnd::kSizeLockButton, 309, 101, 28, 27, IDB_LOCK_OPEN, IDB_LOCK_OPEN_PRESSED, true},
    {CControlWnd::kSizeClearButton, 309, 101, 28, 27, IDB_LOCK_SET, IDB_LOCK_SET_PRESSED, false},
    // Left of About in the top strip, where no other control is.
    {CControlWnd::kPauseButton, 253, 5, 26, 26, IDB_PAUSE, IDB_PAUSE_PRESSED, false},
    {CControlWnd::kResumeButton, 253, 5, 26, 26, IDB_RESUME, IDB_RESUME_PRESSED, false},
};

// Which of the panel's hotkey texts a label names.
constexpr int kNoHotkey = -1;
constexpr int kRecordHotkey = 0;
constexpr int kPauseHotkey = 1;
constexpr int kSnapshotHotkey = 2;

struct LabelSpec {
    int id;
    const wchar_t* text;
    int hotkey;
};

constexpr LabelSpec kLabelSpecs[] = {
    {CControlWnd::kQuitButton, L"Quit", kNoHotkey},
    {CControlWnd::kMinimizeButton, L"Minimise", kNoHotkey},
    {CControlWnd::kAboutButton, L"About Pelidore", kNoHotkey},
    {CControlWnd::kRecordButton, L"Record", kRecordHotkey},
    {CControlWnd::kStopButton, L"Stop", kRecordHotkey},
    {CControlWnd::kPauseButton, L"Pause", kPauseHotkey},
    {CControlWnd::kResumeButton, L"Resume", kPauseHotkey},
    {CControlWnd::kFolderButton, L"Open the work folder", kNoHotkey},
    {CControlWnd::kSnapshotButton, L"Snapshot", kSnapshotHotkey},
    {CControlWnd::kLogoButton, L"Logo", kNoHotkey},
    {CControlWnd::kSetupButton, L"Setup", kNoHotkey},
    {CControlWnd::kTimeLockButton, L"Set a time limit", kNoHotkey},
    {CControlWnd::kTimeClearButton, L"Clear the time limit", kNoHotkey},
    {CControlWnd::kSizeLockButton, L"Set a size limit", kNoHotkey},
    {CControlWnd::kSizeClearButton, L"Clear the size limit", kNoHotkey},
};

constexpr int kBigButtonX = 20;
constexpr int kBigButtonY = 52;
constexpr int kBigButtonSize = 86;

constexpr RECT kTimeArea = {125, 100, 190, 125};
constexpr RECT kSizeArea = {235, 100, 310, 125};
constexpr int kLockOffsetY = 50; // the lock strips open over the panel's lower part
constexpr int kSizeLockOffsetX = 45;

constexpr int kFontHeight = 18;
constexpr int kFontWeight = 800;
constexpr const wchar_t* kFontFace = L"Franklin Gothic Medium";
constexpr int kCentred = 1;

} // namespace

static_assert(sizeof(kAlphaButtonSpecs) / sizeof(kAlphaButtonSpecs[0]) == CControlWnd::kAlphaButtons,
              "one spec per alpha button");

CControlWnd::CControlWnd() : CToolWnd(kHeight, IDB_PANEL_BACKGROUND) {}

CControlWnd::~CControlWnd() = default;

int CControlWnd::UpdateDisplay(int elapsedSeconds, std::uint64_t bytes, int paintNow)
{
    m_ElapsedSeconds = elapsedSeconds;
    m_Bytes = bytes;
    RestoreReadoutBackgrounds();
    DrawReadouts();
    if (paintNow)
        m_Screen.Present();
    return CReadoutRules::LockReached(m_ElapsedSeconds, m_Bytes, m_TimeLimit, m_SizeLimit, m_QualityIndex) ? 1 : 0;
}

void CControlWnd::ShowReadout(int elapsedSeconds, std::uint64_t bytes)
{
    UpdateDisplay(elapsedSeconds, bytes, 1);
}

void CControlWnd::ShowRecordButton()
{
    DiscardQueuedReadouts();
    SwapButtons(kStopButton, kRecordButton);
    SetPaused(false);
    ShowPauseButtons(false, false);
    Draw();
}

void CControlWnd::ShowStopButton()
{
    HideMessage();
    SwapButtons(kRecordButton, kStopButton);
    ShowPauseButtons(true, m_Paused);
    Draw();
}

void CControlWnd::ShowMessage(const std::wstring& text)
{
    m_Message.Set(text);
    if (!SetTimer(m_Window, kMessageTimer, CPanelMessage::kShowMs, nullptr))
        NLOG("CControlWnd::ShowMessage", CNLog::kLevelRefused, "SetTimer fail");
    Draw();
}

void CControlWnd::HideMessage()
{
    KillTimer(m_Window, kMessageTimer);
    m_Message.Clear();
}

void CControlWnd::SetPaused(bool paused)
{
    if (paused == m_Paused)
        return;
    m_Paused = paused;
    m_BlinkHidden = false;
    if (paused)
        SetTimer(m_Window, kBlinkTimer, kBlinkMs, nullptr);
    else
        KillTimer(m_Window, kBlinkTimer);
    ShowPauseButtons(Button(kStopButton)->IsVisible(), paused);
    Draw();
}

void CControlWnd::ShowPauseButtons(bool recording, bool paused)
{
    Button(kPauseButton)->Show(recording && !paused);
    Button(kResumeButton)->Show(recording && paused);
}

void CControlWnd::SetQuality(int qualityIndex)
{
    m_QualityIndex = qualityIndex;
    ApplySizeLockButtons();
    Draw();
}

void CControlWnd::SetHotkeyTexts(const std::wstring& record, const std::wstring& pause, const std::wstring& snapshot)
{
    m_HotkeyTexts[kRecordHotkey] = record;
    m_HotkeyTexts[kPauseHotkey] = pause;
    m_HotkeyTexts[kSnapshotHotkey] = snapshot;
}

std::wstring CControlWnd::LabelText(int id) const
{
    for (const LabelSpec& spec : kLabelSpecs) {
        if (spec.id != id)
            continue;
        std::wstring text = spec.text;
        if (spec.hotkey != kNoHotkey && !m_HotkeyTexts[spec.hotkey].empty())
            text += L"  (" + m_HotkeyTexts[spec.hotkey] + L")";
        return text;
    }
    return std::wstring();
}

void CControlWnd::ShowLabel(int id)
{
    const CNControlBase* button = FindControl(id);
    const ScreenRect panel = CNDesktop::WindowRect(m_Window);
    if (!button || panel.Width() <= 0)
        return;
    const CNRect place = button->GetRect();
    const ScreenRect onScreen = {panel.left + place.x, panel.top + place.y, panel.left + place.x + place.width,
                                 panel.top + place.y + place.height};
    m_LabelFor = id;
    m_Label.ShowFor(onScreen, LabelText(id));
}

void CControlWnd::Hide()
{
    m_Label.Hide();
    m_LabelFor = -1;
    CToolWnd::Hide();
}

void CControlWnd::DrawDecorations()
{
    KeepReadoutBackgrounds();
    DrawReadouts();
    m_Message.Draw(m_Screen);
}

HRESULT CControlWnd::OnCreate()
{
    if (FAILED(CreateFrame(m_Quit)) || FAILED(m_Font.Create(kFontHeight, kFontWeight, kFontFace)) ||
        FAILED(m_Message.Create()) || FAILED(CreateButtons()) || FAILED(CreateLockWindows()) ||
        FAILED(AddPanelHandlers()))
        return E_FAIL;
    AskForHoverNotices();
    return S_OK;
}

LRESULT CControlWnd::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Closing the panel ends the program, unlike the other tool windows.
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 1;
    }
    return CToolWnd::OnMessage(window, message, wParam, lParam);
}

HRESULT CControlWnd::CreateButtons()
{
    for (int i = 0; i < kAlphaButtons; ++i) {
        const ButtonSpec& spec = kAlphaButtonSpecs[i];
        CNAlphaButton& button = m_AlphaButtons[i];
        if (FAILED(button.Create(m_Window, &m_Screen, spec.id, spec.x, spec.y, spec.size, spec.height, spec.shown)) ||
            FAILED(button.SetImages(spec.normal, spec.pressed)) || FAILED(AddChild(&button)))
            return E_FAIL;
    }
    // The stop button has no hover picture of its own: it keeps its normal one.
    if (FAILED(m_Record.Create(m_Window, &m_Screen, kRecordButton, kBigButtonX, kBigButtonY, kBigButtonSize,
                               kBigButtonSize, 1)) ||
        FAILED(m_Record.SetImages(IDB_RECORD, IDB_RECORD_PRESSED, IDB_RECORD_HOVER)) || FAILED(AddChild(&m_Record)))
        return E_FAIL;
    if (FAILED(m_Stop.Create(m_Window, &m_Screen, kStopButton, kBigButtonX, kBigButtonY, kBigButtonSize, kBigButtonSize,
                             0)) ||
        FAILED(m_Stop.SetImages(IDB_STOP, IDB_STOP_PRESSED)) || FAILED(AddChild(&m_Stop)))
        return E_FAIL;
    return S_OK;
}

HRESULT CControlWnd::CreateLockWindows()
{
    if (FAILED(m_TimeLockWnd.CreateHidden(m_Instance, m_Window, CTimeLockWnd::kTitle, CTimeLockWnd::kWidth)) ||
        FAILED(m_SizeLockWnd.CreateHidden(m_Instance, m_Window, CSizeLockWnd::kTitle, CSizeLockWnd::kWidth)) ||
        FAILED(m_Label.CreateHidden(m_Instance, m_Window))) {
        NLOG("CControlWnd::CreateLockWindows", CNLog::kLevelCreateFailed, "lock window creation fail");
        return E_FAIL;
    }
    return S_OK;
}

void CControlWnd::AskForHoverNotices()
{
    for (CNControlBase* control : m_Children)
        control->SetHoverNotify(true);
}

HRESULT CControlWnd::AddPanelHandlers()
{
    if (FAILED(AddToolHandlers()) || FAILED(AddMessageFunc(NWM_BUTTON_CLICKED, &CControlWnd::OnButtonClicked)) ||
        FAILED(AddMessageFunc(WM_MOVING, &CControlWnd::OnMoving)) ||
        FAILED(AddMessageFunc(PWM_READOUT, &CControlWnd::OnReadout)) ||
        FAILED(AddMessageFunc(WM_TIMER, &CControlWnd::OnTimer)) ||
        FAILED(AddMessageFunc(NWM_HOVER, &CControlWnd::OnHover)) ||
        FAILED(AddMessageFunc(NWM_HOVER_END, &CControlWnd::OnHoverEnd)))
        return E_FAIL;
    return S_OK;
}

CNButton* CControlWnd::Button(int id)
{
    if (id == kQuitButton)
        return &m_Quit;
    if (id == kRecordButton)
        return &m_Record;
    if (id == kStopButton)
        return &m_Stop;
    for (int i = 0; i < kAlphaButtons; ++i) {
        if (kAlphaButtonSpecs[i].id == id)
            return &m_AlphaButtons[i];
    }
    return nullptr;
}

void CControlWnd::SwapButtons(int hideId, int showId)
{
    Button(hideId)->Show(false);
    Button(showId)->Show(true);
}

void CControlWnd::ApplySizeLockButtons()
{
    const bool live = CReadoutRules::ShowsSize(m_QualityIndex);
    const bool lockSet = m_SizeLimit > 0;
    CNButton* open = Button(kSizeLockButton);
    open->Enable(live);
    open->Show(!(live && lockSet));
    Button(kSizeClearButton)->Show(live && lockSet);
}

void CControlWnd::OpenTimeLock()
{
    const POINT at = LayoutToScreen(0, kLockOffsetY);
    if (m_TimeLockWnd.RunModal(at.x, at.y, CTimeLockWnd::kWidth, CLockWnd::kHeight) != CLockWnd::kConfirmed)
        return;
    m_TimeLimit = m_TimeLockWnd.LimitSeconds();
    SwapButtons(kTimeLockButton, kTimeClearButton);
    Draw();
    PostToOwner(CMD_LOCKS_CHANGED);
}

void CControlWnd::ClearTimeLock()
{
    m_TimeLimit = 0;
    SwapButtons(kTimeClearButton, kTimeLockButton);
    Draw();
    PostToOwner(CMD_LOCKS_CHANGED);
}

void CControlWnd::OpenSizeLock()
{
    const POINT at = LayoutToScreen(kSizeLockOffsetX, kLockOffsetY);
    if (m_SizeLockWnd.RunModal(at.x, at.y, CSizeLockWnd::kWidth, CLockWnd::kHeight) != CLockWnd::kConfirmed)
        return;
    // 0 MB means no limit: the lock-set look would otherwise claim one.
    m_SizeLimit = m_SizeLockWnd.LimitMegabytes();
    ApplySizeLockButtons();
    Draw();
    PostToOwner(CMD_LOCKS_CHANGED);
}

void CControlWnd::ClearSizeLock()
{
    m_SizeLimit = 0;
    ApplySizeLockButtons();
    Draw();
    PostToOwner(CMD_LOCKS_CHANGED);
}

void CControlWnd::DiscardQueuedReadouts()
{
    MSG message;
    while (PeekMessageW(&message, m_Window, PWM_READOUT, PWM_READOUT, PM_REMOVE)) {
    }
}

void CControlWnd::DrawReadouts()
{
    m_TimeText = CReadoutRules::TimeText(m_ElapsedSeconds, m_TimeLimit);
    m_SizeText = CReadoutRules::ShowsSize(m_QualityIndex) ? CReadoutRules::SizeText(m_Bytes, m_SizeLimit) : L"";
    if (!m_BlinkHidden)
        DrawReadout(kTimeArea, m_TimeText);
    DrawReadout(kSizeArea, m_SizeText);
}

void CControlWnd::DrawReadout(const RECT& area, const std::wstring& text)
{
    if (!text.empty())
        m_Screen.DrawText(m_Font, area, CNTheme::Text(), text.c_str(), 0, kCentred, kCentred, true);
}

void CControlWnd::KeepReadoutBackgrounds()
{
    for (auto [area, saved] : {std::pair{kTimeArea, &m_TimeBackground}, std::pair{kSizeArea, &m_SizeBackground}})
        m_Screen.SaveRect(CNRect{area.left, area.top, area.right - area.left, area.bottom - area.top}, *saved);
}

void CControlWnd::RestoreReadoutBackgrounds()
{
    m_Screen.RestoreRect(m_TimeBackground);
    m_Screen.RestoreRect(m_SizeBackground);
}

LRESULT CControlWnd::OnTimer(WPARAM timer, LPARAM)
{
    if (timer == kMessageTimer) {
        HideMessage();
        Draw();
        return 1;
    }
    if (timer != kBlinkTimer)
        return 0;
    m_BlinkHidden = !m_BlinkHidden;
    UpdateDisplay(static_cast<int>(m_ElapsedSeconds), m_Bytes, 1);
    return 1;
}

LRESULT CControlWnd::OnHover(WPARAM id, LPARAM)
{
    ShowLabel(static_cast<int>(id));
    return 1;
}

LRESULT CControlWnd::OnHoverEnd(WPARAM id, LPARAM)
{
    // Another button's rest may have begun before this one's end arrived.
    if (static_cast<int>(id) == m_LabelFor) {
        m_Label.Hide();
        m_LabelFor = -1;
    }
    return 1;
}

LRESULT CControlWnd::OnButtonClicked(WPARAM wParam, LPARAM)
{
    switch (static_cast<int>(wParam)) {
    case kPauseButton:
        PostToOwner(CMD_PAUSE, PAUSE_ON);
        break;
    case kResumeButton:
        PostToOwner(CMD_PAUSE, PAUSE_OFF);
        break;
    case kQuitButton:
        PostQuitMessage(0);
        break;
    case kMinimizeButton:
        PostToOwner(CMD_MINIMIZE);
        break;
    case kAboutButton:
        PostToOwner(CMD_TOGGLE_ABOUT);
        break;
    case kRecordButton:
        PostToOwner(CMD_TOGGLE_RECORDING, RECORD_START);
        ShowStopButton();
        break;
    case kStopButton:
        PostToOwner(CMD_TOGGLE_RECORDING, RECORD_STOP);
        SwapButtons(kStopButton, kRecordButton);
        Draw();
        break;
    case kFolderButton:
        PostToOwner(CMD_OPEN_WORK_FOLDER);
        break;
    case kSnapshotButton:
        PostToOwner(CMD_SNAPSHOT);
        break;
    case kLogoButton:
        PostToOwner(CMD_TOGGLE_LOGO);
        break;
    case kSetupButton:
        PostToOwner(CMD_TOGGLE_SETUP);
        break;
    case kTimeLockButton:
        OpenTimeLock();
        break;
    case kTimeClearButton:
        ClearTimeLock();
        break;
    case kSizeLockButton:
        OpenSizeLock();
        break;
    case kSizeClearButton:
        ClearSizeLock();
        break;
    default:
        break;
    }
    return 1;
}

LRESULT CControlWnd::OnMoving(WPARAM, LPARAM lParam)
{
    auto* proposed = reinterpret_cast<RECT*>(lParam);
    HWND frame = GetWindow(m_Window, GW_OWNER);
    const ScreenRect panelNow = CNDesktop::WindowRect(m_Window);
    const ScreenRect frameNow = CNDesktop::WindowRect(frame);
    if (!proposed || panelNow.Width() <= 0 || frameNow.Width() <= 0)
        return 0;
    const CPanelDragRule::Placement placed = CPanelDragRule::Apply(CNDesktop::FromRect(*proposed), panelNow.top,
                                                                   frameNow, CNDesktop::VirtualScreen(), Scale());
    *proposed = CNDesktop::ToRect(placed.panel);
    if (!MoveWindow(frame, placed.frameX, placed.frameY, frameNow.Width(), frameNow.Height(), TRUE))
        NLOG("CControlWnd::OnMoving", CNLog::kLevelRefused, "MoveWindow fail");
    return TRUE;
}

LRESULT CControlWnd::OnReadout(WPARAM wParam, LPARAM lParam)
{
    ShowReadout(static_cast<int>(wParam), static_cast<std::uint64_t>(lParam));
    return 1;
}

} // namespace pelidore
