#include "CMouseHook.h"

namespace pelidore {

CClickLatch* CMouseHook::s_Latch = nullptr;

CMouseHook::~CMouseHook()
{
    Remove();
}

bool CMouseHook::Install(CClickLatch& latch)
{
    if (m_Hook || s_Latch)
        return false;
    latch.Reset();
    s_Latch = &latch;
    m_Hook = SetWindowsHookExW(WH_MOUSE_LL, &CMouseHook::Procedure, GetModuleHandleW(nullptr), 0);
    if (!m_Hook) {
        s_Latch = nullptr;
        return false;
    }
    // A button already held when the recording starts shows from its first frame.
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000)
        latch.Press(MouseButton::Left);
    if (GetAsyncKeyState(VK_RBUTTON) & 0x8000)
        latch.Press(MouseButton::Right);
    return true;
}

void CMouseHook::Remove()
{
    if (!m_Hook)
        return;
    UnhookWindowsHookEx(m_Hook);
    m_Hook = nullptr;
    s_Latch = nullptr;
}

LRESULT CALLBACK CMouseHook::Procedure(int code, WPARAM message, LPARAM details)
{
    if (code == HC_ACTION && s_Latch) {
        switch (message) {
        case WM_LBUTTONDOWN:
            s_Latch->Press(MouseButton::Left);
            break;
        case WM_LBUTTONUP:
            s_Latch->Release(MouseButton::Left);
            break;
        case WM_RBUTTONDOWN:
            s_Latch->Press(MouseButton::Right);
            break;
        case WM_RBUTTONUP:
            s_Latch->Release(MouseButton::Right);
            break;
        default:
            break;
        }
    }
    return CallNextHookEx(nullptr, code, message, details);
}

} // namespace pelidore
