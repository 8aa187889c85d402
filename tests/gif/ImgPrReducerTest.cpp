// Our ImgPrReduceColor: exact flat colours, at most 254 colours in
// octree leaves of their own, stable from frame to frame, rebuilt on drift.
#include "GifExporter.h"
#include "GifTestUtil.h"
#include "ImgPrReduceColor.h"
#include "QColorQuantizer.h"
#include "SyntheticFrames.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace pelidore {

namespace {

std::uint32_t At(const synth::Pixels& p, std::size_t i)
{
    return p[i * 3] | (p[i * 3 + 1] << 8) | (p[i * 3 + 2] << 16);
}

std::map<std::uint32_t, std::size_t> Histogram(const synth::Pixels& p)
{
    std::map<std::uint32_t, std::size_t> h;
    for (std::size_t i = 0; i * 3 < p.size(); ++i) {
        ++h[At(p, i)];
    }
    return h;
}

synth::Pixels Reduce(ImgPrReducer& r, const synth::Pixels& src, int w, int h)
{
    synth::Pixels out(src.size());
    EXPECT_TRUE(r.Reduce(src.data(), w, h, out.data()));
    return out;
}

// bits 7..1 of each channel: the octree leaf of a colour (packed B | G | R).
std::uint32_t Leaf(std::uint32_t bgr)
{
    const std::uint32_t b = bgr & 255, g = (bgr >> 8) & 255, r = bgr >> 16;
    return ((r >> 1) << 14) | ((g >> 1) << 7) | (b >> 1);
}

} // namespace

TEST(ImgPrReducer, AFlatFrameStaysOneExactColour)
{
    synth::Pixels p(40 * 20 * 3);
    for (std::size_t i = 0; i < p.size(); i += 3) {
        p[i] = 17;
        p[i + 1] = 201;
        p[i + 2] = 99;
    }
    synth::Pixels out(p.size(), 0);
    EXPECT_TRUE(ImgPrReduceColor(p.data(), 40, 20, out.data()));
    EXPECT_EQ(out, p);
}

TEST(ImgPrReducer, ExactUiColoursSurviveUntouched)
{
    const int w = 640, h = 360;
    const auto frame = synth::UiFrame(w, h, 2);
    ImgPrReducer reducer;
    const auto out = Reduce(reducer, frame, w, h);
    const auto hist = Histogram(frame);
    // Every colour covering at least 0.05 % of the frame comes out exact,
    // pixel for pixel (no dither noise), as long as it has a leaf of its own.
    std::vector<std::pair<std::size_t, std::uint32_t>> byCount;
    for (const auto& [c, n] : hist) {
        byCount.push_back({n, c});
    }
    std::sort(byCount.rbegin(), byCount.rend());
    std::set<std::uint32_t> leaves;
    int checked = 0;
    for (const auto& [n, c] : byCount) {
        if (n < static_cast<std::size_t>(w * h / 2000) || !leaves.insert(Leaf(c)).second) {
            continue;
        }
        ++checked;
        for (std::size_t i = 0; i * 3 < frame.size(); ++i) {
            if (At(frame, i) == c) {
                ASSERT_EQ(At(out, i), c) << "colour " << std::hex << c;
            }
        }
    }
    EXPECT_GE(checked, 20);
    EXPECT_GT(synth::Psnr(frame.data(), out.data(), frame.size()), 40.0);
}

TEST(ImgPrReducer, AtMost254ColoursInLeavesOfTheirOwnAwayFromTheKey)
{
    for (const bool vivid : {false, true}) {
        const int w = 320, h = 180;
        synth::DesktopSequence seq(w, h, 4, vivid);
        ImgPrReducer reducer;
        for (int i = 0; i < 3; ++i) {
            const auto out = Reduce(reducer, seq.Frame(i), w, h);
            const auto hist = Histogram(out);
            EXPECT_LE(hist.size(), 254u);
            std::set<std::uint32_t> leaves;
            for (const auto& entry : hist) {
                EXPECT_TRUE(leaves.insert(Leaf(entry.first)).second) << std::hex << entry.first;
                EXPECT_NE(Leaf(entry.first), Leaf(0xFF00FFu)) << std::hex << entry.first;
            }
        }
        EXPECT_LE(reducer.PaletteSize(), ImgPrReducer::kMaxColors);
    }
}

TEST(ImgPrReducer, ItsFramesPassThroughTheOctreeUnchanged)
{
    const int w = 320, h = 180;
    synth::DesktopSequence seq(w, h, 5);
    ImgPrReducer reducer;
    QColorQuantizer octree;
    for (int i = 0; i < 2; ++i) {
        const auto out = Reduce(reducer, seq.Frame(i), w, h);
        for (const bool transparency : {false, true}) {
            std::vector<std::uint8_t> indices(static_cast<std::size_t>(w) * h);
            std::array<GifColorType, 256> colors{};
            std::uint8_t transparent = 0;
            std::vector<QColorQuantizer::Reduction> log;
            octree.SetReductionLog(&log);
            ASSERT_TRUE(
                octree.Quantize(w, h, out.data(), indices.data(), colors.data(), 256, &transparent, transparency));
            octree.SetReductionLog(nullptr);
            EXPECT_TRUE(log.empty());
            for (std::size_t k = 0; k < indices.size(); ++k) {
                const GifColorType& c = colors[indices[k]];
                ASSERT_EQ(c.Blue, out[k * 3]);
                ASSERT_EQ(c.Green, out[k * 3 + 1]);
                ASSERT_EQ(c.Red, out[k * 3 + 2]);
                if (transparency) {
                    ASSERT_NE(indices[k], transparent);
                }
            }
        }
    }
}

TEST(ImgPrReducer, TwoIdenticalFramesReduceIdentically)
{
    const int w = 320, h = 180;
    const auto frame = synth::DesktopSequence(w, h, 6, true).Frame(0);
    ImgPrReducer reducer;
    const auto a = Reduce(reducer, frame, w, h);
    const auto b = Reduce(reducer, frame, w, h);
    EXPECT_EQ(a, b);
    EXPECT_EQ(reducer.Rebuilds(), 1);
}

TEST(ImgPrReducer, UnchangedScreenAreasGiveIdenticalPixelsFrameAfterFrame)
{
    const int w = 640, h = 360;
    synth::DesktopSequence seq(w, h, 7);
    ImgPrReducer reducer;
    auto prevIn = seq.Frame(0);
    auto prevOut = Reduce(reducer, prevIn, w, h);
    for (int i = 1; i < 12; ++i) {
        const auto in = seq.Frame(i);
        const int rebuilds = reducer.Rebuilds();
        const auto out = Reduce(reducer, in, w, h);
        ASSERT_EQ(reducer.Rebuilds(), rebuilds) << "no drift in a steady recording, frame " << i;
        std::size_t unchanged = 0;
        for (std::size_t k = 0; k * 3 < in.size(); ++k) {
            if (At(in, k) == At(prevIn, k)) {
                ++unchanged;
                ASSERT_EQ(At(out, k), At(prevOut, k)) << "frame " << i << " pixel " << k;
            }
        }
        EXPECT_GT(unchanged, in.size() / 3 * 9 / 10);
        prevIn = in;
        prevOut = out;
    }
}

TEST(ImgPrReducer, APictureOfOtherColoursGetsANewPalette)
{
    const int w = 320, h = 180;
    ImgPrReducer reducer;
    Reduce(reducer, synth::UiFrame(w, h, 1), w, h);
    EXPECT_EQ(reducer.Rebuilds(), 1);
    const auto photo = synth::PhotoFrame(w, h, 3);
    const auto out = Reduce(reducer, photo, w, h);
    EXPECT_EQ(reducer.Rebuilds(), 2);
    EXPECT_GT(synth::Psnr(photo.data(), out.data(), photo.size()), 30.0);
    reducer.Reset();
    EXPECT_EQ(reducer.Rebuilds(), 0);
    EXPECT_EQ(reducer.PaletteSize(), 0);
}

TEST(ImgPrReducer, BeatsTheOctreeAloneOnDesktopContent)
{
    const int w = 320, h = 180;
    synth::DesktopSequence seq(w, h, 8);
    const auto frame = seq.Frame(0);
    ImgPrReducer reducer;
    const auto reduced = Reduce(reducer, frame, w, h);
    QColorQuantizer octree;
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(w) * h);
    std::array<GifColorType, 256> colors{};
    std::uint8_t transparent = 0;
    ASSERT_TRUE(octree.Quantize(w, h, frame.data(), indices.data(), colors.data(), 256, &transparent, false));
    synth::Pixels plain(frame.size());
    for (std::size_t k = 0; k < indices.size(); ++k) {
        plain[k * 3] = colors[indices[k]].Blue;
        plain[k * 3 + 1] = colors[indices[k]].Green;
        plain[k * 3 + 2] = colors[indices[k]].Red;
    }
    EXPECT_GT(synth::Psnr(frame.data(), reduced.data(), frame.size()),
              synth::Psnr(frame.data(), plain.data(), frame.size()) + 1.0);
}

TEST(ImgPrReducer, RefusesNullBuffersAndEmptySizes)
{
    synth::Pixels p(12, 0);
    ImgPrReducer reducer;
    EXPECT_FALSE(reducer.Reduce(nullptr, 2, 2, p.data()));
    EXPECT_FALSE(reducer.Reduce(p.data(), 0, 2, p.data()));
    EXPECT_FALSE(ImgPrReduceColor(p.data(), 2, -1, p.data()));
    EXPECT_TRUE(ImgPrReduceColor(p.data(), 2, 2, p.data())); // in place
}

TEST(GifExporter, WithDitheringAndTransparencyAnUnchangedDesktopFrameIsAllTransparent)
{
    const int w = 320, h = 180;
    synth::DesktopSequence seq(w, h, 9, true);
    const auto path = giftest::TempPath("reduced-transparent.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(w, h, true, true, path, 0));
    const auto a = seq.Frame(0);
    const auto b = seq.Frame(1);
    exporter.PushFrame(a.data(), true, 0.1f);
    exporter.PushFrame(a.data(), true, 0.1f);
    exporter.PushFrame(b.data(), true, 0.1f);
    EXPECT_TRUE(exporter.Stop());
    const auto gif = giftest::DecodeFile(path);
    ASSERT_EQ(gif.frames.size(), 3u);
    const auto& first = gif.frames[0];
    const auto& second = gif.frames[1];
    EXPECT_EQ(std::count(first.indices.begin(), first.indices.end(), first.transparentIndex), 0);
    EXPECT_EQ(std::count(second.indices.begin(), second.indices.end(), second.transparentIndex), w * h);
    // The third frame is opaque only where the recording changed (about 4 %;
    // a change within what one palette colour stands for stays transparent).
    const auto& third = gif.frames[2];
    const auto opaque = static_cast<std::size_t>(
        w * h - std::count(third.indices.begin(), third.indices.end(), third.transparentIndex));
    std::size_t changed = 0;
    for (std::size_t k = 0; k * 3 < a.size(); ++k) {
        changed += At(a, k) != At(b, k) ? 1u : 0u;
    }
    EXPECT_LE(opaque, changed);
    EXPECT_GT(opaque, 0u);
}

} // namespace pelidore
