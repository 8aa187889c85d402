#include "CPelidoreWnd.h"

#include "CCaptureGeometry.h"
#include "CFrameGeometry.h"
#include "COutputPaths.h"
#include "CRecordingLimits.h"
#include "CSettingsFolder.h"
#include "CSnapshot.h"
#include "PelidoreCommands.h"
#include "ResourceIds.h"

#include <shellapi.h>

#include <system_error>
#include <utility>

namespace pelidore {

namespace {

static_assert(static_cast<int>(FrameHit::Caption) == HTCAPTION && static_cast<int>(FrameHit::TopLeft) == HTTOPLEFT &&
                  static_cast<int>(FrameHit::TopRight) == HTTOPRIGHT &&
                  static_cast<int>(FrameHit::BottomLeft) == HTBOTTOMLEFT &&
                  static_cast<int>(FrameHit::BottomRight) == HTBOTTOMRIGHT,
              "FrameHit mirrors the Windows hit-test codes");

constexpr DWORD kToolExStyle = WS_EX_LAYERED;
constexpr DWORD kToolStyle = WS_POPUP;
// lParam of command 1: 0 asks only to stop, 1 only to start (the panel's two
// buttons, pelictl, the capture thread's lock report); anything else toggles.
constexpr LPARAM kStopOnly = 0;
constexpr LPARAM kStartOnly = 1;

ScreenRect FromRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

RECT ToRect(const ScreenRect& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void RemoveQuietly(const std::filesystem::path& path)
{
    std::error_code ignored;
    if (!path.empty())
        std::filesystem::remove(path, ignored);
}

} // namespace

CPelidoreWnd::CPelidoreWnd() = default;

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
    m_Recording = m_SnapshotBusy = m_Saving = false;
    m_BorderPhase = 0;
    m_FrameCount = 0;
    SaveKeptStores();
    return 0;
}

HRESULT CPelidoreWnd::CreateToolWindows()
{
    const ScreenRect frame = WindowRect();
    const int x = frame.left + CFrameGeometry::kPanelIndent;
    const int y = frame.bottom - CFrameGeometry::kPanelOverlap;
    struct Tool {
        CToolWnd& window;
        const wchar_t* title;
        int show;
    };
    const Tool tools[] = {
        {m_Panel, CControlWnd::kTitle, 1}, {m_Setup, L"Pelidore - Setup", 0}, {m_Logo, L"Pelidore - Logo", 0},
        {m_About, CAboutWnd::kTitle, 0},   {m_Save, CSaveWnd::kTitle, 0},
    };
    for (const Tool& tool : tools) {
        if (FAILED(tool.window.Create(m_Instance, m_Window, tool.title, kToolExStyle, kToolStyle, x, y,
                                      CToolWnd::kWidth, tool.window.GetHeight(), tool.show)))
            return E_FAIL;
    }
    m_Panel.SetQuality(m_Setup.GetQuality());
    return 0;
}

HRESULT CPelidoreWnd::LoadMarks()
{
    const UINT ids[kMarkCount] = {IDB_MARK_CENTRE, IDB_MARK_TOP_LEFT, IDB_MARK_BOTTOM_LEFT, IDB_MARK_TOP_RIGHT,
                                  IDB_MARK_BOTTOM_RIGHT};
    for (int i = 0; i < kMarkCount; ++i) {
        if (FAILED(m_Marks[i].LoadResource(m_Instance, ids[i])))
            return E_FAIL;
    }
    return 0;
}

HRESULT CPelidoreWnd::AddHandlers()
{
    HRESULT result = 0;
    const auto add = [this, &result](UINT message, LRESULT (CPelidoreWnd::*handler)(WPARAM, LPARAM)) {
        if (FAILED(AddMessageFunc(message, handler)))
            result = E_FAIL;
    };
    add(WM_PAINT, &CPelidoreWnd::OnPaint);
    add(WM_CLOSE, &CPelidoreWnd::OnClose);
    add(WM_ENDSESSION, &CPelidoreWnd::OnEndSession);
    add(WM_NCHITTEST, &CPelidoreWnd::OnHitTest);
    add(WM_GETMINMAXINFO, &CPelidoreWnd::OnGetMinMaxInfo);
    add(WM_TIMER, &CPelidoreWnd::OnTimer);
    add(WM_MOVING, &CPelidoreWnd::OnMoving);
    add(WM_SIZING, &CPelidoreWnd::OnSizing);
    add(WM_SIZE, &CPelidoreWnd::OnSize);
    add(WM_MOVE, &CPelidoreWnd::OnMove);
    add(PWM_COMMAND, &CPelidoreWnd::OnCommand);
    add(PWM_QUERY_STATE, &CPelidoreWnd::OnQueryState);
    return result;
}

// ---- drawing -----------------------------------------------------------------

void CPelidoreWnd::Draw()
{
    const PixelSize window{m_Screen.Width(), m_Screen.Height()};
    m_Screen.ClearRect(0, 0, window.width, window.height);
    if (!m_Saving) {
        const ScreenRect border = CFrameGeometry::BorderRect(window);
        m_Screen.DrawDashRect(static_cast<float>(m_BorderPhase), Gdiplus::DashStyleDash, 255, 255, 255, border.left,
                              border.top, border.Width(), border.Height());
        // The corner marks reach into the recorded region: a snapshot taken
        // while idle hides them with the centre mark.
        if (!m_Recording && !m_SnapshotBusy) {
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
    }
    m_Screen.Present();
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
    const ScreenRect frame = WindowRect();
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
    if (timer != kBorderTimer)
        return 0;
    m_BorderPhase = CFrameGeometry::NextBorderPhase(m_BorderPhase);
    Draw();
    return 1;
}

LRESULT CPelidoreWnd::OnMoving(WPARAM, LPARAM lParam)
{
    auto* proposed = reinterpret_cast<RECT*>(lParam);
    if (!proposed)
        return 0;
    const ScreenRect clamped = CFrameGeometry::ClampMoving(FromRect(*proposed), VirtualScreen());
    *proposed = ToRect(clamped);
    PlacePanel(clamped);
    return 1;
}

LRESULT CPelidoreWnd::OnSizing(WPARAM, LPARAM lParam)
{
    auto* proposed = reinterpret_cast<RECT*>(lParam);
    if (!proposed)
        return 0;
    const ScreenRect clamped = CFrameGeometry::ClampSizing(FromRect(*proposed), VirtualScreen());
    *proposed = ToRect(clamped);
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
    if (m_Recording)
        state |= STATE_RECORDING;
    if (m_Saving)
        state |= STATE_SAVING;
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
    case CMD_SAVE_PROGRESS:
        m_Save.SetProgress(static_cast<unsigned>(m_Saver.Total()), static_cast<int>(argument));
        break;
    case CMD_LOCKS_CHANGED:
        m_Capture.SetLocks(m_Panel.TimeLimit(), m_Panel.SizeLimit());
        break;
    case CMD_OPEN_WORK_FOLDER:
        OpenWorkFolder();
        break;
    case CMD_SAVE_FINISHED:
        FinishSaving();
        break;
    case CMD_CANCEL_SAVING:
        CancelSaving();
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
    if (m_Saving)
        return;
    if (m_Recording) {
        if (request != kStartOnly)
            StopRecording();
    } else if (request != kStopOnly) {
        StartRecording();
    }
}

bool CPelidoreWnd::StartRecording()
{
    const ScreenRect frame = MarkedRegion();
    RecordingSettings settings = ReadSettings();
    const PixelSize capture = CCaptureGeometry::CaptureSize(frame);
    m_Output = CCaptureGeometry::OutputSize(capture, settings.scalePercent);
    if (m_Output.IsEmpty() || !m_Bitmap.Create(m_Output)) {
        AbandonStart(settings);
        return false;
    }
    m_Recording = true;
    Draw();
    WaitForScreenUpdate();
    const bool opened = settings.IsLive() ? OpenLiveOutput(settings) : OpenFrameStore(settings);
    if (!opened) {
        AbandonStart(settings);
        return false;
    }

    m_FrameCount = 0;
    const std::uint32_t startTick = GetTickCount();
    HDC screen = GetDC(nullptr);
    if (screen) {
        m_Bitmap.Grab(screen, CCaptureGeometry::CaptureOrigin(frame), capture,
                      CCaptureGeometry::IsScaled(settings.scalePercent), SRCCOPY);
        ReleaseDC(nullptr, screen);
    }

    CaptureJob job;
    job.frame = m_Window;
    job.panel = m_Panel.GetHwnd();
    job.timeLimitSeconds = m_Panel.TimeLimit();
    job.sizeLimitMb = m_Panel.SizeLimit();
    job.settings = settings;
    job.output = m_Output;
    job.bitmap = &m_Bitmap;
    job.logo = &m_LogoPainter;
    job.startTick = startTick;
    job.region = frame;
    if (settings.IsLive()) {
        job.sink.take = [this](const std::uint8_t* bgr, float delay) {
            return m_Exporter.PushFrame(bgr, false, delay);
        };
        job.sink.progress = [this] {
            return RecordingProgress{static_cast<std::int64_t>(m_Exporter.TotalDuration()), m_Exporter.FileSize(),
                                     m_Exporter.FramesWritten(), m_Exporter.SizeLimit()};
        };
    } else {
        job.sink.take = [this](const std::uint8_t* bgr, float delay) { return m_Store.Append(delay, bgr); };
        job.sink.progress = [this] {
            return RecordingProgress{static_cast<std::int64_t>(m_Store.DelaySum()), 0, m_Store.FramesWritten(), 0};
        };
    }
    if (!m_Capture.Start(job)) {
        AbandonStart(settings);
        return false;
    }
    m_Active = std::move(settings);
    m_Panel.ShowStopButton();
    SetTimer(m_Window, kBorderTimer, kBorderTimerMs, nullptr);
    Draw();
    return true;
}

bool CPelidoreWnd::OpenLiveOutput(const RecordingSettings& settings)
{
    m_GifPath = COutputPaths(settings.workFolder).Gif();
    if (m_GifPath.empty() || !m_Exporter.Start(m_Output.width, m_Output.height, settings.dithering,
                                               settings.transparent, m_GifPath, settings.quality))
        return false;
    m_Exporter.SetSizeLimit(CRecordingLimits::WriterSizeLimit(m_Panel.SizeLimit(), settings.quality));
    return true;
}

bool CPelidoreWnd::OpenFrameStore(const RecordingSettings& settings)
{
    m_StorePath = COutputPaths(settings.workFolder).FrameStore();
    // Without a store the frames would be dropped one by one; better not to
    // record at all than to lose the recording silently.
    return !m_StorePath.empty() && m_Store.Create(m_Output.width, m_Output.height) &&
           m_Store.OpenForWriting(m_StorePath);
}

void CPelidoreWnd::AbandonStart(const RecordingSettings& settings)
{
    // Whatever was opened holds no frame yet; nothing recorded is lost.
    if (settings.IsLive()) {
        if (m_Exporter.IsStarted()) {
            m_Exporter.Stop();
            RemoveQuietly(m_GifPath);
        }
    } else if (m_Store.IsWriting()) {
        m_Store.Close();
        RemoveQuietly(m_StorePath);
    }
    m_Bitmap.Release();
    m_Recording = false;
    ResetPanel();
    Draw();
}

void CPelidoreWnd::StopRecording()
{
    m_FrameCount = m_Capture.Stop();
    m_Recording = false;
    KillTimer(m_Window, kBorderTimer);
    m_Bitmap.Release();
    ResetPanel();
    if (m_Active.IsLive()) {
        m_Exporter.Stop();
        m_LogoPainter.ReleaseCache();
    } else {
        m_Store.Close();
        StartSaving({m_StorePath}, false);
    }
    Draw();
}

void CPelidoreWnd::StartSaving(std::vector<std::filesystem::path> stores, bool mendFirst)
{
    const RecordingSettings settings = ReadSettings();
    SaveJob job;
    job.stores = std::move(stores);
    job.workFolder = settings.workFolder;
    job.options = {settings.dithering, settings.transparent, settings.quality};
    job.mendFirst = mendFirst;
    HidePanel();
    m_Saving = true;
    if (!m_Saver.Start(m_Window, m_Exporter, std::move(job))) {
        // The stores stay in the work folder and are saved at the next start.
        m_Saving = false;
        ShowPanel();
    }
    Draw();
}

void CPelidoreWnd::FinishSaving()
{
    m_Saver.Wait();
    m_Saving = false;
    ShowPanel();
    Draw();
}

void CPelidoreWnd::CancelSaving()
{
    if (m_Saving)
        m_Saver.Cancel();
}

void CPelidoreWnd::SaveKeptStores()
{
    std::vector<std::filesystem::path> stores = COutputPaths(WorkFolder()).KeptFrameStores();
    if (!stores.empty())
        StartSaving(std::move(stores), true);
}

void CPelidoreWnd::Shutdown()
{
    if (m_Recording) {
        m_FrameCount = m_Capture.Stop();
        m_Recording = false;
        if (m_Active.IsLive())
            m_Exporter.Stop();
        else
            m_Store.Close(); // its frame count is in the header; saved at the next start
        m_Bitmap.Release();
    }
    if (m_Saving) {
        m_Saver.Quit();
        m_Saving = false;
    }
}

void CPelidoreWnd::TakeSnapshot()
{
    const std::filesystem::path path = COutputPaths(WorkFolder()).Snapshot();
    const bool hideMark = !m_Recording;
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
    const std::filesystem::path folder = WorkFolder();
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
    const ScreenRect panel = CFrameGeometry::PanelRect(frame, VirtualScreen());
    m_Panel.Move(panel.left, panel.top, panel.Width(), panel.Height(), TRUE);
}

void CPelidoreWnd::ShowPanel()
{
    m_Save.Hide();
    EnableWindow(m_Panel.GetHwnd(), TRUE);
    ShowWindow(m_Panel.GetHwnd(), SW_SHOWNORMAL);
    m_Panel.Draw();
}

// While saving the save window takes the panel's place.
void CPelidoreWnd::HidePanel()
{
    const ScreenRect panel = PanelRect();
    EnableWindow(m_Panel.GetHwnd(), FALSE);
    m_Panel.Hide();
    m_Save.SetProgress(static_cast<unsigned>(m_FrameCount), 0);
    m_Save.ShowAt(panel.left, panel.top);
}

// Called once the capture thread has ended, so no read-out of it is left to
// overwrite the reset.
void CPelidoreWnd::ResetPanel()
{
    m_Panel.UpdateDisplay(0, 0, 0);
    m_Panel.ShowRecordButton();
}

// Where the panel is, which after a drag of the panel may be above the frame.
ScreenRect CPelidoreWnd::PanelRect() const
{
    RECT panel = {};
    if (m_Panel.GetHwnd() && GetWindowRect(m_Panel.GetHwnd(), &panel))
        return FromRect(panel);
    return CFrameGeometry::PanelRect(WindowRect(), VirtualScreen());
}

// ---- settings and places -------------------------------------------------------------

RecordingSettings CPelidoreWnd::ReadSettings() const
{
    RecordingSettings settings;
    m_Setup.GetSettings(settings.framesPerSecond, settings.scalePercent, settings.speedPercent, settings.dithering,
                        settings.transparent);
    settings.quality = m_Setup.GetQuality();
    settings.cursorCapture = m_Setup.IsCursorCapture();
    settings.workFolder = WorkFolder();
    settings.logo = ReadLogo();
    return settings;
}

LogoSettings CPelidoreWnd::ReadLogo() const
{
    LogoSettings logo;
    logo.kind = m_Logo.GetLogoKind();
    logo.corner = m_Logo.GetCorner();
    logo.marginX = m_Logo.GetMarginX();
    logo.marginY = m_Logo.GetMarginY();
    if (logo.kind == LogoSettings::kText) {
        wchar_t text[260] = {};
        wchar_t face[260] = {};
        CNColor fill;
        CNColor outline;
        const int size = m_Logo.GetTextLogo(text, face, fill, outline);
        logo.text = text;
        logo.fontFace = face;
        logo.fontSize = size > 0 ? size : LogoSettings::kDefaultFontSize;
        logo.fillArgb = fill.Argb();
        logo.outlineArgb = outline.Argb();
    } else if (logo.kind == LogoSettings::kImage) {
        wchar_t path[260] = {};
        if (m_Logo.GetImageLogo(path))
            logo.imagePath = path;
    }
    return logo;
}

std::filesystem::path CPelidoreWnd::WorkFolder() const
{
    wchar_t folder[260] = {};
    m_Setup.GetWorkFolder(folder);
    if (folder[0] == L'\0')
        return CSettingsFolder::Default();
    return folder;
}

ScreenRect CPelidoreWnd::WindowRect() const
{
    RECT rect = {};
    GetWindowRect(m_Window, &rect);
    return FromRect(rect);
}

// A minimised frame still marks the place it will be restored to; its window
// rectangle is then the icon's, far off the screen, and would record black.
ScreenRect CPelidoreWnd::MarkedRegion() const
{
    if (!IsIconic(m_Window))
        return WindowRect();
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(m_Window, &placement))
        return WindowRect();
    // The restored place is in workspace coordinates: relative to the work
    // area of its monitor, which a taskbar at the top or left shifts.
    const RECT& normal = placement.rcNormalPosition;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST), &monitor))
        return FromRect(normal);
    const int dx = monitor.rcWork.left - monitor.rcMonitor.left;
    const int dy = monitor.rcWork.top - monitor.rcMonitor.top;
    return {normal.left + dx, normal.top + dy, normal.right + dx, normal.bottom + dy};
}

ScreenRect CPelidoreWnd::VirtualScreen()
{
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

} // namespace pelidore
