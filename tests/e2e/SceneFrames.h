#pragma once
// What the scene program looks like inside a recorded GIF: the frame sits
// exactly on the scene, so GIF pixel (x, y) is scene pixel (x + 9, y + 9).
#include "GifFile.h"

#include <functional>

namespace pelidore {

namespace scene {

constexpr int kOffset = 9; // frame border: scene pixels hidden under it
constexpr int kSquareSide = 40;
constexpr int kPixelsPerSecond = 250;
constexpr int kTravel = 640 - 2 * 20 - kSquareSide; // the square's path before it wraps
constexpr int kMarkerX = 600 - kOffset + 10;        // centre of the green marker in the GIF
constexpr int kMarkerY = 30 - kOffset;

using PixelTest = std::function<bool(int red, int green, int blue)>;

inline bool IsSquareRed(int r, int g, int b)
{
    return r > 180 && g < 90 && b < 90;
}
inline bool IsMarkerGreen(int r, int g, int b)
{
    return g > 160 && r < 90 && b < 90;
}
inline bool IsWhite(int r, int g, int b)
{
    return r > 200 && g > 200 && b > 200;
}
inline bool IsBlack(int r, int g, int b)
{
    return r < 50 && g < 50 && b < 50;
}

// Pixels of frame i inside (x0, y0)-(x1, y1), exclusive, that pass the test.
inline int Count(const GifFile& gif, int frame, int x0, int y0, int x1, int y1, const PixelTest& test)
{
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            int r, g, b;
            gif.RgbAt(frame, x, y, r, g, b);
            count += (r >= 0 && test(r, g, b)) ? 1 : 0;
        }
    return count;
}

// Left edge of the red square in frame i, -1 when it is not there.
inline int SquareLeft(const GifFile& gif, int frame)
{
    const int row = (360 - kSquareSide) / 2 - kOffset + kSquareSide / 2;
    for (int x = 0; x < gif.Width(); ++x) {
        int r, g, b;
        gif.RgbAt(frame, x, row, r, g, b);
        if (r >= 0 && IsSquareRed(r, g, b))
            return x;
    }
    return -1;
}

} // namespace scene

} // namespace pelidore
