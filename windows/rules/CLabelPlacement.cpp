#include "CLabelPlacement.h"

namespace pelidore {

PixelPoint CLabelPlacement::Place(const ScreenRect& control, PixelSize label, const ScreenRect& screen)
{
    const int below = control.bottom + kGap;
    const int above = control.top - kGap - label.height;
    if (below + label.height <= screen.bottom || above >= screen.top) {
        const int centred = control.left + (control.Width() - label.width) / 2;
        const int x = Clamp(centred, screen.left, screen.right - label.width);
        return {x, below + label.height <= screen.bottom ? below : above};
    }
    const int right = control.right + kGap;
    const int x = right + label.width <= screen.right ? right : control.left - kGap - label.width;
    return {x, Clamp(control.top, screen.top, screen.bottom - label.height)};
}

// The low end wins when the range is empty: a label wider than the screen
// starts at its left edge.
int CLabelPlacement::Clamp(int value, int low, int high)
{
    if (value > high)
        value = high;
    return value < low ? low : value;
}

} // namespace pelidore
