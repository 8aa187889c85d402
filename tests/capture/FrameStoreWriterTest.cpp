// CFrameStoreWriter: the file layout (checked with an independent parser),
// key frames, the header's frame count, sizes, the writer's failure handling,
// and the bytes of stores written before, to the byte.
#include "FrameStoreRoundTrip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace pelidore {

using fstest::Bytes;
using fstest::ReadStore;
using fstest::Status;
using fstest::WriteStore;

TEST(FrameStoreWriter, HeaderAndRecordLayout)
{
    fstest::TempDir dir;
    const int w = 64, h = 30;
    std::vector<Bytes> frames = fstest::MovingWindowFrames(w, h, 3);
    const Bytes file = WriteStore(dir / "temp.dat", w, h, frames);
    const auto parsed = fstest::ParseStoreFile(file);
    EXPECT_EQ(parsed.version, 1);
    EXPECT_EQ(parsed.width, w);
    EXPECT_EQ(parsed.height, h);
    EXPECT_EQ(parsed.bytesPerPixel, 3);
    EXPECT_EQ(parsed.frameCount, 3);
    ASSERT_EQ(parsed.records.size(), 3u);
    EXPECT_EQ(parsed.trailingBytes, 0u);
    EXPECT_EQ(parsed.records[0].offset, 20u);
    for (std::size_t i = 0; i < parsed.records.size(); ++i) {
        const auto& r = parsed.records[i];
        EXPECT_FLOAT_EQ(r.delay, 0.05f + 0.01f * float(i));
        EXPECT_EQ(r.flag, 1);
        EXPECT_EQ(r.blobVersion, 1);
        EXPECT_EQ(r.compressor, 1);
        EXPECT_EQ(r.chunkCount, 4);
        EXPECT_EQ(r.bytesPerPixel, 3);
        std::size_t total = 5;
        for (const auto& c : r.chunks)
            total += 4 + c.compressedLength;
        EXPECT_EQ(total, r.blobLength) << "blob length = 5 + sum(4 + C)";
    }
    // The key frame's chunks are the raw frame.
    Bytes joined;
    for (const auto& c : parsed.records[0].chunks)
        joined.insert(joined.end(), c.data.begin(), c.data.end());
    EXPECT_EQ(joined, frames[0]);
}

TEST(FrameStoreWriter, KeyFramesAreEveryTwentieth)
{
    fstest::TempDir dir;
    const int w = 32, h = 16;
    const auto frames = fstest::MovingWindowFrames(w, h, 61, 10);
    const auto parsed = fstest::ParseStoreFile(WriteStore(dir / "temp.dat", w, h, frames));
    ASSERT_EQ(parsed.records.size(), 61u);
    for (int i = 0; i < 61; ++i)
        EXPECT_EQ(parsed.records[i].kind, i % 20 == 0 ? 0 : 15) << "frame " << i;
    const auto back = ReadStore(dir / "temp.dat");
    ASSERT_EQ(back.size(), 61u);
    for (int i = 0; i < 61; ++i) {
        EXPECT_EQ(back[i].keyFrame, i % 20 == 0);
        EXPECT_EQ(back[i].pixels, frames[i]) << "frame " << i;
    }
}

TEST(FrameStoreWriter, IdenticalFramesGiveUnchangedRecordsOnly)
{
    fstest::TempDir dir;
    const int w = 64, h = 21; // N = 4032, S = 1008 = 63 * 16: no tail
    const Bytes frame = fstest::RandomFrame(std::size_t(w) * h * 3, 5);
    const auto parsed = fstest::ParseStoreFile(WriteStore(dir / "temp.dat", w, h, {frame, frame}));
    ASSERT_EQ(parsed.records.size(), 2u);
    ASSERT_EQ(parsed.records[1].chunks.size(), 4u);
    for (const auto& chunk : parsed.records[1].chunks) {
        ASSERT_FALSE(chunk.records.empty());
        for (const auto& r : chunk.records)
            EXPECT_EQ(r.type, 1);
    }
}

TEST(FrameStoreWriter, HundredByHundredChunksEndWithATwelveByteTail)
{
    fstest::TempDir dir;
    const int w = 100, h = 100;
    const auto frames = fstest::MovingWindowFrames(w, h, 4, 5);
    const Bytes repeated = frames[3];
    std::vector<Bytes> all = frames;
    all.push_back(repeated);
    const auto parsed = fstest::ParseStoreFile(WriteStore(dir / "temp.dat", w, h, all));
    ASSERT_EQ(parsed.records.size(), 5u);
    for (const auto& chunk : parsed.records[0].chunks)
        EXPECT_EQ(chunk.data.size(), 7500u) << "N = 30000, S = 7500, four chunks of 7500 bytes";
    for (std::size_t i = 1; i < parsed.records.size(); ++i) {
        ASSERT_EQ(parsed.records[i].chunks.size(), 4u);
        for (const auto& chunk : parsed.records[i].chunks) {
            ASSERT_FALSE(chunk.records.empty());
            EXPECT_EQ(chunk.records.back().type, 2);
            EXPECT_EQ(chunk.records.back().bytes, 12) << "7500 mod 16";
            int covered = 0;
            for (const auto& r : chunk.records)
                covered += r.bytes;
            EXPECT_EQ(covered, 7500);
        }
    }
    // The identical last frame: one unchanged record of 7488 bytes and the tail.
    for (const auto& chunk : parsed.records[4].chunks) {
        ASSERT_EQ(chunk.records.size(), 2u);
        EXPECT_EQ(chunk.records[0].type, 1);
        EXPECT_EQ(chunk.records[0].bytes, 7488);
    }
    const auto back = ReadStore(dir / "temp.dat");
    ASSERT_EQ(back.size(), all.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(back[i].pixels, all[i]);
}

TEST(FrameStoreWriter, HeaderCountIsZeroWhileRecordingAndEqualsTheRecordsAfterClose)
{
    fstest::TempDir dir;
    const auto path = dir / "temp.dat";
    const int w = 40, h = 10;
    const auto frames = fstest::MovingWindowFrames(w, h, 25, 10);
    CFrameStoreWriter store;
    ASSERT_TRUE(store.Create(w, h));
    ASSERT_TRUE(store.OpenForWriting(path));
    float sum = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        ASSERT_TRUE(store.Append(0.1f, frames[i].data()));
        sum += 0.1f;
        EXPECT_EQ(store.FramesWritten(), int(i) + 1);
        EXPECT_FLOAT_EQ(store.DelaySum(), sum);
    }
    // What a crash would leave: the header as first written.
    {
        CFrameStoreReader peek;
        ASSERT_TRUE(peek.OpenForReading(path));
        EXPECT_EQ(peek.HeaderFrameCount(), 0);
        CFrameStoreReader::Frame f;
        EXPECT_EQ(peek.NextFrame(f), Status::End) << "a reader that trusts the header delivers nothing";
    }
    ASSERT_TRUE(store.Close());
    const auto parsed = fstest::ParseStoreFile(fstest::ReadAll(path));
    EXPECT_EQ(parsed.frameCount, 25);
    EXPECT_EQ(parsed.records.size(), 25u);
    EXPECT_EQ(parsed.trailingBytes, 0u);
}

TEST(FrameStoreWriter, CreateRefusesAbsurdSizes)
{
    CFrameStoreWriter store;
    for (auto [w, h] : std::vector<std::pair<int, int>>{{0, 10},
                                                        {10, 0},
                                                        {-4, 10},
                                                        {10, -1},
                                                        {16385, 4},
                                                        {4, 16385},
                                                        {16384, 16384},
                                                        {INT32_MAX, INT32_MAX},
                                                        {INT32_MIN, 2},
                                                        {65536, 65536}}) {
        EXPECT_FALSE(store.Create(w, h)) << w << " x " << h;
        EXPECT_FALSE(store.ErrorMessage().empty());
    }
    EXPECT_TRUE(store.Create(1, 1));
    EXPECT_TRUE(store.Create(16384, 4));
    EXPECT_EQ(FrameStoreLayout::FrameBytesFor(16384, 16384), std::size_t(805306368));
    EXPECT_TRUE(FrameStoreLayout::IsPlausibleSize(7680, 4320));
}

TEST(FrameStoreWriter, ZlibAndSnappyFramesMixInOneFile)
{
    fstest::TempDir dir;
    const int w = 48, h = 12;
    const auto frames = fstest::MovingWindowFrames(w, h, 30, 10);
    CFrameStoreWriter store;
    ASSERT_TRUE(store.Create(w, h));
    ASSERT_TRUE(store.OpenForWriting(dir / "mixed.dat"));
    for (std::size_t i = 0; i < frames.size(); ++i) {
        store.SetCompressor(i % 3 == 1 ? Compressor::Zlib : Compressor::Snappy, 9);
        ASSERT_TRUE(store.Append(0.1f, frames[i].data()));
    }
    ASSERT_TRUE(store.Close());
    const auto back = ReadStore(dir / "mixed.dat");
    ASSERT_EQ(back.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(back[i].compressor, i % 3 == 1 ? 2 : 1);
        EXPECT_EQ(back[i].pixels, frames[i]);
    }
}

TEST(FrameStoreWriter, WithoutAFileFramesAreEncodedButNotCounted)
{
    fstest::TempDir dir;
    const int w = 16, h = 4;
    const auto frames = fstest::MovingWindowFrames(w, h, 5, 20);
    CFrameStoreWriter store;
    ASSERT_TRUE(store.Create(w, h));
    EXPECT_FALSE(store.OpenForWriting(dir / "no-such-folder" / "temp.dat"));
    for (const Bytes& f : frames)
        EXPECT_FALSE(store.Append(0.25f, f.data())) << "nothing is written";
    EXPECT_EQ(store.FramesWritten(), 0);
    EXPECT_FLOAT_EQ(store.DelaySum(), 1.25f);
    EXPECT_FALSE(store.Close()) << "no file is complete";
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder" / "temp.dat"));
}

TEST(FrameStoreWriter, MisuseIsRefused)
{
    fstest::TempDir dir;
    CFrameStoreWriter store;
    const Bytes frame(16 * 4 * 3, 1);
    EXPECT_FALSE(store.OpenForWriting(dir / "a.dat")) << "Create first";
    EXPECT_FALSE(store.Append(0.1f, frame.data()));
    ASSERT_TRUE(store.Create(16, 4));
    EXPECT_FALSE(store.Append(0.1f, nullptr));
    EXPECT_FALSE(store.Append(std::nanf(""), frame.data()));
    EXPECT_FALSE(store.Append(-1.0f, frame.data()));
    ASSERT_TRUE(store.OpenForWriting(dir / "a.dat"));
    EXPECT_FALSE(store.Create(8, 8)) << "a file is open";
    EXPECT_TRUE(store.Append(0.1f, frame.data()));
    EXPECT_TRUE(store.Close());
    EXPECT_FALSE(store.Append(0.1f, frame.data())) << "after Close the codec is freed";
    // A second recording with the same object.
    ASSERT_TRUE(store.Create(8, 2));
    ASSERT_TRUE(store.OpenForWriting(dir / "b.dat"));
    EXPECT_EQ(store.FramesWritten(), 0);
    EXPECT_FLOAT_EQ(store.DelaySum(), 0.0f);
    EXPECT_TRUE(store.Append(0.1f, frame.data()));
    EXPECT_TRUE(store.Close());
    const auto back = ReadStore(dir / "b.dat");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].pixels, Bytes(frame.begin(), frame.begin() + 48));
}

TEST(FrameStoreWriter, DestructorFinishesTheFile)
{
    fstest::TempDir dir;
    const auto frames = fstest::MovingWindowFrames(16, 4, 3, 20);
    {
        CFrameStoreWriter store;
        ASSERT_TRUE(store.Create(16, 4));
        ASSERT_TRUE(store.OpenForWriting(dir / "d.dat"));
        for (const Bytes& f : frames)
            ASSERT_TRUE(store.Append(0.1f, f.data()));
    }
    EXPECT_EQ(ReadStore(dir / "d.dat").size(), 3u);
}

// The stores in golden/ (see its README.md), written again from the same
// frames: a change of the file format, the codec or the compressors the build
// links shows here as the first byte that differs.
TEST(FrameStoreWriter, WritesTheBytesOfTheStoresKeptHere)
{
    struct Golden {
        const char* name;
        int width, height, frames;
        Compressor compressor;
        bool flat; // a window over a flat grey frame, else over a desktop
    };
    const Golden stores[] = {
        {"50x20-snappy.dat", 50, 20, 23, Compressor::Snappy, false},
        {"5x3-snappy.dat", 5, 3, 4, Compressor::Snappy, false},
        {"400x300-zlib.dat", 400, 300, 4, Compressor::Zlib, true},
    };
    fstest::TempDir dir;
    for (const Golden& golden : stores) {
        SCOPED_TRACE(golden.name);
        const int w = golden.width, h = golden.height;
        const std::size_t n = std::size_t(w) * h * 3;
        const Bytes background = golden.flat ? Bytes(n, 0x80) : fstest::DesktopFrame(w, h);
        std::vector<Bytes> frames;
        for (int i = 0; i < golden.frames; ++i) {
            if (!golden.flat && (i == 10 || i == 11))
                frames.push_back(fstest::RandomFrame(n, 10));
            else
                frames.push_back(fstest::MovingWindowFrame(background, w, h, i, golden.flat ? 1 : 5));
        }
        const Bytes written = WriteStore(dir / golden.name, w, h, frames, golden.compressor);
        const Bytes kept = fstest::ReadAll(std::filesystem::path(FRAMESTORE_GOLDEN_DIR) / golden.name);
        ASSERT_FALSE(kept.empty());
        ASSERT_EQ(written.size(), kept.size());
        const auto differs = std::mismatch(written.begin(), written.end(), kept.begin());
        EXPECT_TRUE(differs.first == written.end()) << "first difference at byte " << (differs.first - written.begin());
    }
}

#ifdef __linux__
TEST(FrameStoreWriter, AFailedWriteStopsWritingAndCloseSaysSo)
{
    // /dev/full accepts the open and fails every write that reaches it.
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP();
    const int w = 256, h = 256;
    CFrameStoreWriter store;
    ASSERT_TRUE(store.Create(w, h));
    ASSERT_TRUE(store.OpenForWriting("/dev/full")); // the header sits in the buffer
    bool failed = false;
    for (int i = 0; i < 5 && !failed; ++i)
        failed = !store.Append(0.1f, fstest::RandomFrame(std::size_t(w) * h * 3, i).data());
    EXPECT_TRUE(failed);
    EXPECT_EQ(store.FramesWritten(), 0);
    EXPECT_NE(store.ErrorMessage().find("failed"), std::string::npos);
    EXPECT_FALSE(store.Append(0.1f, fstest::RandomFrame(std::size_t(w) * h * 3, 9).data()));
    EXPECT_FALSE(store.Close());
}
#endif

} // namespace pelidore
