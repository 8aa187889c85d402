// Gives each pixel the palette entry nearest its colour (squared distance
// over red, green and blue) in place of the octree's leaf. The octree merges
// colours by how few pixels they have, not by how close they are, so a
// leaf's mean can lie far from some of the colours merged into it; the
// nearest entry never does worse. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct GifColorType;

namespace pelidore {

class NearestColorMap {
public:
    // pixels: count pixels of blue, green, red. indices: count bytes, each
    // pixel's entry in colors (the first colorCount, 1..256), replaced by the
    // nearest one; a pixel at transparentIndex (-1 for none) keeps it, and
    // no other pixel is given it.
    void Remap(const std::uint8_t* pixels, std::size_t count, const GifColorType* colors, int colorCount,
               int transparentIndex, std::uint8_t* indices);

private:
    struct Entry {
        int sum; // red + green + blue: entries in this order
        int red;
        int green;
        int blue;
        std::uint8_t index;
    };
    struct Slot {
        std::uint32_t color; // kNoColor when empty
        std::uint8_t index;
    };

    void SortPalette(const GifColorType* colors, int colorCount, int transparentIndex);
    std::uint8_t Nearest(std::uint32_t color, std::uint8_t start) const;

    std::vector<Entry> m_Entries;
    std::vector<int> m_FirstAtSum; // sum -> first entry whose sum is not below it
    std::vector<Slot> m_Cache;     // colour -> its nearest entry, direct-mapped
    const GifColorType* m_Colors = nullptr;
};

} // namespace pelidore
