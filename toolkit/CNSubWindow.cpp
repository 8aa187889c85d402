#include "toolkit/CNSubWindow.h"

CNSubWindow::CNSubWindow() = default;
CNSubWindow::~CNSubWindow() = default;
HRESULT CNSubWindow::Create(HINSTANCE, HWND, const wchar_t*, DWORD, DWORD, int, int, int, int, int) { return E_FAIL; }
