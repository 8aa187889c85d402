// The GIF encoder: exact file layout, delays, the loop block,
// bottom-up rows, the size-limit forecast, wide paths.
#include "GifWriter.h"

#include "FrameDelay.h"
#include "GifExporter.h"
#include "GifTestUtil.h"
#include "SizeForecast.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstring>

#if defined(__linux__)
#include <sys/resource.h>
#endif

namespace pelidore {

namespace {

const std::vector<std::uint8_t> kHeaderAndLoop = {'G', 'I', 'F', '8', '9', 'a',
                                                  // logical screen descriptor filled in by Expected33
                                                  0, 0, 0, 0, 0x77, 0x00, 0x00, 0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S',
                                                  'C', 'A', 'P', 'E', '2', '.', '0', 0x03, 0x01, 0x00, 0x01, 0x00};

std::vector<std::uint8_t> ExpectedStart(int w, int h)
{
    std::vector<std::uint8_t> bytes = kHeaderAndLoop;
    bytes[6] = static_cast<std::uint8_t>(w & 0xFF);
    bytes[7] = static_cast<std::uint8_t>(w >> 8);
    bytes[8] = static_cast<std::uint8_t>(h & 0xFF);
    bytes[9] = static_cast<std::uint8_t>(h >> 8);
    return bytes;
}

std::array<GifColorType, 256> Palette()
{
    std::array<GifColorType, 256> colors{};
    colors[0] = {10, 20, 30};
    colors[1] = {200, 100, 50};
    colors[2] = {255, 255, 255};
    return colors;
}

// Offsets of the graphic control blocks of a file of our layout.
std::vector<std::size_t> GceOffsets(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::size_t> offsets;
    std::size_t at = 32;
    while (at + 8 + 10 + 768 + 1 < bytes.size() && bytes[at] == 0x21) {
        offsets.push_back(at);
        at += 8 + 10 + 768 + 1;
        while (at < bytes.size() && bytes[at] != 0) {
            at += 1 + bytes[at];
        }
        at += 1;
    }
    return offsets;
}

} // namespace

TEST(GifWriter, AFileWithNoFramesIs33Bytes)
{
    const auto path = giftest::TempPath("empty.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(300, 260, false, false, path, 0));
    EXPECT_TRUE(exporter.Stop());
    auto expected = ExpectedStart(300, 260);
    expected.push_back(0x3B);
    const auto bytes = giftest::ReadBytes(path);
    ASSERT_EQ(bytes.size(), 33u);
    EXPECT_EQ(bytes, expected);
}

TEST(GifWriter, OneFrameHasExactlyTheDescribedLayout)
{
    const auto path = giftest::TempPath("layout.gif");
    GifWriter writer;
    ASSERT_TRUE(writer.Open(path, 4, 2, false));
    EXPECT_EQ(writer.FileSize(), 32u);
    const auto colors = Palette();
    const std::vector<std::uint8_t> indices = {0, 1, 2, 1, /* bottom row */ 2, 2, 0, 0 /* top row */};
    ASSERT_TRUE(writer.WriteFrame(7, colors.data(), indices.data(), 9));
    EXPECT_EQ(writer.FramesWritten(), 1);
    const std::uint64_t sizeAfterFrame = writer.FileSize();
    EXPECT_TRUE(writer.Close());

    const auto bytes = giftest::ReadBytes(path);
    ASSERT_EQ(bytes.size(), sizeAfterFrame + 1);
    const auto start = ExpectedStart(4, 2);
    ASSERT_GT(bytes.size(), start.size() + 8 + 10 + 768 + 2);
    EXPECT_TRUE(std::equal(start.begin(), start.end(), bytes.begin()));
    std::size_t at = start.size();
    // Graphic control extension: packed 0x04 without transparency, delay 7,
    // the transparent index byte still present.
    const std::vector<std::uint8_t> gce = {0x21, 0xF9, 0x04, 0x04, 0x07, 0x00, 0x09, 0x00};
    EXPECT_TRUE(std::equal(gce.begin(), gce.end(), bytes.begin() + static_cast<long>(at)));
    at += gce.size();
    const std::vector<std::uint8_t> desc = {0x2C, 0, 0, 0, 0, 4, 0, 2, 0, 0x87};
    EXPECT_TRUE(std::equal(desc.begin(), desc.end(), bytes.begin() + static_cast<long>(at)));
    at += desc.size();
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(bytes[at + static_cast<std::size_t>(i) * 3], colors[static_cast<std::size_t>(i)].Red);
        EXPECT_EQ(bytes[at + static_cast<std::size_t>(i) * 3 + 1], colors[static_cast<std::size_t>(i)].Green);
        EXPECT_EQ(bytes[at + static_cast<std::size_t>(i) * 3 + 2], colors[static_cast<std::size_t>(i)].Blue);
    }
    at += 768;
    EXPECT_EQ(bytes[at], 8); // LZW minimum code size
    // Sub-blocks up to the block terminator, then the trailer.
    std::size_t block = at + 1;
    while (bytes[block] != 0) {
        block += 1 + bytes[block];
        ASSERT_LT(block, bytes.size());
    }
    EXPECT_EQ(block + 2, bytes.size());
    EXPECT_EQ(bytes.back(), 0x3B);

    const auto gif = giftest::Decode(bytes);
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.frames.size(), 1u);
    EXPECT_EQ(gif.version, "GIF89a");
    EXPECT_EQ(gif.loopCount, 256);
    EXPECT_FALSE(gif.frames[0].interlaced);
    EXPECT_EQ(gif.frames[0].colorCount, 256);
    // The index buffer's first row is the bottom row of the image.
    EXPECT_EQ(gif.frames[0].indices, (std::vector<std::uint8_t>{2, 2, 0, 0, 0, 1, 2, 1}));
}

TEST(GifWriter, TransparencyOnWritesPacked05)
{
    const auto path = giftest::TempPath("transparent-flag.gif");
    GifWriter writer;
    ASSERT_TRUE(writer.Open(path, 4, 1, true));
    const auto colors = Palette();
    const std::vector<std::uint8_t> indices = {0, 1, 2, 3};
    ASSERT_TRUE(writer.WriteFrame(300, colors.data(), indices.data(), 3));
    EXPECT_TRUE(writer.Close());
    const auto gif = giftest::DecodeFile(path);
    ASSERT_EQ(gif.frames.size(), 1u);
    EXPECT_EQ(gif.frames[0].packed, 0x05);
    EXPECT_EQ(gif.frames[0].transparentIndex, 3);
    EXPECT_EQ(gif.frames[0].delay, 300);
}

TEST(GifWriter, DelaysAreHundredthsTruncated)
{
    EXPECT_EQ(DelayToCentiseconds(0.5f), 50);
    EXPECT_EQ(DelayToCentiseconds(3.0f), 300);
    EXPECT_EQ(DelayToCentiseconds(0.1f), 10);
    EXPECT_EQ(DelayToCentiseconds(0.069f), 6);
    EXPECT_EQ(DelayToCentiseconds(0.0f), 0);
    EXPECT_EQ(DelayToCentiseconds(-1.0f), 0);
    EXPECT_EQ(DelayToCentiseconds(1000.0f), 65535);

    // Through the exporter: 0.5 s gives 0x32 0x00, 3 s gives 0x2C 0x01.
    const auto path = giftest::TempPath("delays.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(8, 4, false, false, path, 0));
    std::vector<std::uint8_t> frame(8 * 4 * 3, 90);
    EXPECT_TRUE(exporter.PushFrame(frame.data(), true, 0.5f));
    EXPECT_TRUE(exporter.PushFrame(frame.data(), true, 3.0f));
    EXPECT_TRUE(exporter.Stop());
    const auto bytes = giftest::ReadBytes(path);
    const std::size_t first = 32;
    ASSERT_GT(bytes.size(), first + 8);
    EXPECT_EQ(bytes[first + 4], 0x32);
    EXPECT_EQ(bytes[first + 5], 0x00);
    const auto gif = giftest::Decode(bytes);
    ASSERT_EQ(gif.frames.size(), 2u);
    EXPECT_EQ(gif.frames[0].delay, 50);
    EXPECT_EQ(gif.frames[1].delay, 300);
    const auto offsets = GceOffsets(bytes);
    ASSERT_EQ(offsets.size(), 2u);
    EXPECT_EQ(offsets[0], first);
    EXPECT_EQ(bytes[offsets[1] + 4], 0x2C);
    EXPECT_EQ(bytes[offsets[1] + 5], 0x01);
}

TEST(SizeForecast, TheDescribedExample)
{
    EXPECT_FALSE(SizeForecastExceeds(1048576, 900000, 9)); // 1 000 000 <= limit
    EXPECT_TRUE(SizeForecastExceeds(1048576, 950000, 9));  // 1 055 555 > limit
    EXPECT_FALSE(SizeForecastExceeds(0, 950000000, 9));    // no limit
    EXPECT_FALSE(SizeForecastExceeds(10, 1000, 0));        // the first frame is never refused
}

TEST(SizeForecast, SixtyFourBitSizesNeitherWrapNorStopEarly)
{
    const std::uint64_t gib = 1ull << 30;
    EXPECT_FALSE(SizeForecastExceeds(4 * gib, 2 * gib + gib / 2, 1000)); // 2.5 GiB after 1000 frames
    EXPECT_TRUE(SizeForecastExceeds(4 * gib, 4 * gib - 1, 1000));
    EXPECT_FALSE(SizeForecastExceeds(5000ull * gib, 4900ull * gib, 100000));
    EXPECT_TRUE(SizeForecastExceeds(3 * gib, 3 * gib, 2));
}

TEST(GifWriter, TheSizeLimitRefusesFramesWithoutCountingThem)
{
    const auto path = giftest::TempPath("limit.gif");
    GifWriter writer;
    ASSERT_TRUE(writer.Open(path, 16, 16, false));
    std::array<GifColorType, 256> colors = Palette();
    std::vector<std::uint8_t> indices(256);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        indices[i] = static_cast<std::uint8_t>(i * 7 % 3);
    }
    ASSERT_TRUE(writer.WriteFrame(10, colors.data(), indices.data(), 0));
    const std::uint64_t one = writer.FileSize();
    // A limit that lets the file reach two frames' worth but not three.
    writer.SetSizeLimit(one + one / 2 + (one - 32));
    EXPECT_EQ(writer.SizeLimit(), one + one / 2 + (one - 32));
    ASSERT_TRUE(writer.WriteFrame(10, colors.data(), indices.data(), 0));
    EXPECT_EQ(writer.FramesWritten(), 2);
    const std::uint64_t two = writer.FileSize();
    ASSERT_TRUE(SizeForecastExceeds(writer.SizeLimit(), two, 2));
    EXPECT_FALSE(writer.WriteFrame(10, colors.data(), indices.data(), 0));
    EXPECT_EQ(writer.FramesWritten(), 2);
    EXPECT_EQ(writer.FileSize(), two);
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(giftest::ReadBytes(path).size(), two + 1);
    EXPECT_EQ(giftest::DecodeFile(path).frames.size(), 2u);
}

TEST(GifWriter, WidePathsWork)
{
    const auto path = giftest::TempPath(u8"aufnahme-\u00fc\u00df-\u0436\u4e2d.gif");
    GifExporter exporter;
    ASSERT_TRUE(exporter.Start(8, 8, false, false, path, 0));
    std::vector<std::uint8_t> frame(8 * 8 * 3, 128);
    EXPECT_TRUE(exporter.PushFrame(frame.data(), true, 0.1f));
    EXPECT_TRUE(exporter.Stop());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(giftest::DecodeFile(path).frames.size(), 1u);
}

TEST(GifWriter, AnOutputFunctionGetsExactlyTheFileBytes)
{
    const auto path = giftest::TempPath("sink.gif");
    std::vector<std::uint8_t> memory;
    GifWriter toFile;
    GifWriter toMemory;
    ASSERT_TRUE(toFile.Open(path, 4, 2, true));
    ASSERT_TRUE(toMemory.Open(
        [&](const std::uint8_t* bytes, std::size_t length) {
            memory.insert(memory.end(), bytes, bytes + length);
            return length;
        },
        4, 2, true));
    const auto colors = Palette();
    const std::vector<std::uint8_t> indices = {0, 1, 2, 1, 2, 2, 0, 0};
    for (GifWriter* writer : {&toFile, &toMemory}) {
        ASSERT_TRUE(writer->WriteFrame(7, colors.data(), indices.data(), 2));
        ASSERT_TRUE(writer->WriteImage(5, colors.data(), 3, GifRect{1, 1, 2, 1}, indices.data(), 4, 2));
    }
    EXPECT_EQ(toMemory.FileSize(), toFile.FileSize());
    EXPECT_TRUE(toFile.Close());
    EXPECT_TRUE(toMemory.Close());
    EXPECT_EQ(memory, giftest::ReadBytes(path));

    const auto gif = giftest::Decode(memory);
    ASSERT_EQ(gif.frames.size(), 2u);
    const auto& part = gif.frames[1];
    EXPECT_EQ(part.left, 1);
    EXPECT_EQ(part.top, 1);
    EXPECT_EQ(part.width, 2);
    EXPECT_EQ(part.height, 1);
    EXPECT_EQ(part.colorCount, 4); // three colours in a table of four
    EXPECT_EQ(part.indices, (std::vector<std::uint8_t>{0, 1}));
    EXPECT_EQ(part.colors[1].Red, colors[1].Red);
}

TEST(GifWriter, OutputsThatFailOrImagesOffTheScreenAreRefused)
{
    GifWriter writer;
    EXPECT_FALSE(writer.Open(GifWriter::Output(), 8, 8, false));
    // Room for the header and the loop block (32 bytes), none after.
    std::size_t room = 32;
    ASSERT_TRUE(writer.Open(
        [&room](const std::uint8_t*, std::size_t length) {
            const std::size_t kept = length < room ? length : room;
            room -= kept;
            return kept;
        },
        8, 8, false));
    const auto colors = Palette();
    const std::vector<std::uint8_t> indices(64, 1);
    EXPECT_FALSE(writer.WriteImage(5, colors.data(), 2, GifRect{4, 4, 5, 1}, indices.data(), 8, 0));
    EXPECT_FALSE(writer.WriteImage(5, colors.data(), 2, GifRect{0, 0, 0, 1}, indices.data(), 8, 0));
    EXPECT_FALSE(writer.WriteImage(5, colors.data(), 2, GifRect{0, 0, 8, 8}, indices.data(), 8, 0));
    EXPECT_TRUE(writer.HadWriteError());
    EXPECT_FALSE(writer.Close());
}

TEST(GifWriter, AnUncreatableFileIsRefused)
{
    GifWriter writer;
    EXPECT_FALSE(writer.Open(giftest::TempPath("no-such-folder") / "x.gif", 8, 8, false));
    EXPECT_FALSE(writer.IsOpen());
    const auto colors = Palette();
    std::vector<std::uint8_t> indices(64);
    EXPECT_FALSE(writer.WriteFrame(10, colors.data(), indices.data(), 0));
    EXPECT_EQ(writer.FramesWritten(), 0);
    EXPECT_FALSE(writer.Close());
}

TEST(GifWriter, SizesOutsideOneTo65535AreRefused)
{
    GifWriter writer;
    const auto path = giftest::TempPath("sizes.gif");
    EXPECT_FALSE(writer.Open(path, 0, 10, false));
    EXPECT_FALSE(writer.Open(path, 10, -1, false));
    EXPECT_FALSE(writer.Open(path, 65536, 1, false));
    EXPECT_TRUE(writer.Open(path, 65535, 1, false));
    EXPECT_TRUE(writer.Close());
}

#if defined(__linux__)
// A full disk as this process sees it: past RLIMIT_FSIZE every write fails.
TEST(GifWriter, AWriteThatFailsLeavesTheWholeFramesBeforeItAsACompleteGif)
{
    const auto path = giftest::TempPath("full-disk.gif");
    const auto colors = Palette();
    std::vector<std::uint8_t> noise(32 * 32);
    std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limit = old;
    limit.rlim_cur = 7000; // noise does not compress: the sixth or seventh frame is torn mid-LZW
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    GifWriter writer;
    int whole = 0;
    std::uint32_t seed = 12345;
    if (writer.Open(path, 32, 32, false)) {
        for (bool written = true; written && whole < 20; whole += written ? 1 : 0) {
            for (auto& index : noise)
                index = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
            written = writer.WriteFrame(whole + 1, colors.data(), noise.data(), 0);
        }
    }
    EXPECT_FALSE(writer.Close());
    setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_GE(whole, 3);
    const std::vector<std::uint8_t> bytes = giftest::ReadBytes(path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back(), 0x3B);
    const giftest::DecodedGif gif = giftest::Decode(bytes);
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(static_cast<int>(gif.frames.size()), whole);
    for (int i = 0; i < whole; ++i)
        EXPECT_EQ(gif.frames[i].delay, i + 1);
}
#endif

} // namespace pelidore
