// CFrameStoreReader: round trips of frames written by CFrameStoreWriter
// (random, identical, partly changed, tiny and HD frames, wide paths), the
// header's frame count and the scan that ignores it.
#include "CFrameStoreRecovery.h"
#include "FrameStoreRoundTrip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelidore {

using fstest::Bytes;
using fstest::ReadStore;
using fstest::Status;
using fstest::WriteStore;

TEST(FrameStoreReader, RoundTripRandomIdenticalAndPartlyChanged)
{
    fstest::TempDir dir;
    const int w = 320, h = 180;
    const std::size_t n = std::size_t(w) * h * 3;
    std::vector<Bytes> frames;
    for (int i = 0; i < 5; ++i)
        frames.push_back(fstest::RandomFrame(n, i));
    for (int i = 0; i < 5; ++i)
        frames.push_back(frames.back()); // identical
    for (const Bytes& f : fstest::MovingWindowFrames(w, h, 30))
        frames.push_back(f);
    frames.push_back(fstest::RandomFrame(n, 77));
    for (auto compressor : {Compressor::Snappy, Compressor::Zlib}) {
        WriteStore(dir / "temp.dat", w, h, frames, compressor);
        const auto back = ReadStore(dir / "temp.dat");
        ASSERT_EQ(back.size(), frames.size());
        for (std::size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(back[i].pixels, frames[i]) << "frame " << i;
            EXPECT_FLOAT_EQ(back[i].delay, 0.05f + 0.01f * float(i));
            EXPECT_EQ(back[i].flag, 1);
            EXPECT_EQ(back[i].compressor, std::uint8_t(compressor));
        }
    }
}

TEST(FrameStoreReader, TinyFramesRoundTrip)
{
    fstest::TempDir dir;
    for (auto [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {4, 1}, {1, 5}, {2, 3}, {5, 5}}) {
        std::vector<Bytes> frames;
        for (int i = 0; i < 23; ++i)
            frames.push_back(fstest::RandomFrame(std::size_t(w) * h * 3, std::uint32_t(i / 3)));
        WriteStore(dir / "tiny.dat", w, h, frames);
        const auto back = ReadStore(dir / "tiny.dat");
        ASSERT_EQ(back.size(), frames.size());
        for (std::size_t i = 0; i < frames.size(); ++i)
            EXPECT_EQ(back[i].pixels, frames[i]) << w << "x" << h << " frame " << i;
    }
}

TEST(FrameStoreReader, HdFramesRoundTrip)
{
    fstest::TempDir dir;
    const int w = 1280, h = 720;
    auto frames = fstest::MovingWindowFrames(w, h, 6);
    frames.push_back(fstest::RandomFrame(std::size_t(w) * h * 3, 9));
    frames.push_back(frames[2]);
    const Bytes file = WriteStore(dir / "hd.dat", w, h, frames);
    const auto parsed = fstest::ParseStoreFile(file);
    ASSERT_EQ(parsed.records.size(), frames.size());
    // A 2 % change compresses to under 5 % of the raw frame.
    EXPECT_LT(parsed.records[3].blobLength, frames[3].size() / 20);
    const auto back = ReadStore(dir / "hd.dat");
    ASSERT_EQ(back.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(back[i].pixels, frames[i]) << i;
}

TEST(FrameStoreReader, WidePathsWork)
{
    fstest::TempDir dir;
    const auto path = dir.Path() / std::filesystem::u8path(u8"K\u00e4fer \u65e5\u672c \u0416.dat");
    const auto frames = fstest::MovingWindowFrames(16, 8, 3, 20);
    WriteStore(path, 16, 8, frames);
    EXPECT_TRUE(std::filesystem::exists(path));
    const auto back = ReadStore(path);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[2].pixels, frames[2]);
    const auto result = CFrameStoreRecovery::Recover(path);
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.framesKept, 3);
    EXPECT_FALSE(result.changed);
}

TEST(FrameStoreReader, ReaderStopsAtTheHeaderCount)
{
    fstest::TempDir dir;
    const auto path = dir / "temp.dat";
    const auto frames = fstest::MovingWindowFrames(16, 4, 6, 20);
    Bytes file = WriteStore(path, 16, 4, frames);
    fstest::PutLE32(&file[16], 4);
    ASSERT_TRUE(fstest::WriteAll(path, file));
    EXPECT_EQ(ReadStore(path).size(), 4u) << "records past the count are not read";
    fstest::PutLE32(&file[16], 9);
    ASSERT_TRUE(fstest::WriteAll(path, file));
    CFrameStoreReader store;
    ASSERT_TRUE(store.OpenForReading(path));
    CFrameStoreReader::Frame f;
    int read = 0;
    while (store.NextFrame(f) == Status::Frame)
        ++read;
    EXPECT_EQ(read, 6);
    EXPECT_EQ(store.NextFrame(f), Status::Error) << "the header promised 9";
    EXPECT_NE(store.ErrorMessage().find("6 of the 9"), std::string::npos) << store.ErrorMessage();
}

TEST(FrameStoreReader, ScanningIgnoresTheHeaderCount)
{
    fstest::TempDir dir;
    const auto path = dir / "temp.dat";
    const auto frames = fstest::MovingWindowFrames(16, 4, 6, 20);
    Bytes file = WriteStore(path, 16, 4, frames);
    fstest::PutLE32(&file[16], 0);
    ASSERT_TRUE(fstest::WriteAll(path, file));
    CFrameStoreReader store;
    ASSERT_TRUE(store.OpenForScanning(path));
    CFrameStoreReader::Frame f;
    int read = 0;
    while (store.NextFrame(f) == Status::Frame)
        EXPECT_EQ(f.pixels, frames[read++]);
    EXPECT_EQ(read, 6);
    EXPECT_EQ(store.NextFrame(f), Status::End);
    EXPECT_EQ(store.ReadOffset(), file.size());
}

TEST(FrameStoreReader, MisuseIsRefused)
{
    fstest::TempDir dir;
    const Bytes frame(8 * 2 * 3, 1);
    WriteStore(dir / "b.dat", 8, 2, {frame});
    CFrameStoreReader store;
    CFrameStoreReader::Frame f;
    EXPECT_EQ(store.NextFrame(f), Status::Error) << "no reader open";
    ASSERT_TRUE(store.OpenForReading(dir / "b.dat"));
    EXPECT_EQ(store.Width(), 8);
    EXPECT_EQ(store.Height(), 2);
    EXPECT_EQ(store.NextFrame(f), Status::Frame);
    EXPECT_EQ(f.pixels, frame);
    EXPECT_EQ(store.NextFrame(f), Status::End);
    EXPECT_EQ(store.NextFrame(f), Status::End) << "End stays End";
    EXPECT_EQ(store.FramesRead(), 1);
    store.Close();
    EXPECT_FALSE(store.OpenForReading(dir / "missing.dat"));
}

} // namespace pelidore
