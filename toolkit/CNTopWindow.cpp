#include "toolkit/CNTopWindow.h"

CNTopWindow::CNTopWindow() = default;
CNTopWindow::~CNTopWindow() = default;
HRESULT CNTopWindow::Create(HINSTANCE instance, HWND, const wchar_t*, DWORD, DWORD, int x, int y, int, int, int)
{
    return Create(instance, x, y);
}
HRESULT CNTopWindow::Create(HINSTANCE, int, int) { return E_FAIL; }
CNTopWindow* CNTopWindow::Instance() { return nullptr; }
HINSTANCE CNTopWindow::ModuleInstance() { return GetModuleHandleW(nullptr); }
