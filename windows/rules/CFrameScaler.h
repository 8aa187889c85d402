#pragma once
// Shows a recorded frame smaller than it was taken: the size that fits a
// box, and the frame reduced to it. Every pixel of the result is the average
// of the area of the frame it covers (pixels partly covered counting by the
// part), so fine lines and text thin out evenly instead of breaking up.
//
// Portable and stateless; the Review window calls it on the UI thread.
#include <cstdint>
#include <vector>

namespace pelidore {

class CFrameScaler {
public:
    // Sides beyond this are refused as no real frame.
    static constexpr int kMaxSide = 16384;

    struct Size {
        int width = 0;
        int height = 0;
        bool operator==(const Size& other) const { return width == other.width && height == other.height; }
    };

    // The largest size with the frame's proportions inside box, never larger
    // than the frame itself and at least 1 x 1; 0 x 0 when a size is not
    // positive or a frame side is beyond kMaxSide.
    static Size Fit(Size frame, Size box);

    // bgr: frame.width * frame.height pixels of 3 bytes (blue, green, red),
    // rows bottom first, no padding. Returns to.width * to.height opaque
    // 0xFFRRGGBB words, rows top first; empty when a size is not usable or
    // bgr is null.
    static std::vector<std::uint32_t> Scale(const std::uint8_t* bgr, Size frame, Size to);
};

} // namespace pelidore
