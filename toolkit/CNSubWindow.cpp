#include "CNSubWindow.h"

namespace pelidore {

namespace {

constexpr const char* kCreateName = "CNSubWindow::Create";

} // namespace

CNSubWindow::CNSubWindow() = default;

CNSubWindow::~CNSubWindow() = default;

HRESULT CNSubWindow::Create(HINSTANCE instance, HWND parent, const wchar_t* className, DWORD exStyle, DWORD style,
                            int x, int y, int width, int height, int show)
{
    // Several sub-windows share a class, so an existing one is not an error.
    if (FAILED(RegisterWindowClass(instance, className, true, kCreateName)))
        return E_FAIL;
    if (FAILED(
            CreateRegistered(instance, parent, className, exStyle, style, x, y, width, height, show != 0, kCreateName)))
        return E_FAIL;
    return OnCreate();
}

} // namespace pelidore
