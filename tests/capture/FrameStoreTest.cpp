// CFrameStore as a writer and a reader: the file layout (checked
// with an independent parser), round trips, key frames, the edge cases the
// document lists, sizes, paths, and the writer's failure handling.
#include "CFrameStore.h"
#include "FrameStoreTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace pelidore {

using fstest::Bytes;
using Status = CFrameStore::ReadStatus;

namespace {

// Writes frames with delays 0.05, 0.06, ... and returns the file's bytes.
Bytes WriteStore(const std::filesystem::path& path, int w, int h, const std::vector<Bytes>& frames,
                 CFrameCodec::Compressor compressor = CFrameCodec::Compressor::Snappy)
{
    CFrameStore store;
    store.SetCompressor(compressor);
    EXPECT_TRUE(store.Create(w, h));
    EXPECT_TRUE(store.OpenForWriting(path));
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_TRUE(store.Append(0.05f + 0.01f * float(i), frames[i].data())) << i;
    EXPECT_EQ(store.FramesWritten(), int(frames.size()));
    EXPECT_TRUE(store.Close());
    return fstest::ReadAll(path);
}

std::vector<CFrameStore::Frame> ReadStore(const std::filesystem::path& path, Status* last = nullptr)
{
    CFrameStore store;
    std::vector<CFrameStore::Frame> frames;
    EXPECT_TRUE(store.OpenForReading(path)) << store.ErrorMessage();
    CFrameStore::Frame frame;
    Status status;
    while ((status = store.NextFrame(frame)) == Status::Frame)
        frames.push_back(frame);
    if (last)
        *last = status;
    else
        EXPECT_EQ(status, Status::End) << store.ErrorMessage();
    return frames;
}

std::vector<Bytes> MovingWindowFrames(int w, int h, int count, double percent = 2.0)
{
    const Bytes desktop = fstest::DesktopFrame(w, h);
    std::vector<Bytes> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(fstest::MovingWindowFrame(desktop, w, h, i, percent));
    return frames;
}

} // namespace

TEST(FrameStore, HeaderAndRecordLayout)
{
    fstest::TempDir dir;
    const int w = 64, h = 30;
    std::vector<Bytes> frames = MovingWindowFrames(w, h, 3);
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

TEST(FrameStore, KeyFramesAreEveryTwentieth)
{
    fstest::TempDir dir;
    const int w = 32, h = 16;
    const auto frames = MovingWindowFrames(w, h, 61, 10);
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

TEST(FrameStore, RoundTripRandomIdenticalAndPartlyChanged)
{
    fstest::TempDir dir;
    const int w = 320, h = 180;
    const std::size_t n = std::size_t(w) * h * 3;
    std::vector<Bytes> frames;
    for (int i = 0; i < 5; ++i)
        frames.push_back(fstest::RandomFrame(n, i));
    for (int i = 0; i < 5; ++i)
        frames.push_back(frames.back()); // identical
    for (const Bytes& f : MovingWindowFrames(w, h, 30))
        frames.push_back(f);
    frames.push_back(fstest::RandomFrame(n, 77));
    for (auto compressor : {CFrameCodec::Compressor::Snappy, CFrameCodec::Compressor::Zlib}) {
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

TEST(FrameStore, IdenticalFramesGiveUnchangedRecordsOnly)
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

TEST(FrameStore, HundredByHundredChunksEndWithATwelveByteTail)
{
    fstest::TempDir dir;
    const int w = 100, h = 100;
    const auto frames = MovingWindowFrames(w, h, 4, 5);
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

TEST(FrameStore, HeaderCountIsZeroWhileRecordingAndEqualsTheRecordsAfterClose)
{
    fstest::TempDir dir;
    const auto path = dir / "temp.dat";
    const int w = 40, h = 10;
    const auto frames = MovingWindowFrames(w, h, 25, 10);
    CFrameStore store;
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
        CFrameStore peek;
        ASSERT_TRUE(peek.OpenForReading(path));
        EXPECT_EQ(peek.HeaderFrameCount(), 0);
        CFrameStore::Frame f;
        EXPECT_EQ(peek.NextFrame(f), Status::End) << "the reader as described delivers nothing";
    }
    ASSERT_TRUE(store.Close());
    EXPECT_EQ(store.HeaderFrameCount(), 25);
    const auto parsed = fstest::ParseStoreFile(fstest::ReadAll(path));
    EXPECT_EQ(parsed.frameCount, 25);
    EXPECT_EQ(parsed.records.size(), 25u);
    EXPECT_EQ(parsed.trailingBytes, 0u);
}

TEST(FrameStore, CreateRefusesAbsurdSizes)
{
    CFrameStore store;
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
    EXPECT_EQ(CFrameStore::FrameBytesFor(16384, 16384), std::size_t(805306368));
    EXPECT_TRUE(CFrameStore::IsPlausibleSize(7680, 4320));
}

TEST(FrameStore, TinyFramesRoundTrip)
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

TEST(FrameStore, HdFramesRoundTrip)
{
    fstest::TempDir dir;
    const int w = 1280, h = 720;
    auto frames = MovingWindowFrames(w, h, 6);
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

TEST(FrameStore, ZlibAndSnappyFramesMixInOneFile)
{
    fstest::TempDir dir;
    const int w = 48, h = 12;
    const auto frames = MovingWindowFrames(w, h, 30, 10);
    CFrameStore store;
    ASSERT_TRUE(store.Create(w, h));
    ASSERT_TRUE(store.OpenForWriting(dir / "mixed.dat"));
    for (std::size_t i = 0; i < frames.size(); ++i) {
        store.SetCompressor(i % 3 == 1 ? CFrameCodec::Compressor::Zlib : CFrameCodec::Compressor::Snappy, 9);
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

TEST(FrameStore, WidePathsWork)
{
    fstest::TempDir dir;
    const auto path = dir.Path() / std::filesystem::u8path(u8"K\u00e4fer \u65e5\u672c \u0416.dat");
    const auto frames = MovingWindowFrames(16, 8, 3, 20);
    WriteStore(path, 16, 8, frames);
    EXPECT_TRUE(std::filesystem::exists(path));
    const auto back = ReadStore(path);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[2].pixels, frames[2]);
    const auto result = CFrameStore::Recover(path);
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.framesKept, 3);
    EXPECT_FALSE(result.changed);
}

TEST(FrameStore, WithoutAFileFramesAreEncodedButNotCounted)
{
    fstest::TempDir dir;
    const int w = 16, h = 4;
    const auto frames = MovingWindowFrames(w, h, 5, 20);
    CFrameStore store;
    ASSERT_TRUE(store.Create(w, h));
    EXPECT_FALSE(store.OpenForWriting(dir / "no-such-folder" / "temp.dat"));
    for (const Bytes& f : frames)
        EXPECT_FALSE(store.Append(0.25f, f.data())) << "nothing is written";
    EXPECT_EQ(store.FramesWritten(), 0);
    EXPECT_FLOAT_EQ(store.DelaySum(), 1.25f);
    EXPECT_FALSE(store.Close()) << "no file is complete";
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder" / "temp.dat"));
}

TEST(FrameStore, MisuseIsRefused)
{
    fstest::TempDir dir;
    CFrameStore store;
    const Bytes frame(16 * 4 * 3, 1);
    EXPECT_FALSE(store.OpenForWriting(dir / "a.dat")) << "Create first";
    EXPECT_FALSE(store.Append(0.1f, frame.data()));
    ASSERT_TRUE(store.Create(16, 4));
    EXPECT_FALSE(store.Append(0.1f, nullptr));
    EXPECT_FALSE(store.Append(std::nanf(""), frame.data()));
    EXPECT_FALSE(store.Append(-1.0f, frame.data()));
    ASSERT_TRUE(store.OpenForWriting(dir / "a.dat"));
    EXPECT_FALSE(store.Create(8, 8)) << "a file is open";
    EXPECT_FALSE(store.OpenForReading(dir / "a.dat")) << "writing";
    EXPECT_TRUE(store.Append(0.1f, frame.data()));
    EXPECT_TRUE(store.Close());
    EXPECT_FALSE(store.Append(0.1f, frame.data())) << "after Close the codec is freed";
    CFrameStore::Frame f;
    EXPECT_EQ(store.NextFrame(f), Status::Error) << "no reader open";
    // A second recording with the same object.
    ASSERT_TRUE(store.Create(8, 2));
    ASSERT_TRUE(store.OpenForWriting(dir / "b.dat"));
    EXPECT_EQ(store.FramesWritten(), 0);
    EXPECT_FLOAT_EQ(store.DelaySum(), 0.0f);
    EXPECT_TRUE(store.Append(0.1f, frame.data()));
    EXPECT_TRUE(store.Close());
    ASSERT_TRUE(store.OpenForReading(dir / "b.dat"));
    EXPECT_EQ(store.Width(), 8);
    EXPECT_EQ(store.Height(), 2);
    EXPECT_EQ(store.NextFrame(f), Status::Frame);
    EXPECT_EQ(f.pixels, Bytes(frame.begin(), frame.begin() + 48));
    EXPECT_EQ(store.NextFrame(f), Status::End);
    EXPECT_EQ(store.NextFrame(f), Status::End) << "End stays End";
    EXPECT_EQ(store.FramesRead(), 1);
    store.CloseReader();
    EXPECT_FALSE(store.OpenForReading(dir / "missing.dat"));
}

TEST(FrameStore, DestructorFinishesTheFile)
{
    fstest::TempDir dir;
    const auto frames = MovingWindowFrames(16, 4, 3, 20);
    {
        CFrameStore store;
        ASSERT_TRUE(store.Create(16, 4));
        ASSERT_TRUE(store.OpenForWriting(dir / "d.dat"));
        for (const Bytes& f : frames)
            ASSERT_TRUE(store.Append(0.1f, f.data()));
    }
    EXPECT_EQ(ReadStore(dir / "d.dat").size(), 3u);
}

#ifdef __linux__
TEST(FrameStore, AFailedWriteStopsWritingAndCloseSaysSo)
{
    // /dev/full accepts the open and fails every write that reaches it.
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP();
    const int w = 256, h = 256;
    CFrameStore store;
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

TEST(FrameStore, ReaderStopsAtTheHeaderCount)
{
    fstest::TempDir dir;
    const auto path = dir / "temp.dat";
    const auto frames = MovingWindowFrames(16, 4, 6, 20);
    Bytes file = WriteStore(path, 16, 4, frames);
    fstest::PutLE32(&file[16], 4);
    ASSERT_TRUE(fstest::WriteAll(path, file));
    EXPECT_EQ(ReadStore(path).size(), 4u) << "records past the count are not read";
    fstest::PutLE32(&file[16], 9);
    ASSERT_TRUE(fstest::WriteAll(path, file));
    Status last;
    CFrameStore store;
    ASSERT_TRUE(store.OpenForReading(path));
    CFrameStore::Frame f;
    int read = 0;
    while (store.NextFrame(f) == Status::Frame)
        ++read;
    EXPECT_EQ(read, 6);
    EXPECT_EQ(store.NextFrame(f), Status::Error) << "the header promised 9";
    EXPECT_NE(store.ErrorMessage().find("6 of the 9"), std::string::npos) << store.ErrorMessage();
    (void)last;
}

TEST(FrameStore, ScanningIgnoresTheHeaderCount)
{
    fstest::TempDir dir;
    const auto path = dir / "temp.dat";
    const auto frames = MovingWindowFrames(16, 4, 6, 20);
    Bytes file = WriteStore(path, 16, 4, frames);
    fstest::PutLE32(&file[16], 0);
    ASSERT_TRUE(fstest::WriteAll(path, file));
    CFrameStore store;
    ASSERT_TRUE(store.OpenForScanning(path));
    CFrameStore::Frame f;
    int read = 0;
    while (store.NextFrame(f) == Status::Frame)
        EXPECT_EQ(f.pixels, frames[read++]);
    EXPECT_EQ(read, 6);
    EXPECT_EQ(store.NextFrame(f), Status::End);
    EXPECT_EQ(store.ReadOffset(), file.size());
}

} // namespace pelidore
