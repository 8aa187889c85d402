#include "UserInput.h"

#include "MessagePump.h"

namespace pelidore {

void UserInput::Click(HWND window, const CNRect& rect)
{
    const LPARAM point = MAKELPARAM(rect.x + rect.width / 2, rect.y + rect.height / 2);
    PostMessageW(window, WM_MOUSEMOVE, 0, point);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(window, WM_LBUTTONUP, 0, point);
}

void UserInput::Key(HWND window, WPARAM key)
{
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

void UserInput::Char(HWND window, wchar_t c)
{
    PostMessageW(window, WM_CHAR, c, 1);
}

bool UserInput::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, bool* quit)
{
    return MessagePump::RunUntil(done, timeoutMs, quit);
}

void UserInput::Pump()
{
    PumpUntil([] { return false; }, 50);
}

bool UserInput::TakeQuit()
{
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

ModalDriver::ModalDriver(HWND window, std::function<void(HWND)> act, DWORD timeoutMs)
    : m_Thread([window, act, timeoutMs] {
          const DWORD start = GetTickCount();
          while (!(IsWindowVisible(window) && IsWindowEnabled(window))) {
              if (GetTickCount() - start > timeoutMs)
                  return;
              Sleep(10);
          }
          act(window);
      })
{
}

ModalDriver::~ModalDriver()
{
    if (m_Thread.joinable())
        m_Thread.join();
}

} // namespace pelidore
