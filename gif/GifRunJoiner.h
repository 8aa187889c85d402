// Lengthens the LZW runs of a "Smaller files" image without changing what a
// viewer shows: a pixel that would show the same colour with the index of
// the pixel written before it takes that index. So a transparent pixel may
// become opaque in the colour already shown there, and an opaque one whose
// colour is already shown may become transparent. Portable.
#pragma once

#include "GifRect.h"

#include <cstddef>
#include <cstdint>

struct GifColorType;

namespace pelidore {

class GifCanvas;

class GifRunJoiner {
public:
    // rect, topRow and rowStep as GifWriter::WriteImage takes them; the
    // indices are changed in place. canvas: the picture before the image.
    // transparentIndex: the image's transparent entry (0..colorCount-1).
    static void Join(const GifCanvas& canvas, const GifRect& rect, std::uint8_t* topRow, std::ptrdiff_t rowStep,
                     const GifColorType* colors, int colorCount, int transparentIndex);
};

} // namespace pelidore
