#pragma once

#include <cstdint>

namespace pelidore {

// A rectangle as (x, y, width, height) in window coordinates. This is also the
// layout that NWM_RECT_UPDATE carries in lParam (four 32-bit values).
struct CNRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
    bool operator==(const CNRect& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
    bool operator!=(const CNRect& o) const { return !(*this == o); }
};

} // namespace pelidore
