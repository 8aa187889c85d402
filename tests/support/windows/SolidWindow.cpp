#include "SolidWindow.h"

#include "MessagePump.h"

namespace pelidore {

namespace {

const wchar_t kClassName[] = L"PelidoreSolidTestWindow";

bool RegisterOnce(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

SolidWindow::SolidWindow(int x, int y, int width, int height, COLORREF colour) : m_Colour(colour)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterOnce(instance, &SolidWindow::WindowProc))
        return;
    m_Window = CreateWindowExW(0, kClassName, L"solid", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                               instance, this);
    Pump(150);
}

SolidWindow::~SolidWindow()
{
    if (m_Window)
        DestroyWindow(m_Window);
}

void SolidWindow::SetColour(COLORREF colour)
{
    m_Colour = colour;
    InvalidateRect(m_Window, nullptr, TRUE);
    Pump(100);
}

void SolidWindow::Pump(unsigned milliseconds)
{
    MessagePump::RunFor(milliseconds);
}

LRESULT CALLBACK SolidWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SolidWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(window, &client);
        HBRUSH brush = CreateSolidBrush(self->m_Colour);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace pelidore
