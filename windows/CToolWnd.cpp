#include "windows/CToolWnd.h"

#include "app/PelidoreCommands.h"
#include "toolkit/CNControlBase.h"

CToolWnd::CToolWnd(int height) : m_nHeight(height) {}

CToolWnd::~CToolWnd() = default;

void CToolWnd::ShowAt(int x, int y)
{
    if (m_hWnd == nullptr)
        return;
    Move(x, y, kWidth, m_nHeight, FALSE);
    ShowWindow(m_hWnd, SW_SHOWNORMAL);
    Draw();
}

void CToolWnd::Hide()
{
    if (m_hWnd != nullptr)
        ShowWindow(m_hWnd, SW_HIDE);
}

bool CToolWnd::IsShown() const
{
    return m_hWnd != nullptr && IsWindowVisible(m_hWnd);
}

CNControlBase* CToolWnd::FindControl(int id) const
{
    for (CNControlBase* control : m_Children) {
        if (control->GetId() == id)
            return control;
    }
    return nullptr;
}

HRESULT CToolWnd::AddToolHandlers()
{
    HRESULT result = S_OK;
    auto add = [&result](HRESULT added) {
        if (FAILED(added))
            result = added;
    };
    add(AddMessageFunc(WM_PAINT, &CToolWnd::OnPaint));
    add(AddMessageFunc(WM_CLOSE, &CToolWnd::OnClose));
    add(AddMessageFunc(WM_NCHITTEST, &CToolWnd::OnNcHitTest));
    return result;
}

LRESULT CToolWnd::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pMouseTarget == nullptr || !IsForwardedMouseMessage(message))
        return 0;
    // Returning non-zero keeps the message from the other controls: the
    // wheel over an open list must scroll the list, not a slider under it.
    m_pMouseTarget->ProcessMessage(window, message, wParam, lParam);
    return 1;
}

void CToolWnd::PostToOwner(unsigned int command) const
{
    HWND owner = Owner();
    if (owner != nullptr)
        PostMessageW(owner, pelidore::PWM_COMMAND, command, 0);
}

bool CToolWnd::IsCaptionPoint(int x, int y) const
{
    if (x <= 0 || x >= kWidth || y > kCaptionHeight)
        return false;
    for (const CNControlBase* control : m_Children) {
        if (control->IsVisible() && control->HitTest(x, y))
            return false;
    }
    return true;
}

LRESULT CToolWnd::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    if (BeginPaint(m_hWnd, &paint) != nullptr)
        EndPaint(m_hWnd, &paint);
    Draw();
    return 1;
}

LRESULT CToolWnd::OnClose(WPARAM, LPARAM)
{
    Hide();
    return 1;
}

LRESULT CToolWnd::OnNcHitTest(WPARAM, LPARAM lParam)
{
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!ScreenToClient(m_hWnd, &point))
        return 0;
    // 0 lets the default procedure answer (HTCLIENT).
    return IsCaptionPoint(point.x, point.y) ? HTCAPTION : 0;
}

bool CToolWnd::IsForwardedMouseMessage(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEWHEEL:
    case WM_MOUSELEAVE:
        return true;
    default:
        return false;
    }
}

HWND CToolWnd::Owner() const
{
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    return owner != nullptr ? owner : GetParent(m_hWnd);
}
