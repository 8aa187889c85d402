// "Smaller files": off, every file is byte for byte what it was; on, "High
// Speed" plays back as without it, or as close to the recording or closer
// with "Transparent", and every quality plays frames with no change, full
// change and changes at the edges back right.
#include "GifExporter.h"
#include "GifPlayer.h"
#include "GifTestUtil.h"
#include "ImgPrReduceColor.h"
#include "SyntheticFrames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace pelidore {

namespace {

struct Setting {
    int quality;
    bool dithering;
    bool transparency;
};

std::string Name(const Setting& s)
{
    return "quality " + std::to_string(s.quality) + (s.dithering ? " + Dithering" : "") +
           (s.transparency ? " + Transparent" : "");
}

std::vector<std::uint8_t> Export(const Setting& s, bool smaller, const std::vector<synth::Pixels>& frames, int w, int h)
{
    const auto path = giftest::TempPath("smaller.gif");
    GifExporter exporter;
    exporter.SetSmallerFiles(smaller);
    EXPECT_TRUE(exporter.Start(w, h, s.dithering, s.transparency, path, s.quality));
    for (const auto& frame : frames) {
        exporter.PushFrame(frame.data(), true, 0.1f);
    }
    EXPECT_TRUE(exporter.Stop());
    return giftest::ReadBytes(path);
}

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t b : bytes) {
        hash = (hash ^ b) * 1099511628211ull;
    }
    return hash;
}

int Distance2(const std::uint8_t* a, const std::uint8_t* b)
{
    int sum = 0;
    for (int c = 0; c < 3; ++c) {
        sum += (a[c] - b[c]) * (a[c] - b[c]);
    }
    return sum;
}

// A recording with each kind of change: none, a few pixels on every edge
// and in the corners, the whole picture, none again.
std::vector<synth::Pixels> EdgeRecording(int w, int h)
{
    const synth::DesktopSequence sequence(w, h, 5, true);
    std::vector<synth::Pixels> frames = {sequence.Frame(0), sequence.Frame(0)};
    synth::Pixels edges = frames[0];
    synth::Canvas canvas(w, h);
    canvas.Data() = edges;
    for (int x = 0; x < w; x += 3) {
        canvas.Set(x, 0, 250, 20, 20);
        canvas.Set(x, h - 1, 20, 250, 20);
    }
    for (int y = 0; y < h; y += 2) {
        canvas.Set(0, y, 20, 20, 250);
        canvas.Set(w - 1, y, 240, 240, 20);
    }
    frames.push_back(canvas.Data());
    frames.push_back(synth::PhotoFrame(w, h, 9));
    frames.push_back(frames.back());
    return frames;
}

// The frames as the exporter quantizes them with "Dithering": through the
// reducer, whose palette is kept across them.
std::vector<synth::Pixels> Reduced(const std::vector<synth::Pixels>& frames, int w, int h)
{
    ImgPrReducer reducer;
    std::vector<synth::Pixels> reduced;
    for (const auto& frame : frames) {
        reduced.emplace_back(frame.size());
        ImgPrReduceColor(reducer, frame.data(), w, h, reduced.back().data());
    }
    return reduced;
}

} // namespace

// What the exporter wrote before "Smaller files" existed, for every quality:
// six frames of a colourful recording, small enough that libimagequant runs
// on one thread (its result is then the same on every run).
TEST(GifSmallerFiles, OffEveryFileIsByteForByteWhatItWas)
{
    const int w = 48, h = 40;
    const synth::DesktopSequence sequence(w, h, 3, true);
    std::vector<synth::Pixels> frames;
    for (int i = 0; i < 6; ++i) {
        frames.push_back(sequence.Frame(i % 4 == 3 ? 2 : i));
    }
    struct Expected {
        Setting setting;
        std::uint64_t hash;
        std::size_t size;
    };
    // libimagequant's arithmetic goes through each platform's maths library,
    // so its palettes differ in the last bits between the native and the
    // Windows build: each has its own digests (made by the code before the
    // option, on that platform).
#ifdef _WIN32
    const std::uint64_t liq[] = {0x5d767666cb72fe1bull, 0xe5f78f4371875d9dull, 0x88fe5f28382e47a5ull,
                                 0x0ff3b990d1713336ull};
#else
    const std::uint64_t liq[] = {0xc58b482999607da7ull, 0x3c1dadbb0ffbf28full, 0xb0cce0f759f56b03ull,
                                 0xe87650ae2eed5327ull};
#endif
    const Expected expected[] = {
        {{0, false, false}, 0xede915449caf2e73ull, 7773},
        {{0, false, true}, 0xa1513262968c9b9full, 5808},
        {{0, true, true}, 0x26db1aabf81c1706ull, 5745},
        {{1, false, false}, liq[0], 7745},
        {{1, true, false}, liq[1], 7372},
        {{2, false, false}, liq[2], 7795},
        {{2, true, false}, liq[3], 7379},
        {{3, false, false}, liq[2], 7795},
        {{3, true, false}, liq[3], 7379},
        {{-1, false, false}, liq[2], 7795},
    };
    for (const Expected& e : expected) {
        const auto bytes = Export(e.setting, false, frames, w, h);
        EXPECT_EQ(bytes.size(), e.size) << Name(e.setting);
        EXPECT_EQ(Fnv1a(bytes), e.hash) << Name(e.setting);
    }
}

// Alone, "High Speed" plays back exactly as without the option. With
// "Dithering" + "Transparent" no pixel of any picture is farther from the
// recording than without it. With "Transparent" alone it draws pictures of
// its own: as close to the recording over all, never touching a pixel whose
// recorded colour stays, and with a smaller palette where little changes.
TEST(GifSmallerFiles, HighSpeedPlaysBackAsWithoutOrCloser)
{
    const int w = 160, h = 96;
    const synth::DesktopSequence sequence(w, h, 2, false, true);
    std::vector<synth::Pixels> frames;
    for (int i = 0; i < 10; ++i) {
        frames.push_back(sequence.Frame(i));
    }
    for (auto& frame : EdgeRecording(w, h)) {
        frames.push_back(frame);
    }
    for (const Setting& s : {Setting{0, false, true}, Setting{0, true, true}, Setting{0, false, false}}) {
        const auto plain = giftest::Decode(Export(s, false, frames, w, h));
        const auto smaller = giftest::Decode(Export(s, true, frames, w, h));
        ASSERT_EQ(smaller.frames.size(), frames.size()) << Name(s);
        int cropped = 0;
        for (std::size_t i = 0; i < smaller.frames.size(); ++i) {
            EXPECT_EQ(smaller.frames[i].delay, plain.frames[i].delay);
            cropped += smaller.frames[i].width * smaller.frames[i].height < w * h ? 1 : 0;
        }
        EXPECT_GE(cropped, 10) << Name(s);
        const auto pictures = giftest::PlayAll(smaller);
        const auto plainPictures = giftest::PlayAll(plain);
        if (!s.transparency) {
            EXPECT_EQ(pictures, plainPictures) << Name(s);
            continue;
        }
        double psnr = 0.0, plainPsnr = 0.0;
        int kept = 0;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            psnr += synth::Psnr(pictures[i].data(), frames[i].data(), frames[i].size());
            plainPsnr += synth::Psnr(plainPictures[i].data(), frames[i].data(), frames[i].size());
            for (std::size_t p = 0; p < frames[i].size(); p += 3) {
                const int error = Distance2(&pictures[i][p], &frames[i][p]);
                const int plainError = Distance2(&plainPictures[i][p], &frames[i][p]);
                if (s.dithering) {
                    ASSERT_LE(error, plainError) << i << " " << p;
                    kept += error < plainError ? 1 : 0;
                } else if (i > 0 && Distance2(&frames[i][p], &frames[i - 1][p]) == 0) {
                    ASSERT_EQ(Distance2(&pictures[i][p], &pictures[i - 1][p]), 0) << i << " " << p;
                }
            }
        }
        EXPECT_GE(psnr, plainPsnr) << Name(s);
        if (s.dithering) {
            EXPECT_GT(kept, 0); // some pixel kept a colour closer than its new one
        } else {
            // The typing frames change little; the photo frame changes everything.
            EXPECT_LE(smaller.frames[3].colorCount, 128);
            EXPECT_EQ(smaller.frames[frames.size() - 2].colorCount, 256);
        }
    }
}

TEST(GifSmallerFiles, EveryQualityPlaysNoFullAndEdgeChangesBackRight)
{
    const int w = 96, h = 64;
    const auto frames = EdgeRecording(w, h);
    for (const int quality : {0, 1, 2, 3, -1}) {
        for (const bool dithering : {false, true}) {
            const Setting s{quality, dithering, quality == 0};
            const auto gif = giftest::Decode(Export(s, true, frames, w, h));
            const auto pictures = giftest::PlayAll(gif);
            const auto seen = dithering ? Reduced(frames, w, h) : frames;
            ASSERT_EQ(pictures.size(), frames.size()) << Name(s);
            // No change: one transparent pixel carrying the delay.
            EXPECT_EQ(gif.frames[1].width * gif.frames[1].height, 1) << Name(s);
            EXPECT_EQ(gif.frames[1].delay, 10) << Name(s);
            for (std::size_t i = 1; i < frames.size(); ++i) {
                double changedError = 0.0;
                int changed = 0;
                for (std::size_t p = 0; p < frames[i].size(); p += 3) {
                    const std::uint8_t* recorded = &seen[i][p];
                    const std::uint8_t* before = &pictures[i - 1][p];
                    const std::uint8_t* now = &pictures[i][p];
                    if (Distance2(recorded, &seen[i - 1][p]) == 0) {
                        // Unchanged: as before, or refined towards the recording.
                        // ("High Speed" shows what it shows without the
                        // option, which the test above holds.)
                        if (quality != 0 && Distance2(now, before) != 0) {
                            ASSERT_LT(Distance2(now, recorded), Distance2(before, recorded)) << Name(s) << " " << i;
                        }
                    } else {
                        changedError += Distance2(now, recorded);
                        ++changed;
                    }
                }
                if (changed > 0) {
                    const double mse = changedError / (3.0 * changed);
                    const double psnr = mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
                    EXPECT_GE(psnr, 26.0) << Name(s) << " frame " << i;
                }
            }
            // The edge frame's image reaches every edge of the screen.
            const auto& edges = gif.frames[2];
            EXPECT_EQ(edges.left, 0) << Name(s);
            EXPECT_EQ(edges.top, 0) << Name(s);
            EXPECT_EQ(edges.width, w) << Name(s);
            EXPECT_EQ(edges.height, h) << Name(s);
        }
    }
}

} // namespace pelidore
