#include "CPelidoreWnd.h"

#include "FitStep.h"
#include "CFrameGeometry.h"
#include "CNCreationResult.h"
#include "CNDesktop.h"
#include "CNDpi.h"
#include "CNTheme.h"
#include "COutputPaths.h"
#include "CSavedGifActions.h"
#include "CSnapshot.h"
#include "PelidoreCommands.h"
#include "ResourceIds.h"
#include "ToolWindowMetrics.h"

#include <shellapi.h>

#include <algorithm>
#include <string>
#include <utility>

namespace pelidore {

namespace {

static_assert(static_cast<int>(FrameHit::Caption) == HTCAPTION && static_cast<int>(FrameHit::TopLeft) == HTTOPLEFT &&
                  static_cast<int>(FrameHit::TopRight) == HTTOPRIGHT &&
                  static_cast<int>(FrameHit::BottomLeft) == HTBOTTOMLEFT &&
                  static_cast<int>(FrameHit::BottomRight) == HTBOTTOMRIGHT,
              "FrameHit mirrors the Windows hit-test codes");

static_assert(COptionsWnd::kRecordHotkey == CGlobalHotkeys::kRecord - 1 &&
                  COptionsWnd::kPauseHotkey == CGlobalHotkeys::kPause - 1 &&
                  COptionsWnd::kSnapshotHotkey == CGlobalHotkeys::kSnapshot - 1,
              "the Options window's hotkey rows follow the hotkey actions");

constexpr DWORD kToolExStyle = WS_EX_LAYERED;
constexpr DWORD kToolStyle = WS_POPUP;
constexpr int kCountdownMaxHeight = 180;
constexpr const wchar_t* kCountdownFace = L"Arial";
constexpr int kCentred = 1;

} // namespace

// The frame marks the recorded region: its pixels are the screen's at every
// scale. The tool windows it owns scale with their monitor.
CPelidoreWnd::CPelidoreWnd()
{
    KeepPhysicalPixels();
}

CPelidoreWnd::~CPelidoreWnd()
{
    Shutdown();
}

HRESULT CPelidoreWnd::Create(HINSTANCE instance, int x, int y)
{
    return CNTopWindow::Create(instance, kClassName, x, y, CFrameGeometry::kStartWidth, CFrameGeometry::kStartHeight);
}

HRESULT CPelidoreWnd::OnCreate()
{
    m_Gdiplus = std::make_unique<CNGdiplus>();
    if (!m_Gdiplus->IsStarted())
        return E_FAIL;
    if (FAILED(CreateToolWindows()) || FAILED(LoadMarks()) || FAILED(AddHandlers()))
        return E_FAIL;
    m_SnapshotBusy = false;
    m_BorderPhase = 0;
    ApplyHotkeys();
    m_Recorder.Attach(MakeRecordingHost());
    m_Recorder.SaveKeptStores();
    return S_OK;
}

HRESULT CPelidoreWnd::CreateToolWindows()
{
    const ScreenRect frame = CNDesktop::WindowRect(m_Window);
    // The tool windows take the frame's monitor's scale (CNDpi of their parent).
    const ToolWindowMetrics::PanelPixels panel = ToolWindowMetrics::Panel(CNScale(CNDpi::ForWindow(m_Window)));
    const int x = frame.left + panel.indent;
    const int y = frame.bottom - panel.overlap;
    struct Tool {
        CToolWnd& window;
        const wchar_t* title;
        int show;
    };
    const Tool tools[] = {
        {m_Panel, CControlWnd::kTitle, 1}, {m_Setup, L"Pelidore - Setup", 0}, {m_Logo, L"Pelidore - Logo", 0},
        {m_About, CAboutWnd::kTitle, 0},   {m_Save, CSaveWnd::kTitle, 0},     {m_OptionsWnd, COptionsWnd::kTitle, 0},
    };
    m_OptionsWnd.SetSettingsFolder(m_Setup.GetSettingsFolder());
    for (const Tool& tool : tools) {
        if (FAILED(tool.window.Create(m_Instance, m_Window, tool.title, kToolExStyle, kToolStyle, x, y,
                                      ToolWindowMetrics::kWidth, tool.window.GetHeight(), tool.show)))
            return E_FAIL;
    }
    m_Panel.SetQuality(m_Setup.GetQuality());
    return S_OK;
}

HRESULT CPelidoreWnd::LoadMarks()
{
    const UINT ids[kMarkCount] = {IDB_MARK_CENTRE, IDB_MARK_TOP_LEFT, IDB_MARK_BOTTOM_LEFT, IDB_MARK_TOP_RIGHT,
                                  IDB_MARK_BOTTOM_RIGHT};
    for (int i = 0; i < kMarkCount; ++i) {
        if (FAILED(m_Marks[i].LoadResource(m_Instance, ids[i])))
            return E_FAIL;
    }
    return S_OK;
}

HRESULT CPelidoreWnd::AddHandlers()
{
    CNCreationResult result;
    result.Add(AddMessageFunc(WM_PAINT, &CPelidoreWnd::OnPaint));
    result.Add(AddMessageFunc(WM_CLOSE, &CPelidoreWnd::OnClose));
    result.Add(AddMessageFunc(WM_ENDSESSION, &CPelidoreWnd::OnEndSession));
    result.Add(AddMessageFunc(WM_NCHITTEST, &CPelidoreWnd::OnHitTest));
    result.Add(AddMessageFunc(WM_GETMINMAXINFO, &CPelidoreWnd::OnGetMinMaxInfo));
    result.Add(AddMessageFunc(WM_TIMER, &CPelidoreWnd::OnTimer));
    result.Add(AddMessageFunc(WM_MOVING, &CPelidoreWnd::OnMoving));
    result.Add(AddMessageFunc(WM_SIZING, &CPelidoreWnd::OnSizing));
    result.Add(AddMessageFunc(WM_SIZE, &CPelidoreWnd::OnSize));
    result.Add(AddMessageFunc(WM_MOVE, &CPelidoreWnd::OnMove));
    result.Add(AddMessageFunc(PWM_COMMAND, &CPelidoreWnd::OnCommand));
    result.Add(AddMessageFunc(PWM_QUERY_STATE, &CPelidoreWnd::OnQueryState));
    result.Add(AddMessageFunc(WM_HOTKEY, &CPelidoreWnd::OnHotkey));
    return result.Get();
}

RecordingHost CPelidoreWnd::MakeRecordingHost()
{
    RecordingHost host;
    host.frame = m_Window;
    host.panel = m_Panel.GetHwnd();
    host.readSettings = [this] { return m_Settings.Read(); };
    host.readOptions = [this] { return m_OptionsWnd.GetOptions(); };
    host.markedRegion = [this] { return MarkedRegion(); };
    host.timeLimitSeconds = [this] { return m_Panel.TimeLimit(); };
    host.sizeLimitMb = [this] { return m_Panel.SizeLimit(); };
    host.showState = [this] { Draw(); };
    host.waitForScreen = [this] { WaitForScreenUpdate(); };
    host.showRecording = [this] { ShowPanelRecording(); };
    host.showIdle = [this] { ShowPanelIdle(); };
    host.showSaving = [this](int frames) { ShowSaving(frames); };
    host.showSavingDone = [this] { ShowSavingDone(); };
    host.showSaveTooLarge = [this](int limitMb) { ShowSaveTooLarge(limitMb); };
    host.showCountdown = [this](int) { Draw(); };
    host.runCountdownTicks = [this](bool run) { RunCountdownTicks(run); };
    host.showPaused = [this](bool paused) { ShowPaused(paused); };
    host.gifFinished = [this](const std::filesystem::path& gif) { OnGifFinished(gif); };
    host.showMessage = [this](const std::wstring& message) { m_Panel.ShowMessage(message); };
    return host;
}

void CPelidoreWnd::Shutdown()
{
    m_Recorder.Shutdown();
    m_Hotkeys.UnregisterAll();
}

// Also on every change of the options, and while a hotkey field of the
// Options window listens: the keys pressed then must reach the field.
void CPelidoreWnd::ApplyHotkeys()
{
    if (m_OptionsWnd.IsListeningForHotkey()) {
        m_Hotkeys.UnregisterAll();
        return;
    }
    const CGlobalHotkeys::Registered registered = m_Hotkeys.Apply(m_Window, m_OptionsWnd.GetOptions());
    for (int action = 0; action < CGlobalHotkeys::kActionCount; ++action)
        m_OptionsWnd.SetHotkeyState(action, registered[static_cast<std::size_t>(action)]);
    m_Panel.SetHotkeyTexts(m_OptionsWnd.WorkingHotkeyText(COptionsWnd::kRecordHotkey),
                           m_OptionsWnd.WorkingHotkeyText(COptionsWnd::kPauseHotkey),
                           m_OptionsWnd.WorkingHotkeyText(COptionsWnd::kSnapshotHotkey));
}

// ---- drawing -----------------------------------------------------------------

void CPelidoreWnd::Draw()
{
    const PixelSize window{m_Screen.Width(), m_Screen.Height()};
    m_Screen.ClearRect(0, 0, window.width, window.height);
    if (!IsSaving()) {
        const ScreenRect border = CFrameGeometry::BorderRect(window);
        m_Screen.DrawDashRect(static_cast<float>(m_BorderPhase), Gdiplus::DashStyleDash, 255, 255, 255, border.left,
                              border.top, border.Width(), border.Height());
        // The corner marks reach into the recorded region: a snapshot taken
        // while idle hides them with the centre mark.
        if (!IsRecording() && !m_SnapshotBusy && !IsCountingDown())
            DrawMarks(window);
        if (IsCountingDown())
            DrawCountdown(window);
    }
    m_Screen.Present();
}

// The seconds left, large in the middle of the inside: drawn on the frame's
// own surface, which no grab sees while it shows them (the recording starts
// only once they are gone from the screen).
void CPelidoreWnd::DrawCountdown(PixelSize window)
{
    const ScreenRect inside = CFrameGeometry::BorderRect(window);
    const int height = std::max(16, std::min(kCountdownMaxHeight, inside.Height() * 2 / 3));
    if (height != m_CountdownHeight || !m_CountdownFont.IsCreated()) {
        m_CountdownHeight = height;
        if (FAILED(m_CountdownFont.Create(-height, FW_BOLD, kCountdownFace)))
            return;
    }
    const std::wstring digits = std::to_wstring(m_Recorder.CountdownLeft());
    const RECT box = CNDesktop::ToRect(inside);
    m_Screen.DrawOutlinedText(m_CountdownFont, box, CNTheme::Text(), digits.c_str(), kCentred, true, true, 0);
}

void CPelidoreWnd::DrawMarks(PixelSize window)
{
    const std::pair<Mark, FrameCorner> corners[] = {{kTopLeftMark, FrameCorner::TopLeft},
                                                    {kTopRightMark, FrameCorner::TopRight},
                                                    {kBottomLeftMark, FrameCorner::BottomLeft},
                                                    {kBottomRightMark, FrameCorner::BottomRight}};
    for (const auto& [mark, corner] : corners) {
        const PixelPoint at = CFrameGeometry::CornerMarkOrigin(corner, window);
        m_Screen.DrawImage(m_Marks[mark], at.x, at.y);
    }
    const CNBitmap& centre = m_Marks[kCentreMark];
    const PixelPoint at = CFrameGeometry::CentreMarkOrigin(window, {centre.Width(), centre.Height()});
    m_Screen.DrawImage(centre, at.x, at.y);
}

void CPelidoreWnd::WaitForScreenUpdate()
{
    // A layered window's new look reaches the screen a moment after it is
    // handed over: at the compositor's next frame, or (under Wine) when the
    // thread next waits for messages. Until then a grab still sees the old
    // look, marks and all. Waiting for messages here lets both happen.
    const ULONGLONG until = GetTickCount64() + kScreenUpdateMs;
    for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64())
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(until - now), QS_ALLINPUT, 0);
}

// ---- window messages -----------------------------------------------------------

LRESULT CPelidoreWnd::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    if (BeginPaint(m_Window, &paint))
        EndPaint(m_Window, &paint);
    Draw();
    return 1;
}

LRESULT CPelidoreWnd::OnClose(WPARAM, LPARAM)
{
    PostQuitMessage(0);
    return 1;
}

LRESULT CPelidoreWnd::OnEndSession(WPARAM ending, LPARAM)
{
    // The process may be ended without a return from the message loop.
    if (ending)
        Shutdown();
    return 0;
}

LRESULT CPelidoreWnd::OnHitTest(WPARAM, LPARAM lParam)
{
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(m_Window, &point);
    const ScreenRect frame = CNDesktop::WindowRect(m_Window);
    return static_cast<LRESULT>(CFrameGeometry::HitTest({point.x, point.y}, {frame.Width(), frame.Height()}));
}

LRESULT CPelidoreWnd::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (!info)
        return 0;
    info->ptMinTrackSize = {CFrameGeometry::kMinTrackSize, CFrameGeometry::kMinTrackSize};
    info->ptMaxTrackSize = {CFrameGeometry::kMaxTrackWidth, CFrameGeometry::kMaxTrackHeight};
    return 1;
}

LRESULT CPelidoreWnd::OnTimer(WPARAM timer, LPARAM)
{
    if (timer == kSaveNoteTimer) {
        if (!m_Recorder.IsSaving())
            ShowSavingDone();
        return 0;
    }
    if (timer == kCountdownTimer) {
        m_Recorder.CountdownTick();
        return 1;
    }
    if (timer != kBorderTimer)
        return 0;
    m_BorderPhase = CFrameGeometry::NextBorderPhase(m_BorderPhase);
    Draw();
    return 1;
}

LRESULT CPelidoreWnd::OnHotkey(WPARAM id, LPARAM)
{
    switch (id) {
    case CGlobalHotkeys::kRecord:
        ToggleRecording(RECORD_TOGGLE);
        return 1;
    case CGlobalHotkeys::kPause:
        SetPause(PAUSE_TOGGLE);
        return 1;
    case CGlobalHotkeys::kSnapshot:
        TakeSnapshot();
        return 1;
    default:
        return 0;
    }
}

LRESULT CPelidoreWnd::OnMoving(WPARAM, LPARAM lParam)
{
    auto* proposed = reinterpret_cast<RECT*>(lParam);
    if (!proposed)
        return 0;
    const ScreenRect clamped = CFrameGeometry::ClampMoving(CNDesktop::FromRect(*proposed), CNDesktop::VirtualScreen());
    *proposed = CNDesktop::ToRect(clamped);
    PlacePanel(clamped);
    return 1;
}

LRESULT CPelidoreWnd::OnSizing(WPARAM, LPARAM lParam)
{
    auto* proposed = reinterpret_cast<RECT*>(lParam);
    if (!proposed)
        return 0;
    const ScreenRect clamped = CFrameGeometry::ClampSizing(CNDesktop::FromRect(*proposed), CNDesktop::VirtualScreen());
    *proposed = CNDesktop::ToRect(clamped);
    PlacePanel(clamped);
    return 1;
}

LRESULT CPelidoreWnd::OnSize(WPARAM, LPARAM)
{
    // The surface has just been remade at the new size; it holds nothing.
    Draw();
    return 0;
}

LRESULT CPelidoreWnd::OnMove(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CPelidoreWnd::OnQueryState(WPARAM, LPARAM)
{
    unsigned state = STATE_ANSWERED;
    if (IsRecording())
        state |= STATE_RECORDING;
    if (IsSaving())
        state |= STATE_SAVING;
    if (IsPaused())
        state |= STATE_PAUSED;
    if (IsCountingDown())
        state |= STATE_COUNTING_DOWN;
    MSG waiting;
    if (PeekMessageW(&waiting, m_Window, PWM_COMMAND, PWM_COMMAND, PM_NOREMOVE))
        state |= STATE_COMMANDS_PENDING;
    return static_cast<LRESULT>(state);
}

// ---- commands --------------------------------------------------------------------

LRESULT CPelidoreWnd::OnCommand(WPARAM command, LPARAM argument)
{
    switch (command) {
    case CMD_TOGGLE_RECORDING:
        ToggleRecording(argument);
        break;
    case CMD_TOGGLE_SETUP:
        ToggleTool(m_Setup);
        break;
    case CMD_TOGGLE_OPTIONS:
        ToggleTool(m_OptionsWnd);
        break;
    case CMD_OPTIONS_CHANGED:
    case CMD_HOTKEY_LISTENING:
        ApplyHotkeys();
        break;
    case CMD_SNAPSHOT:
        TakeSnapshot();
        break;
    case CMD_MINIMIZE:
        ShowWindow(m_Window, SW_MINIMIZE);
        break;
    case CMD_TOGGLE_ABOUT:
        ToggleTool(m_About);
        break;
    case CMD_TOGGLE_LOGO:
        ToggleTool(m_Logo);
        break;
    case CMD_QUALITY_CHANGED:
        m_Panel.SetQuality(m_Setup.GetQuality());
        break;
    case CMD_SAVE_FIT:
        m_Save.SetNote(FitStep::Describe(m_Recorder.SaveFitFps(), m_Recorder.SaveFitScale()));
        break;
    case CMD_SAVE_PROGRESS:
        m_Save.SetProgress(static_cast<unsigned>(m_Recorder.SaveTotal()), static_cast<int>(argument));
        break;
    case CMD_LOCKS_CHANGED:
        m_Recorder.ApplyLocks();
        break;
    case CMD_PAUSE:
        SetPause(argument);
        break;
    case CMD_OPEN_WORK_FOLDER:
        OpenWorkFolder();
        break;
    case CMD_SAVE_FINISHED:
        m_Recorder.FinishSaving();
        break;
    case CMD_CANCEL_SAVING:
        // After a save that could not fit, the button closes the window.
        if (!m_Recorder.IsSaving())
            ShowSavingDone();
        m_Recorder.CancelSaving();
        break;
    case CMD_WRITE_FAILED:
        m_Recorder.StopAfterWriteFailure();
        break;
    default:
        // Commands of windows that are not there, or from newer senders.
        break;
    }
    return 1;
}

void CPelidoreWnd::ToggleRecording(LPARAM request)
{
    // While a save runs the store and the exporter are the save thread's.
    if (IsSaving())
        return;
    if (IsRecording() || IsCountingDown()) {
        if (request != RECORD_START)
            m_Recorder.Stop();
    } else if (request != RECORD_STOP) {
        m_Recorder.RequestStart();
    }
}

void CPelidoreWnd::SetPause(LPARAM request)
{
    if (request == PAUSE_ON)
        m_Recorder.Pause();
    else if (request == PAUSE_OFF)
        m_Recorder.Resume();
    else
        m_Recorder.TogglePause();
}

void CPelidoreWnd::TakeSnapshot()
{
    const std::filesystem::path path = COutputPaths(m_Settings.WorkFolder()).Snapshot();
    const bool hideMark = !IsRecording();
    if (hideMark) {
        m_SnapshotBusy = true;
        Draw();
        WaitForScreenUpdate();
    }
    CSnapshot::Take(MarkedRegion(), path);
    if (hideMark) {
        m_SnapshotBusy = false;
        Draw();
    }
}

void CPelidoreWnd::OpenWorkFolder()
{
    const std::filesystem::path folder = m_Settings.WorkFolder();
    ShellExecuteW(m_Window, L"open", L"explorer", folder.c_str(), nullptr, SW_SHOWNORMAL);
}

void CPelidoreWnd::ToggleTool(CToolWnd& tool)
{
    if (tool.IsShown()) {
        tool.Hide();
        return;
    }
    const ScreenRect panel = PanelRect();
    tool.ShowAt(panel.left, panel.top);
}

// ---- the control panel -------------------------------------------------------------

void CPelidoreWnd::PlacePanel(const ScreenRect& frame)
{
    const CNScale before = m_Panel.Scale();
    MovePanelTo(CFrameGeometry::PanelRect(frame, CNDesktop::VirtualScreen(), before));
    // A panel that reached a monitor of another scale took another size on
    // the way: its place at the frame follows.
    if (m_Panel.Scale() != before)
        MovePanelTo(CFrameGeometry::PanelRect(frame, CNDesktop::VirtualScreen(), m_Panel.Scale()));
}

void CPelidoreWnd::MovePanelTo(const ScreenRect& panel)
{
    m_Panel.Move(panel.left, panel.top, ToolWindowMetrics::kWidth, m_Panel.GetHeight(), TRUE);
}

void CPelidoreWnd::ShowPanelRecording()
{
    m_Panel.ShowStopButton();
    SetTimer(m_Window, kBorderTimer, kBorderTimerMs, nullptr);
}

void CPelidoreWnd::RunCountdownTicks(bool run)
{
    if (run)
        SetTimer(m_Window, kCountdownTimer, kCountdownTimerMs, nullptr);
    else
        KillTimer(m_Window, kCountdownTimer);
}

// The border stands still while paused, as the recording does.
void CPelidoreWnd::ShowPaused(bool paused)
{
    m_Panel.SetPaused(paused);
    if (paused)
        KillTimer(m_Window, kBorderTimer);
    else if (IsRecording())
        SetTimer(m_Window, kBorderTimer, kBorderTimerMs, nullptr);
}

void CPelidoreWnd::OnGifFinished(const std::filesystem::path& gif)
{
    const Options& options = m_OptionsWnd.GetOptions();
    if (options.copyAfterSave)
        CSavedGifActions::CopyToClipboard(m_Window, gif);
    if (options.showAfterSave)
        CSavedGifActions::ShowInFolder(gif);
}

void CPelidoreWnd::ShowPanelIdle()
{
    KillTimer(m_Window, kBorderTimer);
    m_Panel.UpdateDisplay(0, 0, 0);
    m_Panel.ShowRecordButton();
}

// While saving the save window takes the panel's place.
void CPelidoreWnd::ShowSaving(int frames)
{
    const ScreenRect panel = PanelRect();
    EnableWindow(m_Panel.GetHwnd(), FALSE);
    m_Panel.Hide();
    KillTimer(m_Window, kSaveNoteTimer);
    m_Save.SetNote({});
    m_Save.SetProgress(static_cast<unsigned>(frames), 0);
    m_Save.ShowAt(panel.left, panel.top);
}

void CPelidoreWnd::ShowSaveTooLarge(int limitMb)
{
    m_Save.SetNote(L"Too large for " + std::to_wstring(limitMb) + L" MB - recording kept", true);
    SetTimer(m_Window, kSaveNoteTimer, kSaveNoteTimerMs, nullptr);
}

void CPelidoreWnd::ShowSavingDone()
{
    KillTimer(m_Window, kSaveNoteTimer);
    m_Save.SetNote({});
    m_Save.Hide();
    EnableWindow(m_Panel.GetHwnd(), TRUE);
    ShowWindow(m_Panel.GetHwnd(), SW_SHOWNORMAL);
    m_Panel.Draw();
}

// Where the panel is, which after a drag of the panel may be above the frame.
ScreenRect CPelidoreWnd::PanelRect() const
{
    const ScreenRect panel = CNDesktop::WindowRect(m_Panel.GetHwnd());
    if (panel.Width() > 0)
        return panel;
    return CFrameGeometry::PanelRect(CNDesktop::WindowRect(m_Window), CNDesktop::VirtualScreen(), m_Panel.Scale());
}

// A minimised frame still marks the place it will be restored to; its window
// rectangle is then the icon's, far off the screen, and would record black.
ScreenRect CPelidoreWnd::MarkedRegion() const
{
    if (!IsIconic(m_Window))
        return CNDesktop::WindowRect(m_Window);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(m_Window, &placement))
        return CNDesktop::WindowRect(m_Window);
    // The restored place is in workspace coordinates: relative to the work
    // area of its monitor, which a taskbar at the top or left shifts.
    const RECT& normal = placement.rcNormalPosition;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST), &monitor))
        return CNDesktop::FromRect(normal);
    const int dx = monitor.rcWork.left - monitor.rcMonitor.left;
    const int dy = monitor.rcWork.top - monitor.rcMonitor.top;
    return {normal.left + dx, normal.top + dy, normal.right + dx, normal.bottom + dy};
}

} // namespace pelidore
