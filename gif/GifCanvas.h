// What a viewer shows after the frames written so far: every frame drawn
// over the picture before it, transparent pixels keeping it. The "Smaller
// files" layout compares each new frame with this picture. Pixels in the
// frame layout (blue, green, red, bottom row first). Portable.
#pragma once

#include "GifRect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct GifColorType;

namespace pelidore {

class GifCanvas {
public:
    // An all-black picture of that size (nothing shown yet).
    void Reset(int width, int height);
    void Release();

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    const std::uint8_t* Pixels() const { return m_Pixels.data(); }
    // The pixel at screen column x and row y (top row 0).
    const std::uint8_t* At(int x, int y) const;

    // Draws a written image: rect in screen coordinates, topRow and rowStep
    // as GifWriter::WriteImage takes them; transparentIndex -1 for none.
    void Draw(const GifRect& rect, const std::uint8_t* topRow, std::ptrdiff_t rowStep, const GifColorType* colors,
              int transparentIndex);

    // The smallest rectangle holding every pixel of a whole-screen frame
    // (indices bottom row first, as the octree gives them) that would show a
    // colour other than the one shown now; empty when there is none.
    GifRect ChangedBounds(const std::uint8_t* indices, const GifColorType* colors, int transparentIndex) const;

private:
    int m_Width = 0;
    int m_Height = 0;
    std::vector<std::uint8_t> m_Pixels;
};

} // namespace pelidore
