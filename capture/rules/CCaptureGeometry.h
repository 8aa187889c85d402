#pragma once
// Where the recorded region lies inside the frame window, how large the
// recorded frames are, and where the mouse cursor lands in them. The frame's
// 9-pixel border is never recorded, and frame widths are kept to a multiple
// of 4 so a 24-bit row has no padding.
#include "ScreenRect.h"

namespace pelidore {

class CCaptureGeometry {
public:
    static constexpr int kBorder = 9;
    static constexpr int kMinScalePercent = 30;
    static constexpr int kFullScalePercent = 100;

    // The unscaled region inside a frame window of the given outer size;
    // never negative, possibly empty for a frame narrower than the border.
    static PixelSize CaptureSize(int frameWidth, int frameHeight);
    static PixelSize CaptureSize(const ScreenRect& frame);
    static PixelPoint CaptureOrigin(const ScreenRect& frame);

    // Size of the frames handed on: the capture size at 100 %, else scaled
    // in single precision with the width rounded down to a multiple of 4.
    static PixelSize OutputSize(PixelSize capture, int scalePercent);
    // Whether frames are squeezed at all (scales are held to 30..100).
    static bool IsScaled(int scalePercent);

    // Cursor position in output pixels. Measured from 8 pixels inside the
    // frame's corner and scaled by the capture size before its rounding.
    static PixelPoint CursorInFrame(PixelPoint cursor, const ScreenRect& frame, PixelSize output, int scalePercent);

    // Drawn size of a cursor image. A monochrome cursor has no colour bitmap;
    // its mask holds the AND and XOR halves stacked, so only half its height
    // is the picture. The hot spot is not scaled.
    static PixelSize CursorSize(PixelSize bitmap, bool hasColourBitmap, int scalePercent);

private:
    static int ClampScale(int scalePercent);
    static int RoundDownToFour(int value);
};

} // namespace pelidore
