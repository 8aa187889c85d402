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

} // namespace pelidore
