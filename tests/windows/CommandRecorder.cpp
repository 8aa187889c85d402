#include "CommandRecorder.h"

#include "PelidoreCommands.h"

namespace pelidore {

namespace {

constexpr const wchar_t* kClassName = L"PelidoreTestFrame";

} // namespace

CommandRecorder::CommandRecorder()
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &CommandRecorder::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass); // a second recorder finds the class registered
    m_Window = CreateWindowExW(0, kClassName, L"frame", WS_POPUP | WS_VISIBLE, 100, 100, 640, 360, nullptr, nullptr,
                               GetModuleHandleW(nullptr), this);
}

CommandRecorder::~CommandRecorder()
{
    if (m_Window)
        DestroyWindow(m_Window);
}

LRESULT CALLBACK CommandRecorder::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<CommandRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == pelidore::PWM_COMMAND) {
        self->m_Commands.push_back(Command{wParam, lParam});
        self->m_Count.fetch_add(1);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace pelidore
