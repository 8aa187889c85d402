#include "CNDesktop.h"

namespace pelidore {

ScreenRect CNDesktop::VirtualScreen()
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

ScreenRect CNDesktop::WindowRect(HWND window)
{
    RECT rect = {};
    if (!window || !GetWindowRect(window, &rect))
        return {};
    return FromRect(rect);
}

ScreenRect CNDesktop::RestoredWindowRect(HWND window)
{
    if (!IsIconic(window))
        return WindowRect(window);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return WindowRect(window);
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

} // namespace pelidore
