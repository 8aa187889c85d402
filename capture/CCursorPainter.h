#pragma once
// Draws the mouse cursor into a recorded frame. When the system will not
// describe the current cursor (Wine refuses GetIconInfo on a cursor that
// belongs to another process), the standard arrow is drawn in its place, so
// the cursor never silently vanishes from a recording.
#include "NWindows.h"
#include "ScreenRect.h"

namespace pelidore {

class CCursorPainter {
public:
    enum class Result { Drawn, DrawnAsArrow, Hidden, Failed };

    // frame: the frame window's rectangle; output: the recorded frame size.
    static Result Draw(HDC target, const ScreenRect& frame, PixelSize output, int scalePercent);

private:
    struct CursorShape {
        PixelPoint hotSpot;
        PixelSize bitmapSize;
        bool hasColour = false;
    };

    static bool Describe(HCURSOR cursor, CursorShape& shape);
    static bool DrawShape(HDC target, HCURSOR cursor, const CursorShape& shape, PixelPoint at, int scalePercent);
};

} // namespace pelidore
