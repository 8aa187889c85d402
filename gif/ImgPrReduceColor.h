// Our stand-in for imagepr.dll's ImgPrReduceColor (Part 2.1). Portable.
#pragma once

#include <cstdint>

// Fills dst with width x height pixels of 3 bytes in the same layout as src
// (blue, green, red; rows packed; bottom row first). Returns true when dst
// was filled (false for a null buffer or a non-positive size). The exporter
// does not use the result.
bool ImgPrReduceColor(const std::uint8_t* src, int width, int height, std::uint8_t* dst);
