#include "NearestColorMap.h"

#include "ColorRuns.h"

#include <gif_lib.h>

#include <algorithm>

namespace pelidore {

namespace {

constexpr std::uint32_t kNoColor = 0xFFFFFFFFu;
constexpr unsigned kCacheBits = 14;
constexpr int kMaxSum = 3 * 255;

int Distance2(int red, int green, int blue, const GifColorType& c)
{
    const int r = red - c.Red;
    const int g = green - c.Green;
    const int b = blue - c.Blue;
    return r * r + g * g + b * b;
}

} // namespace

void NearestColorMap::SortPalette(const GifColorType* colors, int colorCount, int transparentIndex)
{
    m_Colors = colors;
    m_Entries.clear();
    for (int i = 0; i < colorCount; ++i) {
        if (i != transparentIndex) {
            const GifColorType& c = colors[i];
            m_Entries.push_back(Entry{c.Red + c.Green + c.Blue, c.Red, c.Green, c.Blue, static_cast<std::uint8_t>(i)});
        }
    }
    std::sort(m_Entries.begin(), m_Entries.end(),
              [](const Entry& a, const Entry& b) { return a.sum != b.sum ? a.sum < b.sum : a.index < b.index; });
    m_FirstAtSum.assign(kMaxSum + 2, 0);
    std::size_t e = 0;
    for (int sum = 0; sum <= kMaxSum + 1; ++sum) {
        while (e < m_Entries.size() && m_Entries[e].sum < sum) {
            ++e;
        }
        m_FirstAtSum[static_cast<std::size_t>(sum)] = static_cast<int>(e);
    }
}

// From the entries whose sum is closest outwards; an entry whose sum differs
// by d is at least d * d / 3 away, so the walk stops in either direction once
// that passes the best distance found. start (the octree's entry) bounds it
// from the first step.
std::uint8_t NearestColorMap::Nearest(std::uint32_t color, std::uint8_t start) const
{
    const int blue = static_cast<int>(color & 0xFFu);
    const int green = static_cast<int>((color >> 8) & 0xFFu);
    const int red = static_cast<int>(color >> 16);
    const int sum = red + green + blue;
    std::uint8_t best = start;
    int bestDistance = Distance2(red, green, blue, m_Colors[start]);
    const auto consider = [&](const Entry& e) {
        const int d =
            (e.red - red) * (e.red - red) + (e.green - green) * (e.green - green) + (e.blue - blue) * (e.blue - blue);
        if (d < bestDistance || (d == bestDistance && e.index < best)) {
            bestDistance = d;
            best = e.index;
        }
    };
    const int count = static_cast<int>(m_Entries.size());
    const int middle = m_FirstAtSum[static_cast<std::size_t>(sum)];
    for (int up = middle; up < count; ++up) {
        const int d = m_Entries[static_cast<std::size_t>(up)].sum - sum;
        if (d * d > 3 * bestDistance) {
            break;
        }
        consider(m_Entries[static_cast<std::size_t>(up)]);
    }
    for (int down = middle - 1; down >= 0; --down) {
        const int d = sum - m_Entries[static_cast<std::size_t>(down)].sum;
        if (d * d > 3 * bestDistance) {
            break;
        }
        consider(m_Entries[static_cast<std::size_t>(down)]);
    }
    return best;
}

void NearestColorMap::Remap(const std::uint8_t* pixels, std::size_t count, const GifColorType* colors, int colorCount,
                            int transparentIndex, std::uint8_t* indices)
{
    SortPalette(colors, colorCount, transparentIndex);
    if (m_Entries.empty()) {
        return; // nothing but the transparent entry to give
    }
    m_Cache.assign(std::size_t{1} << kCacheBits, Slot{kNoColor, 0});
    for (std::size_t i = 0; i < count; ++i) {
        if (indices[i] == transparentIndex) {
            continue;
        }
        const std::uint32_t color = ColorRuns::ColorOf(pixels + i * 3);
        Slot& slot = m_Cache[(color * 0x9E3779B1u) >> (32 - kCacheBits)];
        if (slot.color != color) {
            slot = Slot{color, Nearest(color, indices[i])};
        }
        indices[i] = slot.index;
    }
}

} // namespace pelidore
