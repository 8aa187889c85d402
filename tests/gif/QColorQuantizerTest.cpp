// The "High Speed" octree: the edge cases, the fault
// fix (sums start at zero), and the fast quantizer held against the plain
// sorted-list implementation of tests/gif/ReferenceOctree.
#include "QColorQuantizer.h"

#include "ReferenceOctree.h"
#include "SyntheticFrames.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <set>
#include <tuple>

namespace pelidore {

namespace {

struct Result {
    std::vector<std::uint8_t> indices;
    std::array<GifColorType, 256> colors{};
    std::uint8_t transparent = 0;
    int used = 0;
    bool ok = false;
    std::vector<QColorQuantizer::Reduction> log;
};

Result Fast(QColorQuantizer& q, int w, int h, const synth::Pixels& p, bool transparency, int maxColors = 256)
{
    Result r;
    r.indices.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0xEE);
    q.SetReductionLog(&r.log);
    r.ok =
        q.Quantize(w, h, p.data(), r.indices.data(), r.colors.data(), maxColors, &r.transparent, transparency, &r.used);
    q.SetReductionLog(nullptr);
    return r;
}

Result Fast(int w, int h, const synth::Pixels& p, bool transparency, int maxColors = 256)
{
    QColorQuantizer q;
    return Fast(q, w, h, p, transparency, maxColors);
}

Result Plain(int w, int h, const synth::Pixels& p, bool transparency, int maxColors = 256)
{
    Result r;
    r.indices.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0xEE);
    std::vector<reference::Reduction> log;
    r.ok = reference::OctreeQuantize(w, h, p.data(), r.indices.data(), r.colors.data(), maxColors, &r.transparent,
                                     transparency, &r.used, &log);
    for (const auto& e : log) {
        r.log.push_back({e.level, e.count});
    }
    return r;
}

void ExpectSame(const Result& fast, const Result& plain)
{
    ASSERT_TRUE(fast.ok);
    ASSERT_TRUE(plain.ok);
    EXPECT_EQ(fast.used, plain.used);
    EXPECT_EQ(fast.transparent, plain.transparent);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(fast.colors[i].Red, plain.colors[i].Red) << "entry " << i;
        EXPECT_EQ(fast.colors[i].Green, plain.colors[i].Green) << "entry " << i;
        EXPECT_EQ(fast.colors[i].Blue, plain.colors[i].Blue) << "entry " << i;
    }
    EXPECT_TRUE(fast.indices == plain.indices);
    ASSERT_EQ(fast.log.size(), plain.log.size());
    for (std::size_t i = 0; i < fast.log.size(); ++i) {
        EXPECT_EQ(fast.log[i].level, plain.log[i].level) << "reduction " << i;
        EXPECT_EQ(fast.log[i].count, plain.log[i].count) << "reduction " << i;
    }
}

// Pixels with transparency marking as the exporter does it: unchanged
// pixels of `next` against `prev` become magenta.
synth::Pixels Marked(const synth::Pixels& prev, synth::Pixels next)
{
    for (std::size_t i = 0; i < next.size(); i += 3) {
        if (next[i] == prev[i] && next[i + 1] == prev[i + 1] && next[i + 2] == prev[i + 2]) {
            next[i] = 255;
            next[i + 1] = 0;
            next[i + 2] = 255;
        }
    }
    return next;
}

std::size_t DistinctColors(const synth::Pixels& p)
{
    std::set<std::uint32_t> seen;
    for (std::size_t i = 0; i < p.size(); i += 3) {
        seen.insert(p[i] | (p[i + 1] << 8) | (p[i + 2] << 16));
    }
    return seen.size();
}

} // namespace

TEST(QColorQuantizer, SingleColourGivesOneEntryAndBlackRest)
{
    synth::Pixels p(16 * 8 * 3);
    for (std::size_t i = 0; i < p.size(); i += 3) {
        p[i] = 30;      // blue
        p[i + 1] = 60;  // green
        p[i + 2] = 200; // red
    }
    const Result r = Fast(16, 8, p, false);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.used, 1);
    EXPECT_EQ(r.colors[0].Red, 200);
    EXPECT_EQ(r.colors[0].Green, 60);
    EXPECT_EQ(r.colors[0].Blue, 30);
    for (int i = 1; i < 256; ++i) {
        EXPECT_EQ(r.colors[i].Red | r.colors[i].Green | r.colors[i].Blue, 0) << i;
    }
    for (auto index : r.indices) {
        EXPECT_EQ(index, 0);
    }
    EXPECT_EQ(r.transparent, 0);
}

TEST(QColorQuantizer, AllUnchangedFrameMapsToTheTransparentIndex)
{
    synth::Pixels p(32 * 4 * 3);
    for (std::size_t i = 0; i < p.size(); i += 3) {
        p[i] = 255;
        p[i + 1] = 0;
        p[i + 2] = 255;
    }
    const Result r = Fast(32, 4, p, true);
    ASSERT_TRUE(r.ok);
    for (auto index : r.indices) {
        EXPECT_EQ(index, r.transparent);
    }
    EXPECT_EQ(r.colors[r.transparent].Red, 255);
    EXPECT_EQ(r.colors[r.transparent].Green, 0);
    EXPECT_EQ(r.colors[r.transparent].Blue, 255);
}

TEST(QColorQuantizer, ThreeHundredColoursEndWithAtMost256LeavesReducingLevelOneFirst)
{
    const int w = 120, h = 100;
    const synth::Pixels p = synth::ColorsFrame(w, h, 300);
    ASSERT_EQ(DistinctColors(p), 300u);
    const Result r = Fast(w, h, p, false);
    ASSERT_TRUE(r.ok);
    EXPECT_LE(r.used, 256);
    EXPECT_GE(r.used, 200);
    ASSERT_FALSE(r.log.empty());
    EXPECT_EQ(r.log.front().level, 1u);
    // The first reduction takes the level-1 node with the fewest pixels:
    // replay the frame in the reference and compare what it reduced.
    const Result plain = Plain(w, h, p, false);
    ExpectSame(r, plain);
}

TEST(QColorQuantizer, ReducedNodesAverageExactlyTheirPixels)
{
    // An old fault: a reduced node's red and green sums shared storage
    // with its list links. Each palette entry must be the
    // truncated mean of exactly the pixels that map to it.
    for (const bool transparency : {false, true}) {
        const int w = 96, h = 80;
        const synth::Pixels p = synth::PhotoFrame(w, h, 5);
        const Result r = Fast(w, h, p, transparency);
        ASSERT_TRUE(r.ok);
        ASSERT_FALSE(r.log.empty());
        std::map<int, std::array<std::uint64_t, 4>> sums;
        for (std::size_t i = 0; i < r.indices.size(); ++i) {
            auto& s = sums[r.indices[i]];
            s[0] += p[i * 3 + 2];
            s[1] += p[i * 3 + 1];
            s[2] += p[i * 3];
            s[3] += 1;
        }
        if (transparency) {
            auto& s = sums[r.transparent];
            s[0] += 255;
            s[2] += 255;
            s[3] += 1;
        }
        for (const auto& [index, s] : sums) {
            EXPECT_EQ(r.colors[index].Red, s[0] / s[3]) << index;
            EXPECT_EQ(r.colors[index].Green, s[1] / s[3]) << index;
            EXPECT_EQ(r.colors[index].Blue, s[2] / s[3]) << index;
        }
    }
}

TEST(QColorQuantizer, FewerThan8ColoursIsRefusedWithoutTouchingTheOutput)
{
    const synth::Pixels p = synth::UiFrame(64, 40, 1);
    std::vector<std::uint8_t> indices(64 * 40, 0xAB);
    std::array<GifColorType, 256> colors{};
    colors[5].Red = 77;
    std::uint8_t transparent = 0x5A;
    QColorQuantizer q;
    EXPECT_FALSE(q.Quantize(64, 40, p.data(), indices.data(), colors.data(), 7, &transparent, false));
    EXPECT_EQ(transparent, 0x5A);
    EXPECT_EQ(colors[5].Red, 77);
    for (auto i : indices) {
        EXPECT_EQ(i, 0xAB);
    }
    EXPECT_TRUE(q.Quantize(64, 40, p.data(), indices.data(), colors.data(), 8, &transparent, false));
}

TEST(QColorQuantizer, FramesOfAtMost256ColoursPassThroughExactly)
{
    for (const int colors : {2, 100, 254, 256}) {
        const int w = 64, h = 64;
        const synth::Pixels p = synth::ColorsFrame(w, h, colors);
        for (const bool transparency : {false, true}) {
            if (transparency && colors > 254) {
                continue; // the key colour takes a slot
            }
            const Result r = Fast(w, h, p, transparency);
            ASSERT_TRUE(r.ok);
            EXPECT_TRUE(r.log.empty()) << colors;
            for (std::size_t i = 0; i < r.indices.size(); ++i) {
                const GifColorType& c = r.colors[r.indices[i]];
                ASSERT_EQ(c.Blue, p[i * 3]) << colors << " colours, pixel " << i;
                ASSERT_EQ(c.Green, p[i * 3 + 1]);
                ASSERT_EQ(c.Red, p[i * 3 + 2]);
            }
        }
    }
}

TEST(QColorQuantizer, MatchesThePlainListOnRandomFrames)
{
    QColorQuantizer q; // reused across frames, as the exporter does
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
        const synth::Pixels p = synth::RandomFrame(64, 48, seed);
        for (const bool transparency : {false, true}) {
            for (const int maxColors : {256, 64, 8}) {
                SCOPED_TRACE(testing::Message()
                             << "seed " << seed << " transparency " << transparency << " max " << maxColors);
                ExpectSame(Fast(q, 64, 48, p, transparency, maxColors), Plain(64, 48, p, transparency, maxColors));
            }
        }
    }
}

TEST(QColorQuantizer, MatchesThePlainListOnUiFrames)
{
    QColorQuantizer q;
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
        const synth::Pixels p = synth::UiFrame(320, 200, seed);
        const synth::Pixels next = synth::UiFrame(320, 200, seed + 10);
        const synth::Pixels marked = Marked(p, next);
        for (const bool transparency : {false, true}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " transparency " << transparency);
            ExpectSame(Fast(q, 320, 200, p, transparency), Plain(320, 200, p, transparency));
            ExpectSame(Fast(q, 320, 200, marked, transparency), Plain(320, 200, marked, transparency));
            ExpectSame(Fast(q, 320, 200, p, transparency, 16), Plain(320, 200, p, transparency, 16));
        }
    }
}

TEST(QColorQuantizer, MatchesThePlainListOnPhotoFrames)
{
    QColorQuantizer q;
    for (std::uint64_t seed = 1; seed <= 2; ++seed) {
        const synth::Pixels p = synth::PhotoFrame(200, 150, seed);
        for (const bool transparency : {false, true}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " transparency " << transparency);
            ExpectSame(Fast(q, 200, 150, p, transparency), Plain(200, 150, p, transparency));
        }
    }
}

TEST(QColorQuantizer, MatchesThePlainListOnDesktopSequences)
{
    QColorQuantizer q;
    const synth::DesktopSequence seq(320, 180, 3);
    synth::Pixels prev = seq.Frame(0);
    for (int i = 0; i < 4; ++i) {
        const synth::Pixels frame = seq.Frame(i);
        const synth::Pixels marked = i == 0 ? frame : Marked(prev, frame);
        SCOPED_TRACE(testing::Message() << "frame " << i);
        ExpectSame(Fast(q, 320, 180, frame, false), Plain(320, 180, frame, false));
        ExpectSame(Fast(q, 320, 180, marked, true), Plain(320, 180, marked, true));
        prev = frame;
    }
}

TEST(QColorQuantizer, MatchesThePlainListOnFramesSmallerThanItsWideStores)
{
    // Indices are written 16 at a time and pixels read 4 bytes at a time
    // where there is room: frames of a few pixels, whose last pixel and last
    // run end the buffers, must come out the same.
    QColorQuantizer q;
    const int sizes[][2] = {{1, 1}, {2, 1}, {5, 3}, {17, 1}, {3, 11}};
    for (const auto& size : sizes) {
        for (std::uint64_t seed = 1; seed <= 2; ++seed) {
            synth::Pixels p = synth::RandomFrame(size[0], size[1], seed);
            if (seed == 2) {
                // Pairs of equal pixels: runs of 2 up to the last pixel.
                for (std::size_t i = 3; i < p.size(); i += 6) {
                    std::memcpy(&p[i], &p[i - 3], 3);
                }
            }
            SCOPED_TRACE(testing::Message() << size[0] << "x" << size[1] << " seed " << seed);
            ExpectSame(Fast(q, size[0], size[1], p, false, 8), Plain(size[0], size[1], p, false, 8));
            ExpectSame(Fast(q, size[0], size[1], p, true), Plain(size[0], size[1], p, true));
        }
    }
}

TEST(QColorQuantizer, MatchesThePlainListOnLongRunsAndStripes)
{
    // Runs that straddle reductions: stripes of growing length of many
    // colours, so runs start while the tree is over its limit.
    const int w = 256, h = 64;
    synth::Pixels p(static_cast<std::size_t>(w) * h * 3);
    synth::Rng rng(9);
    std::size_t pos = 0;
    while (pos < static_cast<std::size_t>(w) * h) {
        const std::uint32_t c = static_cast<std::uint32_t>(rng.Next());
        std::size_t run = 1 + rng.Below(40);
        for (; run > 0 && pos < static_cast<std::size_t>(w) * h; --run, ++pos) {
            p[pos * 3] = static_cast<std::uint8_t>(c);
            p[pos * 3 + 1] = static_cast<std::uint8_t>(c >> 8);
            p[pos * 3 + 2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    for (const bool transparency : {false, true}) {
        for (const int maxColors : {256, 32}) {
            ExpectSame(Fast(w, h, p, transparency, maxColors), Plain(w, h, p, transparency, maxColors));
        }
    }
}

} // namespace pelidore
