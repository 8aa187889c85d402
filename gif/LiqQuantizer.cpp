#include "LiqQuantizer.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <cstddef>
#include <cstring>

namespace pelidore {

int LiqSpeedForQuality(int quality)
{
    switch (quality) {
    case 1:
        return 9;
    case 2:
        return 6;
    case 3:
        return 3;
    default:
        return 0;
    }
}

bool LiqQuantize(int width, int height, const std::uint8_t* pixels, int quality, bool dithering,
                 std::vector<std::uint8_t>& rgba, std::uint8_t* indices, GifColorType* colorMap, int* colorsUsed)
{
    if (colorsUsed != nullptr) {
        *colorsUsed = 0;
    }
    if (width <= 0 || height <= 0 || pixels == nullptr || indices == nullptr || colorMap == nullptr) {
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (rgba.size() < count * 4) {
        rgba.resize(count * 4);
    }
    // 1: blue, green, red, alpha 255 (the frame's byte order is kept).
    std::uint8_t* out = rgba.data();
    for (std::size_t i = 0; i < count; ++i) {
        out[i * 4 + 0] = pixels[i * 3 + 0];
        out[i * 4 + 1] = pixels[i * 3 + 1];
        out[i * 4 + 2] = pixels[i * 3 + 2];
        out[i * 4 + 3] = 255;
    }
    // 2: one row pointer per row into the index buffer.
    std::vector<unsigned char*> rows(static_cast<std::size_t>(height));
    for (int r = 0; r < height; ++r) {
        rows[static_cast<std::size_t>(r)] = indices + static_cast<std::size_t>(r) * static_cast<std::size_t>(width);
    }
    std::memset(colorMap, 0, sizeof(GifColorType) * 256);

    liq_attr* attr = liq_attr_create();
    if (attr == nullptr) {
        return false;
    }
    liq_image* image = liq_image_create_rgba(attr, rgba.data(), width, height, 0);
    const int speed = LiqSpeedForQuality(quality);
    if (speed != 0) {
        liq_set_speed(attr, speed);
    }
    liq_set_max_colors(attr, 255);
    liq_result* result = image != nullptr ? liq_quantize_image(attr, image) : nullptr;
    bool ok = false;
    if (result != nullptr) {
        liq_set_dithering_level(result, dithering ? 0.6f : 0.0f);
        const liq_palette* palette = liq_get_palette(result);
        if (palette != nullptr && liq_write_remapped_image_rows(result, image, rows.data()) == LIQ_OK) {
            // Remapping refines the palette and keeps the refined one apart;
            // the indices just written refer to that one, so read it again.
            palette = liq_get_palette(result);
            const unsigned entries = palette->count > 255 ? 255 : palette->count;
            for (unsigned i = 0; i < entries; ++i) {
                const liq_color& c = palette->entries[i];
                if (c.a != 0) {
                    // libimagequant's red channel holds blue and its blue red.
                    colorMap[i].Red = c.b;
                    colorMap[i].Green = c.g;
                    colorMap[i].Blue = c.r;
                }
            }
            if (colorsUsed != nullptr) {
                *colorsUsed = static_cast<int>(entries);
            }
            ok = true;
        }
        liq_result_destroy(result);
    }
    liq_attr_destroy(attr);
    if (image != nullptr) {
        liq_image_destroy(image);
    }
    return ok;
}

} // namespace pelidore
