#include "CNWindowBase.h"

#include "CNControlBase.h"
#include "CNDpi.h"
#include "CNLog.h"
#include "CNRect.h"
#include "NMessages.h"

#include <algorithm>
#include <vector>

namespace pelidore {

namespace {

constexpr const char* kCreateName = "CNWindowBase::Create";
constexpr const char* kScaleName = "CNWindowBase::Scale";
constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
// Defined by the headers only for Windows 10 builds; the program targets 7.
constexpr UINT kGetDpiScaledSize = 0x02E4;

// The mouse messages whose lParam is a point in client pixels (the wheels
// carry screen pixels).
bool IsClientMouseMessage(UINT message)
{
    if (message == WM_MOUSEHOVER)
        return true;
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL;
}

} // namespace

CNWindowBase::CNWindowBase() = default;

CNWindowBase::~CNWindowBase()
{
    DestroyDetached();
}

HRESULT CNWindowBase::Create(HINSTANCE instance, HWND parent, const wchar_t* className, DWORD exStyle, DWORD style,
                             int x, int y, int width, int height, int show)
{
    if (FAILED(RegisterWindowClass(instance, className, false, kCreateName)))
        return E_FAIL;
    if (FAILED(
            CreateRegistered(instance, parent, className, exStyle, style, x, y, width, height, show != 0, kCreateName)))
        return E_FAIL;
    return OnCreate();
}

LRESULT CNWindowBase::OnMessage(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

void CNWindowBase::Draw()
{
    // Copied: a control's drawing may add or release controls.
    std::vector<CNControlBase*> children(m_Children.begin(), m_Children.end());
    for (CNControlBase* child : children)
        child->Draw(0);
    m_Screen.Present();
}

HRESULT CNWindowBase::OnCreate()
{
    return S_OK;
}

void CNWindowBase::OnHook() {}

int CNWindowBase::OnHookValue(int)
{
    return 0;
}

void CNWindowBase::OnMove(int, int, int, int) {}

void CNWindowBase::OnScaleChanged() {}

LRESULT CNWindowBase::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kGetDpiScaledSize && m_FollowsDpi)
        return ReportScaledSize(wParam, lParam);
    // Inside the window points are layout units; the default procedure gets
    // what the system sent.
    const LPARAM inside = IsClientMouseMessage(message) ? ToLayoutPoint(lParam) : lParam;
    const LRESULT hooked = OnMessage(window, message, wParam, inside);
    if (hooked == 0)
        OfferToChildren(window, message, wParam, inside);
    RunBuiltInReactions(window, message, wParam, inside);
    if (hooked != 0)
        return hooked;
    const LRESULT handled = DispatchMap(message, wParam, inside);
    if (handled != 0)
        return handled;
    return DefWindowProcW(window, message, wParam, lParam);
}

HRESULT CNWindowBase::AddChild(CNControlBase* control)
{
    if (!control) {
        NLOG("CNWindowBase::AddChild", CNLog::kLevelRefused, "control is NULL");
        return E_FAIL;
    }
    const int id = control->GetId();
    for (const CNControlBase* child : m_Children) {
        if (child->GetId() == id) {
            NLOG("CNWindowBase::AddChild", CNLog::kLevelRefused, "find same window id %d", id);
            return E_FAIL;
        }
    }
    m_Children.push_back(control);
    return S_OK;
}

void CNWindowBase::ReleaseChildren()
{
    std::list<CNControlBase*> children;
    children.swap(m_Children);
    for (CNControlBase* child : children)
        child->Release();
}

BOOL CNWindowBase::Move(int x, int y, int width, int height, BOOL repaint)
{
    m_LayoutWidth = width;
    m_LayoutHeight = height;
    RECT before = {};
    const bool known = m_Window && GetWindowRect(m_Window, &before);
    const int pixelWidth = m_Scale.ToPixels(width);
    const int pixelHeight = m_Scale.ToPixels(height);
    const BOOL moved = MoveWindow(m_Window, x, y, pixelWidth, pixelHeight, repaint);
    bool resized = !known || before.right - before.left != pixelWidth || before.bottom - before.top != pixelHeight;
    if (moved && FollowMonitor())
        resized = true;
    if (moved && resized) {
        const int mode = m_Screen.Mode();
        m_Screen.Release();
        if (FAILED(m_Screen.Init(m_Window, m_Dc, mode)))
            NLOG("CNWindowBase::Move", CNLog::kLevelCreateFailed, "m_Screen.Init fail");
    }
    OnMove(x, y, width, height);
    return moved;
}

bool CNWindowBase::ScreenToLayout(POINT& point) const
{
    if (!m_Window || !ScreenToClient(m_Window, &point))
        return false;
    point.x = m_Scale.ToLayout(static_cast<int>(point.x));
    point.y = m_Scale.ToLayout(static_cast<int>(point.y));
    return true;
}

POINT CNWindowBase::LayoutToScreen(int x, int y) const
{
    POINT point{m_Scale.ToPixels(x), m_Scale.ToPixels(y)};
    if (m_Window)
        ClientToScreen(m_Window, &point);
    return point;
}

void CNWindowBase::Destroy()
{
    if (!m_Window)
        return;
    HWND window = m_Window;
    if (!DestroyWindow(window)) {
        // Not destroyable from here (another thread's window): at least make
        // sure no later message reaches this object through the stale slot.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        ForgetWindow();
    }
}

void CNWindowBase::DestroyDetached()
{
    if (!m_Window)
        return;
    HWND window = m_Window;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ForgetWindow();
    DestroyWindow(window);
}

LRESULT CALLBACK CNWindowBase::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = creation ? static_cast<CNWindowBase*>(creation->lpCreateParams) : nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self)
            self->m_Window = window;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    auto* self = reinterpret_cast<CNWindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const LRESULT result = self->WindowProc(window, message, wParam, lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->ForgetWindow();
        return result;
    }
    return self->WindowProc(window, message, wParam, lParam);
}

HRESULT CNWindowBase::RegisterWindowClass(HINSTANCE instance, const wchar_t* className, bool allowExisting,
                                          const char* logName)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = kClassStyle;
    windowClass.lpfnWndProc = &CNWindowBase::StaticWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    if (className && RegisterClassExW(&windowClass) != 0)
        return S_OK;
    if (className && allowExisting && GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
        return S_OK;
    NLOG(logName, CNLog::kLevelRefused, "RegisterClass fail");
    return E_FAIL;
}

HRESULT CNWindowBase::CreateRegistered(HINSTANCE instance, HWND parent, const wchar_t* className, DWORD exStyle,
                                       DWORD style, int x, int y, int width, int height, bool show, const char* logName)
{
    if (m_Window) {
        NLOG(logName, CNLog::kLevelRefused, "window already created");
        return E_FAIL;
    }
    m_Instance = instance;
    m_LayoutWidth = width;
    m_LayoutHeight = height;
    if (m_FollowsDpi)
        SetScale(CNScale(CNDpi::ForWindow(parent)));
    HWND window = CreateWindowExW(exStyle, className, className, style, x, y, m_Scale.ToPixels(width),
                                  m_Scale.ToPixels(height), parent, nullptr, instance, this);
    if (!window) {
        m_Window = nullptr;
        NLOG(logName, CNLog::kLevelCreateFailed, "InitInstance fail");
        return E_FAIL;
    }
    m_Window = window;
    FollowMonitor();
    if (show)
        ShowWindow(window, SW_SHOW);
    m_Dc = GetDC(window);
    const int mode = (exStyle & WS_EX_LAYERED) ? CNScreen::kModeLayered : CNScreen::kModeOrdinary;
    if (!m_Dc || FAILED(m_Screen.Init(window, m_Dc, mode))) {
        NLOG(logName, CNLog::kLevelCreateFailed, "m_Screen.Init fail");
        return E_FAIL;
    }
    m_Tracking = 0;
    return S_OK;
}

void CNWindowBase::RunBuiltInReactions(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        m_Screen.Resize();
        break;
    case WM_MOUSEMOVE:
        ArmMouseTracking(window);
        break;
    case WM_MOUSELEAVE:
        m_Tracking = 0;
        break;
    case NWM_CONTROL_UPDATE:
        PresentControl(wParam, lParam);
        break;
    case NWM_RECT_UPDATE:
        PresentRectMessage(wParam, lParam);
        break;
    case NWM_REDRAW:
        Draw();
        break;
    case WM_DPICHANGED:
        ApplyDpiChange(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        break;
    default:
        break;
    }
}

void CNWindowBase::OfferToChildren(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Copied: a child's handler may add or release controls meanwhile.
    std::vector<CNControlBase*> children(m_Children.rbegin(), m_Children.rend());
    for (CNControlBase* child : children)
        child->ProcessMessage(window, message, wParam, lParam);
}

void CNWindowBase::ArmMouseTracking(HWND window)
{
    if (m_Tracking != 0)
        return;
    TRACKMOUSEEVENT request = {};
    request.cbSize = sizeof(request);
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = window;
    request.dwHoverTime = HOVER_DEFAULT;
    m_Tracking = TrackMouseEvent(&request) ? 1 : 0;
}

void CNWindowBase::PresentControl(WPARAM, LPARAM control)
{
    // The message was posted, so the control may be gone by now: only a
    // control still in the list is read; any other one gets the whole surface.
    auto* posted = reinterpret_cast<CNControlBase*>(control);
    auto found = std::find(m_Children.begin(), m_Children.end(), posted);
    if (found == m_Children.end()) {
        m_Screen.Present();
        return;
    }
    const CNRect rect = posted->GetRect();
    m_Screen.PresentRect(rect.x, rect.y, rect.width, rect.height);
}

void CNWindowBase::PresentRectMessage(WPARAM wParam, LPARAM rect)
{
    auto* area = reinterpret_cast<CNRect*>(rect);
    if (!area)
        return;
    m_Screen.PresentRect(area->x, area->y, area->width, area->height);
    if (wParam == NWM_RECT_DELETE)
        delete area;
}

void CNWindowBase::SetScale(const CNScale& scale)
{
    m_Scale = scale;
    m_Screen.SetScale(scale);
}

bool CNWindowBase::FollowMonitor()
{
    if (!m_FollowsDpi || !m_Window)
        return false;
    const int dpi = CNDpi::ForWindow(m_Window);
    if (dpi == m_Scale.Dpi())
        return false;
    SetScale(CNScale(dpi));
    if (!SetWindowPos(m_Window, nullptr, 0, 0, m_Scale.ToPixels(m_LayoutWidth), m_Scale.ToPixels(m_LayoutHeight),
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
        NLOG(kScaleName, CNLog::kLevelRefused, "SetWindowPos fail, error %lu", GetLastError());
    OnScaleChanged();
    return true;
}

// The window goes where the system suggests on its new monitor, at its layout
// size for the new scale: what ReportScaledSize told the system, so the
// suggested size too, without a pixel lost to the system's own rounding.
void CNWindowBase::ApplyDpiChange(int dpi, const RECT* suggested)
{
    if (!m_FollowsDpi || !m_Window || dpi <= 0)
        return;
    SetScale(CNScale(dpi));
    RECT place = {};
    if (suggested)
        place = *suggested;
    else if (!GetWindowRect(m_Window, &place))
        return;
    if (!SetWindowPos(m_Window, nullptr, place.left, place.top, m_Scale.ToPixels(m_LayoutWidth),
                      m_Scale.ToPixels(m_LayoutHeight), SWP_NOZORDER | SWP_NOACTIVATE))
        NLOG(kScaleName, CNLog::kLevelRefused, "SetWindowPos fail, error %lu", GetLastError());
    OnScaleChanged();
    Draw();
}

LRESULT CNWindowBase::ReportScaledSize(WPARAM dpi, LPARAM size) const
{
    auto* scaled = reinterpret_cast<SIZE*>(size);
    if (!scaled)
        return FALSE;
    const CNScale next(static_cast<int>(dpi));
    scaled->cx = next.ToPixels(m_LayoutWidth);
    scaled->cy = next.ToPixels(m_LayoutHeight);
    return TRUE;
}

LPARAM CNWindowBase::ToLayoutPoint(LPARAM point) const
{
    if (m_Scale.IsIdentity())
        return point;
    const int x = m_Scale.ToLayout(static_cast<int>(static_cast<short>(LOWORD(static_cast<DWORD_PTR>(point)))));
    const int y = m_Scale.ToLayout(static_cast<int>(static_cast<short>(HIWORD(static_cast<DWORD_PTR>(point)))));
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

void CNWindowBase::ForgetWindow()
{
    m_Screen.Release();
    if (m_Window && m_Dc)
        ReleaseDC(m_Window, m_Dc);
    m_Dc = nullptr;
    m_Window = nullptr;
    m_Tracking = 0;
}

} // namespace pelidore
