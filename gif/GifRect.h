// A rectangle of the logical screen, in the GIF's own coordinates: left and
// top from the top-left corner, rows going down. Portable.
#pragma once

namespace pelidore {

struct GifRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
};

} // namespace pelidore
