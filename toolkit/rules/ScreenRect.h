#pragma once
// A rectangle in screen pixels with exclusive right and bottom edges, the
// way Windows reports window rectangles; kept free of Windows headers so the
// portable rules can work on it.

namespace pelidore {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool operator==(const ScreenRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

struct PixelSize {
    int width = 0;
    int height = 0;

    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
    constexpr bool operator==(const PixelSize& other) const { return width == other.width && height == other.height; }
};

struct PixelPoint {
    int x = 0;
    int y = 0;

    constexpr bool operator==(const PixelPoint& other) const { return x == other.x && y == other.y; }
};

} // namespace pelidore
