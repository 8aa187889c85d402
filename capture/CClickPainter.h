#pragma once
// Draws a ring around the cursor's hot spot while a mouse button is down, so
// that clicks can be seen in a recording: amber for the left button, blue
// for the right one (both rings when both are down). Drawn after the cursor
// and before the logo, whether or not the cursor itself is recorded.
#include "CClickLatch.h"
#include "NWindows.h"
#include "ScreenRect.h"

namespace pelidore {

class CClickPainter {
public:
    static constexpr int kRadius = 15; // at 100 %, in output pixels
    static constexpr float kPenWidth = 3.0f;

    // frame: the frame window's rectangle; output: the recorded frame size.
    static bool Draw(HDC target, const ScreenRect& frame, PixelSize output, int scalePercent, ShownButtons buttons);

private:
    static bool DrawRing(Gdiplus::Graphics& graphics, PixelPoint centre, float radius, float width,
                         Gdiplus::Color colour);
};

} // namespace pelidore
