#include "CNPictureScaler.h"

#include "CNAreaTaps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace pelidore {

namespace {

using Colour = std::array<float, 4>; // premultiplied blue, green, red; then alpha

Colour Premultiplied(std::uint32_t argb)
{
    const float alpha = static_cast<float>(argb >> 24);
    const float share = alpha / 255.0f;
    return {static_cast<float>(argb & 0xFF) * share, static_cast<float>((argb >> 8) & 0xFF) * share,
            static_cast<float>((argb >> 16) & 0xFF) * share, alpha};
}

std::uint32_t Straight(const Colour& colour)
{
    const float alpha = colour[3];
    if (alpha < 0.5f)
        return 0;
    const auto channel = [alpha](float premultiplied) {
        const float value = std::round(premultiplied * 255.0f / alpha);
        return static_cast<std::uint32_t>(std::clamp(value, 0.0f, 255.0f));
    };
    const std::uint32_t a = static_cast<std::uint32_t>(std::min(std::round(alpha), 255.0f));
    return (a << 24) | (channel(colour[2]) << 16) | (channel(colour[1]) << 8) | channel(colour[0]);
}

void AddShare(Colour& sum, const Colour& colour, float weight)
{
    for (std::size_t c = 0; c < sum.size(); ++c)
        sum[c] += colour[c] * weight;
}

} // namespace

std::vector<std::uint32_t> CNPictureScaler::Resample(const std::vector<std::uint32_t>& pixels, int width, int height,
                                                     int newWidth, int newHeight)
{
    if (width <= 0 || height <= 0 || newWidth <= 0 || newHeight <= 0 ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return {};
    const CNAreaTaps across(width, newWidth);
    const CNAreaTaps down(height, newHeight);

    // Rows first: height rows of newWidth colours.
    std::vector<Colour> rows(static_cast<std::size_t>(height) * static_cast<std::size_t>(newWidth), Colour{});
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* source = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        Colour* target = rows.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(newWidth);
        for (int x = 0; x < newWidth; ++x) {
            for (std::size_t tap = across.First(x); tap < across.First(x + 1); ++tap)
                AddShare(target[x], Premultiplied(source[across.Source(tap)]), across.Share(tap));
        }
    }
    std::vector<std::uint32_t> result(static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight));
    for (int y = 0; y < newHeight; ++y) {
        for (int x = 0; x < newWidth; ++x) {
            Colour sum{};
            for (std::size_t tap = down.First(y); tap < down.First(y + 1); ++tap)
                AddShare(sum, rows[static_cast<std::size_t>(down.Source(tap)) * static_cast<std::size_t>(newWidth) + x],
                         down.Share(tap));
            result[static_cast<std::size_t>(y) * static_cast<std::size_t>(newWidth) + x] = Straight(sum);
        }
    }
    return result;
}

} // namespace pelidore
