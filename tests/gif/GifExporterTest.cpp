// The export pipeline: transparency marking, the worker and its
// queue, lifecycle faults, live-mode bound; and the libimagequant path.
#include "GifExporter.h"

#include "FrameDelay.h"
#include "GifTestUtil.h"
#include "LiqQuantizer.h"
#include "SizeForecast.h"
#include "SyntheticFrames.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>

namespace pelidore {

namespace {

synth::Pixels Flat(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    synth::Pixels p(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3u);
    for (std::size_t i = 0; i < p.size(); i += 3) {
        p[i] = b;
        p[i + 1] = g;
        p[i + 2] = r;
    }
    return p;
}

int CountIndex(const giftest::DecodedFrame& f, int index)
{
    int n = 0;
    for (auto i : f.indices) {
        n += i == index ? 1 : 0;
    }
    return n;
}

} // namespace

TEST(GifExporter, TransparencyLeavesTheFirstFrameUnmarkedAndAnUnchangedSecondFrameAllTransparent)
{
    const int w = 64, h = 48;
    const auto frame = synth::UiFrame(w, h, 3);
    const auto path = giftest::TempPath("transparency.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(w, h, false, true, path, 0));
    EXPECT_TRUE(exporter.PushFrame(frame.data(), true, 0.1f));
    EXPECT_TRUE(exporter.PushFrame(frame.data(), true, 0.1f));
    EXPECT_TRUE(exporter.Stop());
    const auto gif = giftest::DecodeFile(path);
    ASSERT_EQ(gif.frames.size(), 2u);
    EXPECT_EQ(gif.frames[0].packed, 0x05);
    EXPECT_EQ(CountIndex(gif.frames[0], gif.frames[0].transparentIndex), 0);
    EXPECT_EQ(CountIndex(gif.frames[1], gif.frames[1].transparentIndex), w * h);
}

TEST(GifExporter, OnlyChangedPixelsAreOpaqueWithTransparency)
{
    const int w = 32, h = 16;
    auto a = Flat(w, h, 10, 20, 30);
    auto b = a;
    // Change the bottom-left pixel (buffer pixel 0) and one top-row pixel.
    b[0] = 200;
    b[(static_cast<std::size_t>(h - 1) * w + 5) * 3 + 1] = 99;
    const auto path = giftest::TempPath("changed.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(w, h, false, true, path, 0));
    exporter.PushFrame(a.data(), true, 0.1f);
    exporter.PushFrame(b.data(), true, 0.1f);
    exporter.PushFrame(b.data(), true, 0.1f);
    EXPECT_TRUE(exporter.Stop());
    const auto gif = giftest::DecodeFile(path);
    ASSERT_EQ(gif.frames.size(), 3u);
    const auto& f = gif.frames[1];
    EXPECT_EQ(CountIndex(f, f.transparentIndex), w * h - 2);
    // In the file the bottom row comes last.
    EXPECT_NE(f.indices[static_cast<std::size_t>(h - 1) * w], f.transparentIndex);
    EXPECT_NE(f.indices[5], f.transparentIndex);
    EXPECT_EQ(CountIndex(gif.frames[2], gif.frames[2].transparentIndex), w * h);
}

TEST(GifExporter, WithDitheringTheSecondFrameIsComparedWithTheReducedFirst)
{
    const int w = 64, h = 48;
    const auto frame = synth::PhotoFrame(w, h, 4);
    const auto path = giftest::TempPath("dither-transparency.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(w, h, true, true, path, 0));
    exporter.PushFrame(frame.data(), true, 0.1f);
    exporter.PushFrame(frame.data(), true, 0.1f);
    EXPECT_TRUE(exporter.Stop());
    const auto gif = giftest::DecodeFile(path);
    ASSERT_EQ(gif.frames.size(), 2u);
    EXPECT_EQ(CountIndex(gif.frames[1], gif.frames[1].transparentIndex), w * h);
}

TEST(GifExporter, TransparencyHasNoEffectOutsideHighSpeed)
{
    const int w = 32, h = 32;
    const auto frame = synth::UiFrame(w, h, 5);
    for (const int quality : {1, 2, 3, -1}) {
        const auto path = giftest::TempPath("liq-" + std::to_string(quality) + ".gif");
        GifExporter exporter;
        ASSERT_TRUE(exporter.Start(w, h, false, true, path, quality));
        exporter.PushFrame(frame.data(), true, 0.2f);
        exporter.PushFrame(frame.data(), true, 0.2f);
        EXPECT_TRUE(exporter.Stop());
        const auto gif = giftest::DecodeFile(path);
        ASSERT_EQ(gif.frames.size(), 2u) << quality;
        for (const auto& f : gif.frames) {
            EXPECT_EQ(f.packed, 0x04);
            EXPECT_EQ(f.transparentIndex, 0);
            EXPECT_EQ(f.delay, 20);
        }
        // No pixel was marked: the two frames are the same picture.
        EXPECT_EQ(giftest::FrameToBgrBottomUp(gif.frames[0]), giftest::FrameToBgrBottomUp(gif.frames[1]));
    }
}

TEST(GifExporter, FramesPushedAfterAFailedStartNeverReachTheFile)
{
    GifExporter exporter;
    EXPECT_FALSE(exporter.Start(16, 16, false, false, giftest::TempPath("missing-dir") / "x.gif", 0));
    EXPECT_FALSE(exporter.IsStarted());
    const auto frame = Flat(16, 16, 1, 2, 3);
    EXPECT_FALSE(exporter.PushFrame(frame.data(), true, 0.1f));
    EXPECT_FALSE(exporter.PushFrame(frame.data(), false, 0.1f));
    EXPECT_EQ(exporter.FramesWritten(), 0);
    EXPECT_EQ(exporter.TotalDuration(), 0.0f);
    EXPECT_FALSE(exporter.Stop());
    EXPECT_FALSE(exporter.Stop());
}

TEST(GifExporter, StopWithoutStartOrTwiceIsHarmless)
{
    GifExporter exporter;
    EXPECT_FALSE(exporter.Stop());
    const auto path = giftest::TempPath("twice.gif");
    ASSERT_TRUE(exporter.Start(8, 8, false, false, path, 0));
    const auto frame = Flat(8, 8, 1, 2, 3);
    exporter.PushFrame(frame.data(), false, 0.1f);
    EXPECT_TRUE(exporter.Stop());
    EXPECT_FALSE(exporter.Stop());
    EXPECT_EQ(giftest::DecodeFile(path).frames.size(), 1u);
}

TEST(GifExporter, ASecondStartCompletesTheFirstFile)
{
    const auto first = giftest::TempPath("first.gif");
    const auto second = giftest::TempPath("second.gif");
    const auto frame = Flat(8, 8, 9, 9, 9);
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(8, 8, false, false, first, 0));
    exporter.PushFrame(frame.data(), false, 0.1f);
    exporter.PushFrame(frame.data(), false, 0.1f);
    ASSERT_TRUE(exporter.Start(8, 8, false, false, second, 0));
    exporter.PushFrame(frame.data(), false, 0.1f);
    EXPECT_TRUE(exporter.Stop());
    const auto a = giftest::ReadBytes(first);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a.back(), 0x3B);
    EXPECT_EQ(giftest::Decode(a).frames.size(), 2u);
    EXPECT_EQ(giftest::DecodeFile(second).frames.size(), 1u);
}

TEST(GifExporter, ZeroNegativeAndOversizedSizesAreRefused)
{
    GifExporter exporter;
    const auto path = giftest::TempPath("bad-size.gif");
    EXPECT_FALSE(exporter.Start(0, 10, false, false, path, 0));
    EXPECT_FALSE(exporter.Start(10, 0, false, false, path, 0));
    EXPECT_FALSE(exporter.Start(-4, 10, false, false, path, 0));
    EXPECT_FALSE(exporter.Start(10, -4, false, false, path, 0));
    EXPECT_FALSE(exporter.Start(70000, 10, false, false, path, 0));
    EXPECT_FALSE(exporter.IsStarted());
}

TEST(GifExporter, CountersTotalDurationAndOrder)
{
    const int w = 16, h = 8;
    const auto path = giftest::TempPath("order.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(w, h, false, false, path, 0));
    const float delays[] = {0.1f, 0.25f, 0.5f, 1.0f, 0.04f};
    float sum = 0.0f;
    for (int i = 0; i < 5; ++i) {
        const auto frame = Flat(w, h, static_cast<std::uint8_t>(i * 50), 0, 0);
        EXPECT_TRUE(exporter.PushFrame(frame.data(), true, delays[i]));
        sum += delays[i];
    }
    EXPECT_FLOAT_EQ(exporter.TotalDuration(), sum);
    EXPECT_LE(exporter.QueuePeak(), 1u); // waiting pushes: at most one queued
    EXPECT_TRUE(exporter.Stop());
    EXPECT_EQ(exporter.TotalDuration(), 0.0f);
    EXPECT_EQ(exporter.FramesWritten(), 0);
    EXPECT_EQ(exporter.FileSize(), 0u);
    const auto gif = giftest::DecodeFile(path);
    ASSERT_EQ(gif.frames.size(), 5u);
    // 0.04f x 100 is 3.99999..., truncated alone to 3; the carried
    // remainder makes it 4, so the delays sum to 1.89 s.
    const int expected[] = {10, 25, 50, 100, 4};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(gif.frames[static_cast<std::size_t>(i)].delay, expected[i]);
        EXPECT_EQ(gif.frames[static_cast<std::size_t>(i)].colors[0].Red, i * 50);
    }
}

TEST(GifExporter, DelaysCarryTheirRemainderSoThePlaybackKeepsTheRecordedDuration)
{
    const int w = 8, h = 8;
    const auto path = giftest::TempPath("fifteen.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(w, h, false, false, path, 0));
    const auto frame = Flat(w, h, 1, 2, 3);
    const float delay = 1.0f / 15.0f;
    for (int i = 0; i < 100; ++i) {
        exporter.PushFrame(frame.data(), false, delay);
    }
    EXPECT_TRUE(exporter.Stop());
    const auto gif = giftest::DecodeFile(path);
    ASSERT_EQ(gif.frames.size(), 100u);
    int sum = 0;
    for (const auto& f : gif.frames) {
        EXPECT_GE(f.delay, DelayToCentiseconds(delay));
        EXPECT_LE(f.delay, DelayToCentiseconds(delay) + 1);
        sum += f.delay;
    }
    EXPECT_GE(sum, 666); // 6.66 to 6.67 s for 6.667 s recorded
    EXPECT_LE(sum, 667);
}

TEST(DelayClock, SumsStayWithinOneHundredthAndEachDelayWithinOneOfItsTruncation)
{
    for (const float d : {1.0f / 15.0f, 1.0f / 30.0f, 0.1f, 0.29f, 0.04f, 1.0f / 7.0f, 0.5f, 3.0f}) {
        DelayClock clock;
        double recorded = 0.0;
        for (int i = 0; i < 1000; ++i) {
            const int cs = clock.Next(d);
            recorded += static_cast<double>(d);
            EXPECT_GE(cs, DelayToCentiseconds(d)) << d;
            EXPECT_LE(cs, DelayToCentiseconds(d) + 1) << d;
            EXPECT_LE(std::abs(static_cast<double>(clock.Emitted()) - recorded * 100.0), 1.0) << d << " at " << i;
        }
    }
    DelayClock exact;
    EXPECT_EQ(exact.Next(0.5f), 50);
    EXPECT_EQ(exact.Next(3.0f), 300);
    EXPECT_EQ(exact.Next(0.5f), 50);
    // Irregular spacing (tick counts): 63 ms, 78 ms, 62 ms, ...
    DelayClock ticks;
    const float spacing[] = {0.063f, 0.078f, 0.062f, 0.079f, 0.047f, 0.094f};
    double recorded = 0.0;
    for (int i = 0; i < 600; ++i) {
        const float s = spacing[i % 6];
        const int cs = ticks.Next(s);
        recorded += static_cast<double>(s);
        EXPECT_GE(cs, DelayToCentiseconds(s));
        EXPECT_LE(cs, DelayToCentiseconds(s) + 1);
    }
    EXPECT_LE(std::abs(static_cast<double>(ticks.Emitted()) - recorded * 100.0), 1.0);
}

TEST(GifExporter, FileSizeAndFramesWrittenFollowTheFile)
{
    const int w = 40, h = 30;
    const auto path = giftest::TempPath("counters.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(w, h, false, false, path, 0));
    EXPECT_EQ(exporter.FileSize(), 32u);
    const auto frame = synth::UiFrame(w, h, 1);
    exporter.PushFrame(frame.data(), true, 0.1f);
    exporter.PushFrame(frame.data(), true, 0.1f);
    // The worker has taken the second frame; let it finish by pushing a
    // third and stopping after reading the counters of the first two.
    std::uint64_t size = 0;
    for (int spin = 0; spin < 2000 && exporter.FramesWritten() < 2; ++spin) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (int spin = 0; spin < 2000; ++spin) {
        size = exporter.FileSize();
        if (size > 32u + 2 * 786u) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(exporter.FramesWritten(), 2);
    EXPECT_TRUE(exporter.Stop());
    EXPECT_EQ(giftest::ReadBytes(path).size(), size + 1);
}

TEST(GifExporter, TheSizeLimitDropsFramesAndTheCaptureSideForecastAgrees)
{
    const int w = 64, h = 48;
    const auto path = giftest::TempPath("size-limit.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(w, h, false, false, path, 0));
    exporter.SetSizeLimit(6000);
    EXPECT_EQ(exporter.SizeLimit(), 6000u);
    int pushed = 0;
    bool forecastHeld = false;
    for (int i = 0; i < 20; ++i) {
        const auto frame = synth::PhotoFrame(w, h, static_cast<std::uint64_t>(i));
        exporter.PushFrame(frame.data(), true, 0.1f);
        ++pushed;
    }
    // Let the worker finish the last frame before looking.
    const auto wait = [&] {
        std::uint64_t last = 0;
        for (int spin = 0; spin < 200; ++spin) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (exporter.FileSize() == last && spin > 10) {
                break;
            }
            last = exporter.FileSize();
        }
    };
    wait();
    forecastHeld = SizeForecastExceeds(exporter.SizeLimit(), exporter.FileSize(), exporter.FramesWritten());
    EXPECT_TRUE(forecastHeld);
    const int written = exporter.FramesWritten();
    EXPECT_GE(written, 1);
    EXPECT_LT(written, pushed);
    EXPECT_LE(exporter.FileSize(), 6000u + exporter.FileSize() / static_cast<std::uint64_t>(written));
    EXPECT_TRUE(exporter.Stop());
    EXPECT_EQ(giftest::DecodeFile(path).frames.size(), static_cast<std::size_t>(written));
}

TEST(GifExporter, LiveModeQueueIsBoundedAndNothingIsDropped)
{
    const int w = 160, h = 120;
    const auto path = giftest::TempPath("live.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(w, h, false, false, path, 3)); // a slow worker
    exporter.SetQueueLimit(3);
    EXPECT_EQ(exporter.QueueLimit(), 3u);
    const auto frame = synth::PhotoFrame(w, h, 2);
    const int frames = 30;
    for (int i = 0; i < frames; ++i) {
        EXPECT_TRUE(exporter.PushFrame(frame.data(), false, 1.0f / 30.0f));
        EXPECT_LE(exporter.QueuePeak(), 3u);
    }
    EXPECT_TRUE(exporter.Stop());
    const auto gif = giftest::DecodeFile(path);
    EXPECT_EQ(gif.frames.size(), static_cast<std::size_t>(frames));
}

TEST(GifExporter, TheDefaultQueueBoundIsAboutAHundredMegabytes)
{
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(1280, 720, false, false, giftest::TempPath("bound.gif"), 0));
    EXPECT_EQ(exporter.QueueLimit(), (128u << 20) / (1280u * 720u * 3u));
    exporter.Stop();
    ASSERT_TRUE(exporter.Start(8, 8, false, false, giftest::TempPath("bound-small.gif"), 0));
    EXPECT_EQ(exporter.QueueLimit(), 1024u);
    exporter.Stop();
}

TEST(LiqQuantizer, SpeedsFollowTheQualitySetting)
{
    EXPECT_EQ(LiqSpeedForQuality(1), 9);
    EXPECT_EQ(LiqSpeedForQuality(2), 6);
    EXPECT_EQ(LiqSpeedForQuality(3), 3);
    EXPECT_EQ(LiqSpeedForQuality(-1), 0);
}

TEST(LiqQuantizer, LowQualityNeverGivesMoreThan255Entries)
{
    const int w = 96, h = 64;
    const auto frame = synth::PhotoFrame(w, h, 8);
    std::vector<std::uint8_t> rgba;
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(w) * h);
    std::array<GifColorType, 256> colors{};
    colors[255] = {1, 2, 3};
    int used = 0;
    ASSERT_TRUE(LiqQuantize(w, h, frame.data(), 1, false, rgba, indices.data(), colors.data(), &used));
    EXPECT_GT(used, 100);
    EXPECT_LE(used, 255);
    EXPECT_EQ(colors[255].Red | colors[255].Green | colors[255].Blue, 0);
    for (auto i : indices) {
        EXPECT_LT(i, used);
    }
    EXPECT_GE(rgba.size(), static_cast<std::size_t>(w) * h * 4);
}

TEST(LiqQuantizer, ChannelOrderIsRestoredAndRowsKeepTheirOrder)
{
    // Four exact colours, one per row band: the palette must give back the
    // real red, green and blue of each pixel, rows in buffer order.
    const int w = 8, h = 4;
    synth::Pixels p(static_cast<std::size_t>(w) * h * 3);
    const std::uint8_t rgb[4][3] = {{250, 10, 10}, {10, 250, 10}, {10, 10, 250}, {200, 150, 50}};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint8_t* q = &p[(static_cast<std::size_t>(y) * w + x) * 3];
            q[0] = rgb[y][2];
            q[1] = rgb[y][1];
            q[2] = rgb[y][0];
        }
    }
    for (const bool dithering : {false, true}) {
        std::vector<std::uint8_t> rgba;
        std::vector<std::uint8_t> indices(static_cast<std::size_t>(w) * h);
        std::array<GifColorType, 256> colors{};
        ASSERT_TRUE(LiqQuantize(w, h, p.data(), 3, dithering, rgba, indices.data(), colors.data()));
        for (int y = 0; y < h; ++y) {
            const GifColorType& c = colors[indices[static_cast<std::size_t>(y) * w]];
            EXPECT_NEAR(c.Red, rgb[y][0], 2) << y;
            EXPECT_NEAR(c.Green, rgb[y][1], 2) << y;
            EXPECT_NEAR(c.Blue, rgb[y][2], 2) << y;
        }
    }
}

} // namespace pelidore
