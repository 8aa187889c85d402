#include "GifRunJoiner.h"

#include "ColorRuns.h"
#include "GifCanvas.h"

#include <gif_lib.h>

namespace pelidore {

void GifRunJoiner::Join(const GifCanvas& canvas, const GifRect& rect, std::uint8_t* topRow, std::ptrdiff_t rowStep,
                        const GifColorType* colors, int colorCount, int transparentIndex)
{
    std::uint32_t packed[256] = {};
    for (int i = 0; i < colorCount && i < 256; ++i) {
        packed[i] = static_cast<std::uint32_t>(colors[i].Blue) | (static_cast<std::uint32_t>(colors[i].Green) << 8) |
                    (static_cast<std::uint32_t>(colors[i].Red) << 16);
    }
    // The LZW stream runs on from one row to the next, and so does a run.
    int before = -1;
    for (int r = 0; r < rect.height; ++r) {
        std::uint8_t* row = topRow + static_cast<std::ptrdiff_t>(r) * rowStep;
        const std::uint8_t* shown = canvas.At(rect.left, rect.top + r);
        for (int c = 0; c < rect.width; ++c, shown += 3) {
            const int index = row[c];
            if (index == before) {
                continue;
            }
            const std::uint32_t onScreen = ColorRuns::ColorOf(shown);
            const std::uint32_t after = index == transparentIndex ? onScreen : packed[index];
            const std::uint32_t withBefore = before == transparentIndex ? onScreen : packed[before < 0 ? 0 : before];
            if (before >= 0 && withBefore == after) {
                row[c] = static_cast<std::uint8_t>(before);
            } else {
                before = index;
            }
        }
    }
}

} // namespace pelidore
