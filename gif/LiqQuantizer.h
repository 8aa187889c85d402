// The libimagequant path (every quality but "High Speed").
// Portable.
#pragma once

#include <cstdint>
#include <vector>

struct GifColorType;

namespace pelidore {

// libimagequant speed for a quality list position: 1 -> 9, 2 -> 6, 3 -> 3,
// anything else -> 0 (leave the library default).
int LiqSpeedForQuality(int quality);

// pixels: width x height x 3 (blue, green, red), rows in buffer order.
// rgba: the exporter's 4-byte work buffer (resized when too small).
// indices: width x height out, same row order. colorMap: 256 entries out,
// unused or fully transparent entries black. False when libimagequant gives
// no result (the frame is then skipped). colorsUsed: palette entry count.
bool LiqQuantize(int width, int height, const std::uint8_t* pixels, int quality, bool dithering,
                 std::vector<std::uint8_t>& rgba, std::uint8_t* indices, GifColorType* colorMap,
                 int* colorsUsed = nullptr);

} // namespace pelidore
