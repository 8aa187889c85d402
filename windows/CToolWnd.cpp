#include "CToolWnd.h"

#include "CNAlphaButton.h"
#include "CNCombo.h"
#include "CNControlBase.h"
#include "CNCreationResult.h"
#include "CNLog.h"
#include "CNTheme.h"
#include "CNTopWindow.h"
#include "PelidoreCommands.h"
#include "ResourceIds.h"

namespace pelidore {

CToolWnd::CToolWnd(int height, UINT backgroundId, int width)
    : m_Height(height), m_Width(width), m_BackgroundId(backgroundId)
{
}

CToolWnd::~CToolWnd() = default;

void CToolWnd::ShowAt(int x, int y)
{
    if (m_Window == nullptr)
        return;
    Move(x, y, m_Width, m_Height, FALSE);
    ShowWindow(m_Window, SW_SHOWNORMAL);
    Draw();
}

void CToolWnd::Hide()
{
    if (m_Window != nullptr)
        ShowWindow(m_Window, SW_HIDE);
}

bool CToolWnd::IsShown() const
{
    return m_Window != nullptr && IsWindowVisible(m_Window);
}

CNControlBase* CToolWnd::FindControl(int id) const
{
    for (CNControlBase* control : m_Children) {
        if (control->GetId() == id)
            return control;
    }
    return nullptr;
}

void CToolWnd::Draw()
{
    m_Screen.ClearRect(0, 0, m_Screen.LayoutWidth(), m_Screen.LayoutHeight());
    m_Screen.DrawImage(m_Background, 0, 0);
    DrawDecorations();
    CNSubWindow::Draw();
}

void CToolWnd::DrawDecorations() {}

HRESULT CToolWnd::CreateFrame(CNAlphaButton& closeButton)
{
    CNCreationResult result;
    result.Add(LoadBackground());
    // 5 units in from the top right corner, whatever the window's width.
    const int left = m_Width - 31;
    result.Add(AddButton(closeButton, kCloseButtonId, {left, 5, left + 26, 5 + 26}, IDB_CLOSE, IDB_CLOSE_PRESSED,
                         CNButton::kPush));
    return result.Get();
}

HRESULT CToolWnd::LoadBackground()
{
    return m_Background.LoadResource(CNTopWindow::ModuleInstance(), m_BackgroundId);
}

HRESULT CToolWnd::AddButton(CNAlphaButton& button, int id, const RECT& place, UINT normalId, UINT pressedId, int kind)
{
    CNCreationResult result;
    result.Add(button.Create(m_Window, &m_Screen, id, place.left, place.top, place.right - place.left,
                             place.bottom - place.top, 1));
    result.Add(button.SetImages(normalId, pressedId, 0, 0, kind));
    result.Add(AddChild(&button));
    return result.Get();
}

HRESULT CToolWnd::AddCheckBox(CNAlphaButton& box, int id, int x, int y, int width, const wchar_t* label)
{
    const HRESULT result =
        AddButton(box, id, {x, y, x + width, y + 16}, IDB_CHECK_BOX, IDB_CHECK_BOX_CHECKED, CNButton::kCheck);
    box.SetText(label);
    box.SetTextColor(CNTheme::Text());
    return result;
}

HRESULT CToolWnd::AddCombo(CNCombo& combo, int id, int x, int y, int width, const UINT (&images)[3], int dropX,
                           int itemWidth)
{
    CNCreationResult result;
    result.Add(combo.Create(m_Window, &m_Screen, id, x, y, width, 20, 1));
    result.Add(combo.SetImages(images[0], images[1], images[2]));
    result.Add(combo.SetDropButton(x + dropX, y + 4, 13, 10, IDB_DROP_ARROW, IDB_DROP_ARROW_PRESSED));
    combo.SetItemSize(itemWidth, 15);
    result.Add(AddChild(&combo));
    return result.Get();
}

HRESULT CToolWnd::AddToolHandlers()
{
    CNCreationResult result;
    result.Add(AddMessageFunc(WM_PAINT, &CToolWnd::OnPaint));
    result.Add(AddMessageFunc(WM_CLOSE, &CToolWnd::OnClose));
    result.Add(AddMessageFunc(WM_NCHITTEST, &CToolWnd::OnNcHitTest));
    return result.Get();
}

LRESULT CToolWnd::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_MouseTarget == nullptr || !IsForwardedMouseMessage(message))
        return 0;
    // Returning non-zero keeps the message from the other controls: the
    // wheel over an open list must scroll the list, not a slider under it.
    m_MouseTarget->ProcessMessage(window, message, wParam, lParam);
    return 1;
}

void CToolWnd::PostToOwner(unsigned int command, LPARAM argument) const
{
    HWND owner = Owner();
    if (!owner || !PostMessageW(owner, PWM_COMMAND, command, argument))
        NLOG("CToolWnd::PostToOwner", CNLog::kLevelRefused, "command %u not posted", command);
}

bool CToolWnd::IsCaptionPoint(int x, int y) const
{
    if (x <= 0 || x >= m_Width || y > kCaptionHeight)
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
    if (BeginPaint(m_Window, &paint) != nullptr)
        EndPaint(m_Window, &paint);
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
    if (!ScreenToLayout(point))
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
    HWND owner = GetWindow(m_Window, GW_OWNER);
    return owner != nullptr ? owner : GetParent(m_Window);
}

} // namespace pelidore
