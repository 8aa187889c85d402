// The frames the frame store benchmarks code: 1280 x 720, in three scenes of
// 20 frames each, cycled: identical (a UI-like desktop), a 2 % window moving
// over it with changing content, and random pixels everywhere.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace pelidore {

namespace benchframes {

constexpr int kW = 1280, kH = 720;
constexpr std::size_t kN = std::size_t(kW) * kH * 3;
constexpr int kSequence = 20;

using Bytes = std::vector<std::uint8_t>;

inline Bytes Desktop()
{
    std::mt19937 rng(1);
    Bytes frame(kN);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            std::uint8_t* p = &frame[(std::size_t(y) * kW + x) * 3];
            const bool panel = ((x / 160) + (y / 90)) % 3 == 0;
            p[0] = panel ? 240 : std::uint8_t(40 + y * 100 / kH);
            p[1] = panel ? 240 : std::uint8_t(60 + x * 80 / kW);
            p[2] = panel ? 235 : 90;
            if (panel && (y % 18) < 10 && (x % 7) < 4 && (rng() & 7) == 0)
                p[0] = p[1] = p[2] = 20;
        }
    }
    return frame;
}

inline Bytes Random(std::uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes frame(kN);
    for (std::size_t i = 0; i < kN; i += 4) {
        const std::uint32_t v = rng();
        std::memcpy(&frame[i], &v, std::min<std::size_t>(4, kN - i));
    }
    return frame;
}

// A window of 2 % of the area (192 x 96 pixels) moving over the desktop, with
// changing content.
inline Bytes MovingWindow(const Bytes& desktop, int index)
{
    Bytes frame = desktop;
    const int ww = 192, wh = 96;
    const int x0 = 100 + index * 24, y0 = 80 + index * 9;
    std::mt19937 rng(std::uint32_t(1000 + index));
    for (int y = y0; y < y0 + wh; ++y) {
        for (int x = x0; x < x0 + ww; ++x) {
            std::uint8_t* p = &frame[(std::size_t(y) * kW + x) * 3];
            p[0] = std::uint8_t(x * 3 + index);
            p[1] = std::uint8_t(y * 2);
            p[2] = std::uint8_t((rng() & 1) ? 200 : 30);
        }
    }
    return frame;
}

enum Scene { kIdentical = 0, kTwoPercent = 1, kEverywhere = 2 };

inline const std::vector<Bytes>& Frames(int scene)
{
    static std::vector<Bytes> sets[3];
    std::vector<Bytes>& set = sets[scene];
    if (set.empty()) {
        const Bytes desktop = Desktop();
        for (int i = 0; i < kSequence; ++i) {
            if (scene == kIdentical)
                set.push_back(desktop);
            else if (scene == kTwoPercent)
                set.push_back(MovingWindow(desktop, i));
            else
                set.push_back(Random(std::uint32_t(i + 1)));
        }
    }
    return set;
}

inline const char* SceneName(int scene)
{
    return scene == kIdentical ? "identical" : scene == kTwoPercent ? "2%-window" : "everywhere";
}

} // namespace benchframes

} // namespace pelidore
