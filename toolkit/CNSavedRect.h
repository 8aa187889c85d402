#pragma once

#include <cstdint>
#include <vector>

namespace pelidore {

// Pixels of a rectangle of a CNScreen, kept by CNScreen::SaveRect and put back
// by CNScreen::RestoreRect. x, y, width and height are the clipped rectangle;
// pixels holds width x height premultiplied BGRA words, top row first.
struct CNSavedRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t saved = 0; // 1 while pixels hold a saved rectangle
    std::vector<uint32_t> pixels;

    void Reset()
    {
        x = y = width = height = saved = 0;
        pixels.clear();
        pixels.shrink_to_fit();
    }
};

} // namespace pelidore
