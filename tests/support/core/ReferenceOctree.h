// The octree quantizer as first written: nodes allocated one
// by one, one reducible list kept sorted by (level, pixel count) with the
// plain walk. Slow by design: the reference the fast QColorQuantizer is
// held against in the tests and measured against in the benchmarks. Its
// red and green sums do not share storage with the list links, as they once
// did by mistake, so every sum starts at zero.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

struct GifColorType;

namespace pelidore {

namespace reference {

struct Reduction {
    unsigned level;
    unsigned count;
    bool operator==(const Reduction& o) const { return level == o.level && count == o.count; }
};

// Same contract as QColorQuantizer::Quantize. log (optional) receives the
// (level, pixel count) of every node reduced, in order.
bool OctreeQuantize(int width, int height, const std::uint8_t* pixels, std::uint8_t* indices, GifColorType* colorMap,
                    int maxColors, std::uint8_t* transparentIndex, bool transparency, int* colorsUsed = nullptr,
                    std::vector<Reduction>* log = nullptr);

} // namespace reference

} // namespace pelidore
