// The parts "Smaller files" adds to "High Speed" + "Transparent": the
// nearest-colour map of the first frame and the joining of runs that keeps
// every picture.
#include "GifCanvas.h"
#include "GifRunJoiner.h"
#include "NearestColorMap.h"
#include "SyntheticFrames.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pelidore {

namespace {

int Distance2(const std::uint8_t* bgr, const GifColorType& c)
{
    const int b = bgr[0] - c.Blue, g = bgr[1] - c.Green, r = bgr[2] - c.Red;
    return r * r + g * g + b * b;
}

GifColorType RandomColor(synth::Rng& rng)
{
    return GifColorType{static_cast<GifByteType>(rng.Below(256)), static_cast<GifByteType>(rng.Below(256)),
                        static_cast<GifByteType>(rng.Below(256))};
}

int Runs(const std::vector<std::uint8_t>& indices)
{
    int runs = 0;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        runs += i == 0 || indices[i] != indices[i - 1] ? 1 : 0;
    }
    return runs;
}

} // namespace

// Against a search of every entry: greys and colours of equal sums, more
// pixel colours than the cache has slots, and pixels at the transparent entry.
TEST(NearestColorMap, GivesEveryPixelItsNearestEntryButTheTransparentOne)
{
    synth::Rng rng(7);
    for (const int colorCount : {2, 17, 128, 256}) {
        std::vector<GifColorType> colors(static_cast<std::size_t>(colorCount));
        for (auto& c : colors) {
            c = RandomColor(rng);
        }
        colors[1] = GifColorType{90, 90, 90};
        const int transparent = colorCount / 2;
        const std::size_t count = 40000;
        synth::Pixels pixels(count * 3);
        std::vector<std::uint8_t> indices(count);
        for (std::size_t i = 0; i < count; ++i) {
            const GifColorType c = i % 5 == 0 ? GifColorType{60, 120, 90} : RandomColor(rng);
            pixels[i * 3] = c.Blue;
            pixels[i * 3 + 1] = c.Green;
            pixels[i * 3 + 2] = c.Red;
            indices[i] = static_cast<std::uint8_t>(i % 7 == 0 ? transparent : (transparent + 1) % colorCount);
        }
        const auto before = indices;
        NearestColorMap map;
        map.Remap(pixels.data(), count, colors.data(), colorCount, transparent, indices.data());
        for (std::size_t i = 0; i < count; ++i) {
            if (before[i] == transparent) {
                ASSERT_EQ(indices[i], transparent) << i;
                continue;
            }
            ASSERT_NE(indices[i], transparent) << i;
            ASSERT_LT(indices[i], colorCount) << i;
            int best = 1 << 30;
            for (int k = 0; k < colorCount; ++k) {
                if (k != transparent) {
                    best = std::min(best, Distance2(&pixels[i * 3], colors[static_cast<std::size_t>(k)]));
                }
            }
            ASSERT_EQ(Distance2(&pixels[i * 3], colors[indices[i]]), best) << colorCount << " " << i;
        }
    }
}

TEST(NearestColorMap, APaletteOfTheTransparentEntryAloneLeavesTheIndices)
{
    const GifColorType colors[1] = {{255, 0, 255}};
    const std::uint8_t pixels[6] = {1, 2, 3, 4, 5, 6};
    std::uint8_t indices[2] = {0, 0};
    NearestColorMap map;
    map.Remap(pixels, 2, colors, 1, 0, indices);
    EXPECT_EQ(indices[0], 0);
    EXPECT_EQ(indices[1], 0);
}

// Random images over a random picture, with entries in colours the picture
// shows: after joining, the picture drawn is the same and the runs fewer.
TEST(GifRunJoiner, KeepsThePictureAndJoinsRuns)
{
    const int w = 40, h = 30;
    synth::Rng rng(11);
    std::vector<GifColorType> shownColors = {{10, 20, 30}, {200, 100, 0}, {0, 0, 0}, {255, 255, 255}};
    std::vector<std::uint8_t> first(static_cast<std::size_t>(w * h));
    for (auto& i : first) {
        i = static_cast<std::uint8_t>(rng.Below(4));
    }
    GifCanvas canvas;
    canvas.Reset(w, h);
    canvas.Draw(GifRect{0, 0, w, h}, first.data(), w, shownColors.data(), -1);

    // Entries 0..3 as shown somewhere, 4 and 5 new, 6 transparent.
    std::vector<GifColorType> colors = shownColors;
    colors.push_back({1, 2, 3});
    colors.push_back({9, 9, 9});
    colors.push_back({255, 0, 255});
    const GifRect rect{3, 2, 30, 25};
    std::vector<std::uint8_t> image(static_cast<std::size_t>(rect.width * rect.height));
    for (auto& i : image) {
        i = static_cast<std::uint8_t>(rng.Below(3) == 0 ? 6 : rng.Below(6));
    }
    auto joined = image;
    GifRunJoiner::Join(canvas, rect, joined.data(), rect.width, colors.data(), 7, 6);

    GifCanvas expected = canvas;
    expected.Draw(rect, image.data(), rect.width, colors.data(), 6);
    GifCanvas drawn = canvas;
    drawn.Draw(rect, joined.data(), rect.width, colors.data(), 6);
    const std::size_t bytes = static_cast<std::size_t>(w * h * 3);
    EXPECT_TRUE(std::equal(drawn.Pixels(), drawn.Pixels() + bytes, expected.Pixels()));
    EXPECT_LT(Runs(joined), Runs(image));
}

} // namespace pelidore
