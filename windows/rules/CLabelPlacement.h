#pragma once

#include "ScreenRect.h"

namespace pelidore {

// Where a hover label goes beside the control it names: centred under it,
// or over it when there is no room below, never on it, and moved sideways
// to stay on the screen. A label taller than the room on both sides goes
// beside the control instead.
class CLabelPlacement {
public:
    static constexpr int kGap = 4; // between the control and the label

    // control and screen in screen pixels; the label's top-left.
    static PixelPoint Place(const ScreenRect& control, PixelSize label, const ScreenRect& screen);

private:
    static int Clamp(int value, int low, int high);
};

} // namespace pelidore
