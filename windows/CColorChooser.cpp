#include "CColorChooser.h"

#include <commdlg.h>

#include <algorithm>
#include <iterator>

namespace pelidore {

bool CColorChooser::Choose(HWND owner, POINT anchor, COLORREF& rgb)
{
    COLORREF customColors[16];
    std::fill(std::begin(customColors), std::end(customColors), RGB(255, 255, 255));

    CHOOSECOLORW info = {};
    info.lStructSize = sizeof(info);
    info.hwndOwner = owner;
    info.lpCustColors = customColors;
    info.Flags = CC_FULLOPEN | CC_ENABLEHOOK; // 0x12
    info.lCustData = reinterpret_cast<LPARAM>(&anchor);
    info.lpfnHook = &CColorChooser::HookProc;
    if (!ChooseColorW(&info))
        return false;
    rgb = info.rgbResult;
    return true;
}

POINT CColorChooser::PlaceDialog(POINT anchor, SIZE size, const RECT& workArea)
{
    POINT origin = {anchor.x - size.cx / 3, anchor.y - size.cy / 3};
    // A dialog whose title bar is off the screen cannot be moved back; keep it
    // on the work area as long as it fits there at all.
    origin.x = std::max<LONG>(workArea.left, std::min<LONG>(origin.x, workArea.right - size.cx));
    origin.y = std::max<LONG>(workArea.top, std::min<LONG>(origin.y, workArea.bottom - size.cy));
    return origin;
}

UINT_PTR CALLBACK CColorChooser::HookProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG || lParam == 0)
        return 0;
    const auto* info = reinterpret_cast<const CHOOSECOLORW*>(lParam);
    const auto* anchor = reinterpret_cast<const POINT*>(info->lCustData);
    RECT bounds;
    if (anchor == nullptr || !GetWindowRect(dialog, &bounds))
        return 0;
    const SIZE size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
    const POINT origin = PlaceDialog(*anchor, size, WorkAreaAt(*anchor));
    SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

RECT CColorChooser::WorkAreaAt(POINT point)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &monitor))
        return monitor.rcWork;
    RECT virtualScreen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    virtualScreen.right = virtualScreen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    virtualScreen.bottom = virtualScreen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return virtualScreen;
}

} // namespace pelidore
