#include "CLabelWnd.h"

#include "CLabelPlacement.h"
#include "CNDesktop.h"
#include "CNLog.h"
#include "CNTheme.h"

#include <cmath>

namespace pelidore {

namespace {

// Click-through and never active: the pointer stays with the control under
// it, and the label never takes the focus from a window the user types in.
constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
constexpr float kRadius = 5.0f;
constexpr BYTE kBackAlpha = 242;
constexpr int kCentred = 1;

} // namespace

CLabelWnd::CLabelWnd() = default;

CLabelWnd::~CLabelWnd()
{
    Destroy();
}

HRESULT CLabelWnd::CreateHidden(HINSTANCE instance, HWND owner)
{
    return Create(instance, owner, kTitle, kExStyle, WS_POPUP, 0, 0, 2 * kPaddingX, kHeight, 0);
}

void CLabelWnd::ShowFor(const ScreenRect& control, const std::wstring& text)
{
    if (!m_Window || text.empty())
        return;
    m_Text = text;
    const PixelSize size{WidthFor(text), kHeight};
    const PixelPoint at = CLabelPlacement::Place(control, size, WorkAreaOf(control));
    if (!Move(at.x, at.y, size.width, size.height, FALSE))
        NLOG("CLabelWnd::ShowFor", CNLog::kLevelRefused, "MoveWindow fail, error %lu", GetLastError());
    ShowWindow(m_Window, SW_SHOWNOACTIVATE);
    Draw();
}

void CLabelWnd::Hide()
{
    if (m_Window)
        ShowWindow(m_Window, SW_HIDE);
}

bool CLabelWnd::IsShown() const
{
    return m_Window && IsWindowVisible(m_Window);
}

void CLabelWnd::Draw()
{
    const int width = m_Screen.Width();
    const int height = m_Screen.Height();
    m_Screen.ClearRect(0, 0, width, height);
    m_Screen.FillRoundRect(CNTheme::ListEdge(), 0, 0, width, height, kRadius);
    CNColor back = CNTheme::ListBack();
    back.SetAlpha(kBackAlpha);
    m_Screen.FillRoundRect(back, 1, 1, width - 2, height - 2, kRadius - 1.0f);
    const RECT text = {0, 0, width, height};
    m_Screen.DrawText(m_Font, text, CNTheme::Text(), m_Text.c_str(), 0, kCentred, kCentred, true);
    m_Screen.Present();
}

HRESULT CLabelWnd::OnCreate()
{
    if (FAILED(m_Font.Create(CNTheme::kFontHeight, CNTheme::kFontWeight, CNTheme::kFontFace)))
        return E_FAIL;
    return AddMessageFunc(WM_PAINT, &CLabelWnd::OnPaint);
}

int CLabelWnd::WidthFor(const std::wstring& text)
{
    const Gdiplus::SizeF measured = m_Screen.MeasureText(m_Font, text.c_str(), static_cast<int>(text.size()));
    return static_cast<int>(std::ceil(measured.Width)) + 2 * kPaddingX;
}

ScreenRect CLabelWnd::WorkAreaOf(const ScreenRect& control)
{
    const RECT rect = CNDesktop::ToRect(control);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor))
        return CNDesktop::VirtualScreen();
    return CNDesktop::FromRect(monitor.rcWork);
}

LRESULT CLabelWnd::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    if (BeginPaint(m_Window, &paint) != nullptr)
        EndPaint(m_Window, &paint);
    Draw();
    return 1;
}

} // namespace pelidore
