#pragma once
// A window with known moving content for recording tests and demos: a flat
// background, a red square crossing it at a fixed speed, a fixed green
// marker, and a counter of the pictures drawn.
#include "NWindows.h"

namespace pelidore {

class CSceneWindow {
public:
    static constexpr COLORREF kBackground = RGB(24, 48, 96);
    static constexpr COLORREF kSquare = RGB(230, 30, 30);
    static constexpr COLORREF kMarker = RGB(30, 200, 30);
    static constexpr int kSquareSide = 40;
    static constexpr int kMarkerSide = 20;
    static constexpr int kEdgeMargin = 20;
    static constexpr int kPixelsPerSecond = 250;

    // Where the square's left edge is after elapsedMs in a scene this wide.
    static int SquareLeft(unsigned long long elapsedMs, int sceneWidth);

    bool Create(HINSTANCE instance, int x, int y, int width, int height, unsigned lifetimeMs);
    int Run();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HWND window);
    void DrawScene(HDC dc, int width, int height);

    HWND m_Window = nullptr;
    ULONGLONG m_StartTick = 0;
    ULONGLONG m_EndTick = 0;
    unsigned m_Pictures = 0;
};

} // namespace pelidore
