#include "CPelidoreWnd.h"

#include "CFrameGeometry.h"
#include "CNCreationResult.h"
#include "CNDesktop.h"
#include "COutputPaths.h"
#include "CSavedGifActions.h"
#include "CSnapshot.h"
#include "PelidoreCommands.h"

#include <shellapi.h>

#include <utility>

namespace pelidore {

namespace {

static_assert(static_cast<int>(FrameHit::Caption) == HTCAPTION && static_cast<int>(FrameHit::TopLeft) == HTTOPLEFT &&
                  static_cast<int>(FrameHit::TopRight) == HTTOPRIGHT &&
                  static_cast<int>(FrameHit::BottomLeft) == HTBOTTOMLEFT &&
                  static_cast<int>(FrameHit::BottomRight) == HTBOTTOMRIGHT,
              "FrameHit mirrors the Windows hit-test codes");


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
    if (FAILED(m_Tools.Create(m_Instance, m_Window)) || FAILED(m_Painter.LoadMarks(m_Instance)) ||
        FAILED(AddHandlers()))
        return E_FAIL;
    m_SnapshotBusy = false;
    m_BorderPhase = 0;
    ApplyHotkeys();
    m_Recorder.Attach(MakeRecordingHost());
    m_Recorder.SaveKeptStores();
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
    host.panel = m_Tools.Panel().GetHwnd();
    host.readSettings = [this] { return m_Settings.Read(); };
    host.readOptions = [this] { return m_Tools.OptionsWindow().GetOptions(); };
    host.markedRegion = [this] { return MarkedRegion(); };
    host.timeLimitSeconds = [this] { return m_Tools.Panel().TimeLimit(); };
    host.sizeLimitMb = [this] { return m_Tools.Panel().SizeLimit(); };
    host.showState = [this] { Draw(); };
    host.waitForScreen = [this] { WaitForScreenUpdate(); };
    host.showRecording = [this] { ShowPanelRecording(); };
    host.showIdle = [this] { ShowPanelIdle(); };
    host.showSaving = [this](int frames) { m_Tools.ShowSaving(frames); };
    host.showSavingDone = [this] { m_Tools.ShowSavingDone(); };
    host.showSaveTooLarge = [this](int limitMb) { m_Tools.ShowSaveTooLarge(limitMb); };
    host.showCountdown = [this](int) { Draw(); };
    host.runCountdownTicks = [this](bool run) { RunCountdownTicks(run); };
    host.showPaused = [this](bool paused) { ShowPaused(paused); };
    host.gifFinished = [this](const std::filesystem::path& gif) { OnGifFinished(gif); };
    host.showReview = [this](CReviewSession& session) { m_Tools.ShowReview(session); };
    host.refreshReview = [this] { m_Tools.Review().Refresh(); };
    host.closeReview = [this] { m_Tools.CloseReview(); };
    host.showMessage = [this](const std::wstring& message) { m_Tools.Panel().ShowMessage(message); };
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
    m_Tools.ApplyHotkeys(m_Hotkeys, m_Window);
}

// ---- drawing -----------------------------------------------------------------

void CPelidoreWnd::Draw()
{
    CFramePainter::Look look;
    look.saving = IsSaving();
    look.showMarks = !IsRecording() && !m_SnapshotBusy && !IsCountingDown();
    look.countdown = m_Recorder.CountdownLeft();
    look.borderPhase = m_BorderPhase;
    m_Painter.Draw(m_Screen, {m_Screen.Width(), m_Screen.Height()}, look);
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
    if (timer == CToolWindows::kSaveNoteTimer) {
        m_Tools.SaveNoteTimeUp(m_Recorder.IsSaving());
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
    m_Tools.PlacePanel(clamped);
    return 1;
}

LRESULT CPelidoreWnd::OnSizing(WPARAM, LPARAM lParam)
{
    auto* proposed = reinterpret_cast<RECT*>(lParam);
    if (!proposed)
        return 0;
    const ScreenRect clamped = CFrameGeometry::ClampSizing(CNDesktop::FromRect(*proposed), CNDesktop::VirtualScreen());
    *proposed = CNDesktop::ToRect(clamped);
    m_Tools.PlacePanel(clamped);
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
    if (m_Recorder.IsReviewing())
        state |= STATE_REVIEWING;
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
        m_Tools.Toggle(m_Tools.Setup());
        break;
    case CMD_TOGGLE_OPTIONS:
        m_Tools.Toggle(m_Tools.OptionsWindow());
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
        m_Tools.Toggle(m_Tools.About());
        break;
    case CMD_TOGGLE_LOGO:
        m_Tools.Toggle(m_Tools.Logo());
        break;
    case CMD_QUALITY_CHANGED:
        m_Tools.Panel().SetQuality(m_Tools.Setup().GetQuality());
        break;
    case CMD_SAVE_FIT:
    case CMD_SAVE_PROGRESS:
    case CMD_SAVE_FINISHED:
    case CMD_CANCEL_SAVING:
        OnSaveCommand(command, argument);
        break;
    case CMD_REVIEW_SAVE:
        m_Recorder.SaveReviewed();
        break;
    case CMD_REVIEW_DISCARD:
        m_Recorder.DiscardReviewed();
        break;
    case CMD_REVIEW_RANGE:
        m_Recorder.ReviewKeepRange(ReviewRangeFirst(argument), ReviewRangeLast(argument));
        break;
    case CMD_REVIEW_DELETE:
        m_Recorder.ReviewDeleteRange(ReviewRangeFirst(argument), ReviewRangeLast(argument));
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
    case CMD_WRITE_FAILED:
        m_Recorder.StopAfterWriteFailure();
        break;
    default:
        // Commands of windows that are not there, or from newer senders.
        break;
    }
    return 1;
}

void CPelidoreWnd::OnSaveCommand(WPARAM command, LPARAM argument)
{
    switch (command) {
    case CMD_SAVE_FIT:
        m_Tools.ShowSaveFit(m_Recorder.SaveFitFps(), m_Recorder.SaveFitScale());
        break;
    case CMD_SAVE_PROGRESS:
        m_Tools.ShowSaveProgress(m_Recorder.SaveTotal(), static_cast<int>(argument));
        break;
    case CMD_SAVE_FINISHED:
        m_Recorder.FinishSaving();
        break;
    case CMD_CANCEL_SAVING:
        // After a save that could not fit, the button closes the window.
        if (!m_Recorder.IsSaving())
            m_Tools.ShowSavingDone();
        m_Recorder.CancelSaving();
        break;
    default:
        break;
    }
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

void CPelidoreWnd::ShowPanelRecording()
{
    m_Tools.Panel().ShowStopButton();
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
    m_Tools.Panel().SetPaused(paused);
    if (paused)
        KillTimer(m_Window, kBorderTimer);
    else if (IsRecording())
        SetTimer(m_Window, kBorderTimer, kBorderTimerMs, nullptr);
}

void CPelidoreWnd::OnGifFinished(const std::filesystem::path& gif)
{
    const Options& options = m_Tools.OptionsWindow().GetOptions();
    if (options.copyAfterSave)
        CSavedGifActions::CopyToClipboard(m_Window, gif);
    if (options.showAfterSave)
        CSavedGifActions::ShowInFolder(gif);
}

void CPelidoreWnd::ShowPanelIdle()
{
    KillTimer(m_Window, kBorderTimer);
    m_Tools.Panel().UpdateDisplay(0, 0, 0);
    m_Tools.Panel().ShowRecordButton();
}

// A minimised frame still marks the place it will be restored to; its
// icon's rectangle would record black.
ScreenRect CPelidoreWnd::MarkedRegion() const
{
    return CNDesktop::RestoredWindowRect(m_Window);
}

} // namespace pelidore
