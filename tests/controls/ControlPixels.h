#pragma once

#include "CNRect.h"

#include <cstdint>
#include <vector>

namespace pelidore {

class CNScreen;

// The premultiplied BGRA words of a rectangle of a surface, top row first.
std::vector<uint32_t> PixelsOf(const CNScreen& screen, const CNRect& rect);
// Red, green and blue of a pixel word added up: a measure of brightness.
int Brightness(uint32_t pixel);
int RedOf(uint32_t pixel);
int GreenOf(uint32_t pixel);
int AlphaOf(uint32_t pixel);

} // namespace pelidore
