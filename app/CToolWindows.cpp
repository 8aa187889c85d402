#include "CToolWindows.h"

#include "CFrameGeometry.h"
#include "CNDesktop.h"
#include "CNDpi.h"
#include "FitStep.h"
#include "ToolWindowMetrics.h"

#include <algorithm>
#include <string>

namespace pelidore {

namespace {

constexpr DWORD kToolExStyle = WS_EX_LAYERED;
constexpr DWORD kToolStyle = WS_POPUP;

static_assert(COptionsWnd::kRecordHotkey == CGlobalHotkeys::kRecord - 1 &&
                  COptionsWnd::kPauseHotkey == CGlobalHotkeys::kPause - 1 &&
                  COptionsWnd::kSnapshotHotkey == CGlobalHotkeys::kSnapshot - 1,
              "the Options window's hotkey rows follow the hotkey actions");

} // namespace

HRESULT CToolWindows::Create(HINSTANCE instance, HWND frame)
{
    m_Frame = frame;
    const ScreenRect place = CNDesktop::WindowRect(frame);
    // The tool windows take the frame's monitor's scale (CNDpi of their parent).
    const ToolWindowMetrics::PanelPixels panel = ToolWindowMetrics::Panel(CNScale(CNDpi::ForWindow(frame)));
    const int x = place.left + panel.indent;
    const int y = place.bottom - panel.overlap;
    struct Tool {
        CToolWnd& window;
        const wchar_t* title;
        int show;
    };
    const Tool tools[] = {
        {m_Panel, CControlWnd::kTitle, 1}, {m_Setup, L"Pelidore - Setup", 0}, {m_Logo, L"Pelidore - Logo", 0},
        {m_About, CAboutWnd::kTitle, 0},   {m_Save, CSaveWnd::kTitle, 0},     {m_Options, COptionsWnd::kTitle, 0},
        {m_Review, CReviewWnd::kTitle, 0},
    };
    m_Options.SetSettingsFolder(m_Setup.GetSettingsFolder());
    for (const Tool& tool : tools) {
        if (FAILED(tool.window.Create(instance, frame, tool.title, kToolExStyle, kToolStyle, x, y,
                                      tool.window.GetWidth(), tool.window.GetHeight(), tool.show)))
            return E_FAIL;
    }
    m_Panel.SetQuality(m_Setup.GetQuality());
    return S_OK;
}

void CToolWindows::ApplyHotkeys(CGlobalHotkeys& hotkeys, HWND frame)
{
    if (m_Options.IsListeningForHotkey()) {
        hotkeys.UnregisterAll();
        return;
    }
    const CGlobalHotkeys::Registered registered = hotkeys.Apply(frame, m_Options.GetOptions());
    for (int action = 0; action < CGlobalHotkeys::kActionCount; ++action)
        m_Options.SetHotkeyState(action, registered[static_cast<std::size_t>(action)]);
    m_Panel.SetHotkeyTexts(m_Options.WorkingHotkeyText(COptionsWnd::kRecordHotkey),
                           m_Options.WorkingHotkeyText(COptionsWnd::kPauseHotkey),
                           m_Options.WorkingHotkeyText(COptionsWnd::kSnapshotHotkey));
}

void CToolWindows::Toggle(CToolWnd& tool)
{
    if (tool.IsShown()) {
        tool.Hide();
        return;
    }
    const ScreenRect panel = PanelRect();
    const PixelPoint at = PlaceOnMonitor(tool, panel.left, panel.top);
    tool.ShowAt(at.x, at.y);
}

// Placed before it shows, so that no one sees it, nor clicks it, off its place.
PixelPoint CToolWindows::PlaceOnMonitor(const CToolWnd& tool, int x, int y)
{
    const int width = tool.Scale().ToPixels(tool.GetWidth());
    const int height = tool.Scale().ToPixels(tool.GetHeight());
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), &monitor))
        return {x, y};
    const RECT& work = monitor.rcWork;
    return {std::max<int>(work.left, std::min<int>(x, work.right - width)),
            std::max<int>(work.top, std::min<int>(y, work.bottom - height))};
}

void CToolWindows::PlacePanel(const ScreenRect& frame)
{
    const CNScale before = m_Panel.Scale();
    MovePanelTo(CFrameGeometry::PanelRect(frame, CNDesktop::VirtualScreen(), before));
    // A panel that reached a monitor of another scale took another size on
    // the way: its place at the frame follows.
    if (m_Panel.Scale() != before)
        MovePanelTo(CFrameGeometry::PanelRect(frame, CNDesktop::VirtualScreen(), m_Panel.Scale()));
}

void CToolWindows::MovePanelTo(const ScreenRect& panel)
{
    m_Panel.Move(panel.left, panel.top, ToolWindowMetrics::kWidth, m_Panel.GetHeight(), TRUE);
}

ScreenRect CToolWindows::PanelRect() const
{
    const ScreenRect panel = CNDesktop::WindowRect(m_Panel.GetHwnd());
    if (panel.Width() > 0)
        return panel;
    return CFrameGeometry::PanelRect(CNDesktop::WindowRect(m_Frame), CNDesktop::VirtualScreen(), m_Panel.Scale());
}

void CToolWindows::HidePanel()
{
    EnableWindow(m_Panel.GetHwnd(), FALSE);
    m_Panel.Hide();
}

void CToolWindows::ShowPanel()
{
    EnableWindow(m_Panel.GetHwnd(), TRUE);
    ShowWindow(m_Panel.GetHwnd(), SW_SHOWNORMAL);
    m_Panel.Draw();
}

void CToolWindows::ShowReview(CReviewSession& session)
{
    const ScreenRect panel = PanelRect();
    const PixelPoint at = PlaceOnMonitor(m_Review, panel.left, panel.top);
    HidePanel();
    m_Review.Open(session.Kept(), session.Width(), session.Height(),
                  [&session](int frame) { return session.FrameAt(frame); }, at.x, at.y);
}

void CToolWindows::CloseReview()
{
    m_Review.Close();
    ShowPanel();
}

void CToolWindows::ShowSaving(int frames)
{
    const ScreenRect panel = PanelRect();
    HidePanel();
    KillTimer(m_Frame, kSaveNoteTimer);
    m_Save.SetNote({});
    m_Save.SetProgress(static_cast<unsigned>(frames), 0);
    m_Save.ShowAt(panel.left, panel.top);
}

void CToolWindows::ShowSaveProgress(int total, int done)
{
    m_Save.SetProgress(static_cast<unsigned>(total), done);
}

void CToolWindows::ShowSaveFit(int keptFps, int scalePercent)
{
    m_Save.SetNote(FitStep::Describe(keptFps, scalePercent));
}

void CToolWindows::ShowSaveTooLarge(int limitMb)
{
    m_Save.SetNote(L"Too large for " + std::to_wstring(limitMb) + L" MB - recording kept", true);
    SetTimer(m_Frame, kSaveNoteTimer, kSaveNoteTimerMs, nullptr);
}

void CToolWindows::SaveNoteTimeUp(bool stillSaving)
{
    if (!stillSaving)
        ShowSavingDone();
}

void CToolWindows::ShowSavingDone()
{
    KillTimer(m_Frame, kSaveNoteTimer);
    m_Save.SetNote({});
    m_Save.Hide();
    ShowPanel();
}

} // namespace pelidore
