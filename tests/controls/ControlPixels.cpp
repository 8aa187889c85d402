#include "ControlPixels.h"

#include "CNScreen.h"

namespace pelidore {

std::vector<uint32_t> PixelsOf(const CNScreen& screen, const CNRect& rect)
{
    std::vector<uint32_t> pixels;
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x)
            pixels.push_back(screen.PixelAt(x, y));
    }
    return pixels;
}

int Brightness(uint32_t pixel)
{
    return static_cast<int>((pixel & 0xFF) + (pixel >> 8 & 0xFF) + (pixel >> 16 & 0xFF));
}

int RedOf(uint32_t pixel)
{
    return static_cast<int>(pixel >> 16 & 0xFF);
}

int GreenOf(uint32_t pixel)
{
    return static_cast<int>(pixel >> 8 & 0xFF);
}

int AlphaOf(uint32_t pixel)
{
    return static_cast<int>(pixel >> 24);
}

} // namespace pelidore
