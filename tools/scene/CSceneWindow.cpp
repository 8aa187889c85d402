#include "CSceneWindow.h"

#include <cwchar>

namespace pelidore {

namespace {

const wchar_t kClassName[] = L"PelidoreScene";
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kAnimationMs = 10;

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    if (!brush)
        return;
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

} // namespace

int CSceneWindow::SquareLeft(unsigned long long elapsedMs, int sceneWidth)
{
    const int travel = sceneWidth - 2 * kEdgeMargin - kSquareSide;
    if (travel <= 0)
        return kEdgeMargin;
    const unsigned long long moved = elapsedMs * kPixelsPerSecond / 1000;
    return kEdgeMargin + static_cast<int>(moved % static_cast<unsigned long long>(travel));
}

bool CSceneWindow::Create(HINSTANCE instance, int x, int y, int width, int height, unsigned lifetimeMs)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &CSceneWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassW(&windowClass))
        return false;
    m_StartTick = GetTickCount64();
    m_EndTick = m_StartTick + lifetimeMs;
    m_Window = CreateWindowExW(0, kClassName, L"Pelidore scene", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                               nullptr, instance, this);
    if (!m_Window)
        return false;
    return SetTimer(m_Window, kAnimationTimer, kAnimationMs, nullptr) != 0;
}

int CSceneWindow::Run()
{
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got < 0 ? 1 : 0;
}

LRESULT CALLBACK CSceneWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CSceneWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->OnMessage(window, message, wParam, lParam);
}

LRESULT CSceneWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (GetTickCount64() >= m_EndTick)
            DestroyWindow(window);
        else
            InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, kAnimationTimer);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void CSceneWindow::Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc)
        return;
    RECT client;
    GetClientRect(window, &client);
    // Drawn off screen first so a capture never sees a half-drawn picture.
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP bitmap = buffer ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr;
    if (bitmap) {
        HGDIOBJ previous = SelectObject(buffer, bitmap);
        DrawScene(buffer, client.right, client.bottom);
        BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
        SelectObject(buffer, previous);
        DeleteObject(bitmap);
    } else {
        DrawScene(dc, client.right, client.bottom);
    }
    if (buffer)
        DeleteDC(buffer);
    EndPaint(window, &paint);
}

void CSceneWindow::DrawScene(HDC dc, int width, int height)
{
    const RECT all = {0, 0, width, height};
    FillSolid(dc, all, kBackground);
    const int left = SquareLeft(GetTickCount64() - m_StartTick, width);
    const int top = (height - kSquareSide) / 2;
    FillSolid(dc, RECT{left, top, left + kSquareSide, top + kSquareSide}, kSquare);
    const int markerLeft = width - kEdgeMargin - kMarkerSide;
    FillSolid(dc, RECT{markerLeft, kEdgeMargin, markerLeft + kMarkerSide, kEdgeMargin + kMarkerSide}, kMarker);

    ++m_Pictures;
    wchar_t counter[32];
    const int length = std::swprintf(counter, sizeof counter / sizeof counter[0], L"%u", m_Pictures);
    if (length > 0) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
        TextOutW(dc, width - kEdgeMargin, height - kEdgeMargin, counter, length);
    }
}

} // namespace pelidore
