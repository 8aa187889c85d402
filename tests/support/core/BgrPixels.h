#pragma once
// Reading and filling 24-bit bottom-up B, G, R frames by top-down
// coordinates, as the recorded frames are laid out.
#include <cstdint>

namespace pelidore {

struct Bgr {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;

    bool operator==(const Bgr& other) const { return blue == other.blue && green == other.green && red == other.red; }
    bool operator!=(const Bgr& other) const { return !(*this == other); }
};

inline Bgr PixelAt(const std::uint8_t* frame, int width, int height, int x, int y)
{
    const std::uint8_t* p = frame + (static_cast<long long>(height - 1 - y) * width + x) * 3;
    return {p[0], p[1], p[2]};
}

inline void FillFrame(std::uint8_t* frame, int width, int height, Bgr colour)
{
    for (long long i = 0; i < static_cast<long long>(width) * height; ++i) {
        frame[i * 3] = colour.blue;
        frame[i * 3 + 1] = colour.green;
        frame[i * 3 + 2] = colour.red;
    }
}

// Pixels inside (x0, y0)-(x1, y1), exclusive, that differ from colour.
inline int CountOther(const std::uint8_t* frame, int width, int height, int x0, int y0, int x1, int y1, Bgr colour)
{
    int count = 0;
    for (int y = y0 < 0 ? 0 : y0; y < y1 && y < height; ++y)
        for (int x = x0 < 0 ? 0 : x0; x < x1 && x < width; ++x)
            count += PixelAt(frame, width, height, x, y) != colour ? 1 : 0;
    return count;
}

} // namespace pelidore
