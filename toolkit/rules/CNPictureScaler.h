#pragma once

#include <cstdint>
#include <vector>

namespace pelidore {

// Resizes a picture for a monitor's scale. Every pixel of the result is the
// average of the area of the original it covers, pixels partly covered
// counting by the part: a reduction keeps every detail's weight instead of
// dropping lines. Colours are averaged premultiplied by their alpha, so
// transparent pixels lend no colour to the edges beside them.
class CNPictureScaler {
public:
    // pixels: width x height words 0xAARRGGBB, rows top first. Returns
    // newWidth x newHeight words in the same layout; empty when a size is not
    // positive or pixels holds fewer words than width x height.
    static std::vector<std::uint32_t> Resample(const std::vector<std::uint32_t>& pixels, int width, int height,
                                               int newWidth, int newHeight);
};

} // namespace pelidore
