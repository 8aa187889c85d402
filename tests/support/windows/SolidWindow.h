#pragma once
// A plain window of one colour at a known screen rectangle, standing in for
// whatever lies under the recording frame. Its class cursor is the arrow, so
// the cursor over it is one this process owns.
#include "NWindows.h"

namespace pelidore {

class SolidWindow {
public:
    SolidWindow(int x, int y, int width, int height, COLORREF colour);
    ~SolidWindow();
    SolidWindow(const SolidWindow&) = delete;
    SolidWindow& operator=(const SolidWindow&) = delete;

    HWND Handle() const { return m_Window; }
    void SetColour(COLORREF colour);

    // Runs this thread's messages for a while, so X has drawn what was asked.
    static void Pump(unsigned milliseconds);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_Window = nullptr;
    COLORREF m_Colour;
};

} // namespace pelidore
