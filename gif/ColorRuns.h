// The runs of equal colour in a frame: found once while the octree takes
// the pixels in, and replayed to write the palette indices a run at a time.
// Portable.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pelidore {

class ColorRuns {
public:
    // Longest run handed out at once: a pixel count that fits 32 bits with room.
    static constexpr std::size_t kMaxRun = 0x40000000u;
    // The colour "Transparent" gives unchanged pixels (R 255, G 0, B 255),
    // as ColorOf packs it.
    static constexpr std::uint32_t kTransparentKey = 0xFF00FFu;

    // Blue | green << 8 | red << 16 of a blue-green-red pixel.
    static std::uint32_t ColorOf(const std::uint8_t* bgr)
    {
        return static_cast<std::uint32_t>(bgr[0]) | (static_cast<std::uint32_t>(bgr[1]) << 8) |
               (static_cast<std::uint32_t>(bgr[2]) << 16);
    }

    // Calls take(color, length) for each run of `count` pixels, in order,
    // and keeps their lengths for Fill.
    template <class Take>
    void Scan(const std::uint8_t* pixels, std::size_t count, Take take);

    // Writes indexOf(color) over every run Scan found in the same pixels.
    template <class IndexOf>
    void Fill(const std::uint8_t* pixels, std::uint8_t* indices, std::size_t count, IndexOf indexOf) const;

private:
    static std::size_t RunEnd(const std::uint8_t* pixels, std::size_t from, std::size_t end, std::size_t count,
                              std::uint32_t color);
    static void FillRun(std::uint8_t* out, std::size_t length, std::size_t room, std::uint8_t value);
    void KeepLength(std::size_t length);

    std::vector<std::uint8_t> m_Lengths; // a long run as several of at most 255
};

template <class Take>
void ColorRuns::Scan(const std::uint8_t* pixels, std::size_t count, Take take)
{
    m_Lengths.clear();
    std::size_t i = 0;
    while (i < count) {
        const std::uint32_t color = ColorOf(pixels + i * 3);
        const std::size_t j = RunEnd(pixels, i + 1, count - i > kMaxRun ? i + kMaxRun : count, count, color);
        take(color, static_cast<std::uint32_t>(j - i));
        KeepLength(j - i);
        i = j;
    }
}

template <class IndexOf>
void ColorRuns::Fill(const std::uint8_t* pixels, std::uint8_t* indices, std::size_t count, IndexOf indexOf) const
{
    std::size_t at = 0;
    std::uint32_t lastColor = 0xFFFFFFFFu; // no colour
    std::uint8_t index = 0;
    for (const std::uint8_t length : m_Lengths) {
        const std::uint32_t color = ColorOf(pixels + at * 3);
        if (color != lastColor) {
            index = indexOf(color);
            lastColor = color;
        }
        FillRun(indices + at, length, count - at, index);
        at += length;
    }
}

inline std::size_t ColorRuns::RunEnd(const std::uint8_t* pixels, std::size_t from, std::size_t end, std::size_t count,
                                     std::uint32_t color)
{
    std::size_t j = from;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // One 4-byte load per pixel instead of three; not at the last pixel,
    // whose fourth byte is past the buffer.
    const std::size_t wide = std::min(end, count - 1);
    for (std::uint32_t word = 0; j < wide; ++j) {
        std::memcpy(&word, pixels + j * 3, 4);
        if ((word & 0xFFFFFFu) != color) {
            return j;
        }
    }
#endif
    while (j < end && ColorOf(pixels + j * 3) == color) {
        ++j;
    }
    return j;
}

inline void ColorRuns::FillRun(std::uint8_t* out, std::size_t length, std::size_t room, std::uint8_t value)
{
    // Short runs as two 8-byte stores, which may spill past the run into
    // bytes the following runs write anyway.
    if (length <= 16 && room >= 16) {
        const std::uint64_t eight = 0x0101010101010101ull * value;
        std::memcpy(out, &eight, 8);
        std::memcpy(out + 8, &eight, 8);
    } else {
        std::memset(out, value, length);
    }
}

inline void ColorRuns::KeepLength(std::size_t length)
{
    for (; length > 255; length -= 255) {
        m_Lengths.push_back(255);
    }
    m_Lengths.push_back(static_cast<std::uint8_t>(length));
}

} // namespace pelidore
