#include "CNDpi.h"

#include "CNScale.h"
#include "CNScreenDC.h"

namespace pelidore {

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);

// Looked up rather than linked: the program still starts on Windows 7 and 8.
DpiForWindow DpiForWindowFunction()
{
    static const DpiForWindow function = [] {
        HMODULE user = GetModuleHandleW(L"user32.dll");
        FARPROC found = user ? GetProcAddress(user, "GetDpiForWindow") : nullptr;
        return reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(found));
    }();
    return function;
}

} // namespace

int CNDpi::ForWindow(HWND window)
{
    const DpiForWindow dpiForWindow = DpiForWindowFunction();
    const UINT dpi = window && dpiForWindow ? dpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : ForSystem();
}

int CNDpi::ForSystem()
{
    const CNScreenDC screen;
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : CNScale::kLayoutDpi;
}

} // namespace pelidore
