// The reader on damaged files: every check of a record, a blob and its
// chunks, one test each; truncation at every byte and byte flips everywhere,
// each followed by recovery. In every case the frames before the damage are
// delivered exactly, the bad frame gives ReadStatus::Error (never a crash),
// and Error is told from End.
#include "CChunkDelta.h"
#include "CFrameBlob.h"
#include "CFrameStoreRecovery.h"
#include "FrameStoreSample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace pelidore {

using fstest::BuildFile;
using fstest::Bytes;
using fstest::GetSample;
using fstest::kH;
using fstest::kN;
using fstest::kW;
using fstest::MakeBlob;
using fstest::ReadBytes;
using fstest::ReadResult;
using fstest::Record;
using fstest::Sample;
using fstest::Snappy;
using fstest::Status;
using fstest::Zlib;

namespace {

// Replaces record `index` of the sample and reads: the frames before it are
// delivered exactly, then Error naming that frame.
void ExpectBadRecord(const std::filesystem::path& path, int index, const Record& bad, const std::string& hint = "")
{
    std::vector<Record> records = GetSample().records;
    records[index] = bad;
    const ReadResult result = ReadBytes(path, BuildFile(records));
    ASSERT_TRUE(result.opened);
    EXPECT_EQ(result.last, Status::Error);
    ASSERT_EQ(result.frames.size(), std::size_t(index));
    for (int i = 0; i < index; ++i)
        EXPECT_EQ(result.frames[i], GetSample().frames[i]) << "frame " << i;
    EXPECT_NE(result.error.find("frame " + std::to_string(index)), std::string::npos) << result.error;
    if (!hint.empty()) {
        EXPECT_NE(result.error.find(hint), std::string::npos) << result.error;
    }
}

Record WithBlob(Bytes blob, float delay = 0.1f)
{
    Record r;
    r.blob = std::move(blob);
    r.delay = delay;
    return r;
}

Bytes Stream(std::initializer_list<std::uint8_t> bytes)
{
    return Bytes(bytes);
}

Bytes DeltaBlob(const Bytes& badStream, int badChunk = 2)
{
    std::vector<Bytes> chunks;
    for (int c = 0; c < 4; ++c)
        chunks.push_back(Snappy(c == badChunk ? badStream : Stream({1, 0, 96})));
    return MakeBlob(1, 15, chunks);
}

class FrameStoreCorruption : public fstest::StoreFileTest {};

} // namespace

TEST_F(FrameStoreCorruption, TheSampleReadsBack)
{
    RecordProperty("sample_bytes", int(GetSample().file.size()));
    const ReadResult result = ReadBytes(path, GetSample().file);
    EXPECT_EQ(result.last, Status::End);
    EXPECT_EQ(result.frames, GetSample().frames);
}

// ---- Header ----------------------------------------------------------------------

TEST_F(FrameStoreCorruption, AbsurdHeadersAreRefused)
{
    const auto& records = GetSample().records;
    struct Case {
        int w, h, version, bpp, count;
    };
    for (const Case& c : std::vector<Case>{{kW, kH, 2, 3, 25},
                                           {kW, kH, 0, 3, 25},
                                           {kW, kH, 1, 4, 25},
                                           {kW, kH, 1, 0, 25},
                                           {0, kH, 1, 3, 25},
                                           {kW, 0, 1, 3, 25},
                                           {-16, kH, 1, 3, 25},
                                           {kW, -8, 1, 3, 25},
                                           {100000, kH, 1, 3, 25},
                                           {16384, 16384, 1, 3, 25},
                                           {INT32_MAX, INT32_MAX, 1, 3, 25},
                                           {kW, kH, 1, 3, -1}}) {
        const ReadResult result = ReadBytes(path, BuildFile(records, c.count, c.w, c.h, c.version, c.bpp));
        EXPECT_FALSE(result.opened) << c.w << "x" << c.h << " v" << c.version << " bpp" << c.bpp << " n" << c.count;
        EXPECT_FALSE(result.error.empty());
    }
    for (std::size_t size = 0; size < 20; ++size)
        EXPECT_FALSE(ReadBytes(path, Bytes(GetSample().file.begin(), GetSample().file.begin() + size)).opened);
}

TEST_F(FrameStoreCorruption, AHeaderOfAGiantFrameWithATinyRecordIsRefusedCheaply)
{
    // 9000 x 9000 x 3 = 243 MB is a size the store accepts; 60 bytes of
    // snappy cannot be its key frame, and nothing that large is allocated.
    const std::size_t n = std::size_t(9000) * 9000 * 3;
    const Bytes claim = fstest::SnappyClaiming(n / 4, 12);
    const ReadResult result =
        ReadBytes(path, BuildFile({WithBlob(MakeBlob(1, 0, {claim, claim, claim, claim}))}, 1, 9000, 9000));
    ASSERT_TRUE(result.opened);
    EXPECT_EQ(result.last, Status::Error);
    EXPECT_NE(result.error.find("cannot give"), std::string::npos) << result.error;
}

// ---- Record ----------------------------------------------------------------------

TEST_F(FrameStoreCorruption, RecordFlagMustBeOne)
{
    for (std::uint8_t flag : {0, 2, 255}) {
        Record r = GetSample().records[7];
        r.flag = flag;
        ExpectBadRecord(path, 7, r, "flag");
    }
}

TEST_F(FrameStoreCorruption, DelayMustBeAPlaybackTime)
{
    for (float delay : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -0.5f}) {
        Record r = GetSample().records[3];
        r.delay = delay;
        ExpectBadRecord(path, 3, r, "delay");
    }
}

TEST_F(FrameStoreCorruption, BlobLengthIsCheckedAgainstTheFileAndTheFrame)
{
    // Past the end of the file: torn.
    {
        std::vector<Record> records(GetSample().records.begin(), GetSample().records.begin() + 5);
        records[4].lengthOverride = std::int64_t(records[4].blob.size()) + 1;
        const ReadResult result = ReadBytes(path, BuildFile(records));
        EXPECT_EQ(result.last, Status::Error);
        EXPECT_EQ(result.frames.size(), 4u);
        EXPECT_NE(result.error.find("torn"), std::string::npos) << result.error;
    }
    // Longer than any blob of the frame size, with the bytes present.
    {
        Record r;
        r.blob.assign(CFrameBlob::MaxLength(kN) + 1, 0);
        ExpectBadRecord(path, 2, r, "longer than any");
    }
    // Shorter than the blob head, and zero.
    ExpectBadRecord(path, 6, WithBlob({1, 1, 0, 4}));
    ExpectBadRecord(path, 6, WithBlob({}));
}

TEST_F(FrameStoreCorruption, BlobHeadFieldsAreChecked)
{
    const Bytes good = GetSample().records[5].blob;
    const auto patch = [&](int field, std::uint8_t value) {
        Bytes b = good;
        b[field] = value;
        return WithBlob(b);
    };
    ExpectBadRecord(path, 5, patch(0, 2), "version");
    ExpectBadRecord(path, 5, patch(1, 0), "compressor");
    ExpectBadRecord(path, 5, patch(1, 3), "compressor");
    ExpectBadRecord(path, 5, patch(2, 1), "kind");
    ExpectBadRecord(path, 5, patch(2, 14), "kind");
    ExpectBadRecord(path, 5, patch(3, 3), "chunk count");
    ExpectBadRecord(path, 5, patch(3, 5), "chunk count");
    ExpectBadRecord(path, 5, patch(4, 4), "bytes per pixel");
    // A key frame recoded as delta, or the other way round, does not decode.
    ExpectBadRecord(path, 0, patch(2, 15), "key frame");
}

TEST_F(FrameStoreCorruption, ChunkLengthsAreCheckedAgainstTheBlob)
{
    const Bytes good = GetSample().records[4].blob;
    Bytes longChunk = good;
    fstest::PutBE32(&longChunk[5], std::uint32_t(good.size()));
    ExpectBadRecord(path, 4, WithBlob(longChunk), "left in the blob");
    Bytes trailing = good;
    trailing.push_back(0);
    ExpectBadRecord(path, 4, WithBlob(trailing), "after the last chunk");
    ExpectBadRecord(path, 4, WithBlob(Bytes(good.begin(), good.end() - 1)));
    ExpectBadRecord(path, 4, WithBlob(Bytes(good.begin(), good.begin() + 7)), "cut off");
}

TEST_F(FrameStoreCorruption, SnappyLengthMustMatchTheChunk)
{
    const Bytes raw96 = fstest::RandomFrame(96, 1);
    const Bytes raw95 = fstest::RandomFrame(95, 2);
    const Bytes raw97 = fstest::RandomFrame(97, 3);
    ExpectBadRecord(path, 0, WithBlob(MakeBlob(1, 0, {Snappy(raw96), Snappy(raw95), Snappy(raw96), Snappy(raw96)})),
                    "snappy says 95");
    ExpectBadRecord(path, 0, WithBlob(MakeBlob(1, 0, {Snappy(raw96), Snappy(raw96), Snappy(raw96), Snappy(raw97)})),
                    "snappy says 97");
    // Delta stream longer than any delta stream of a 96-byte chunk.
    ExpectBadRecord(path, 3, WithBlob(DeltaBlob(Bytes(CChunkDelta::MaxStreamLength(96) + 1, 1))), "delta");
    // Corrupt snappy data behind a right length.
    Bytes broken = Snappy(raw96);
    for (std::size_t i = 1; i < broken.size(); ++i)
        broken[i] = 0xFE;
    ExpectBadRecord(path, 0, WithBlob(MakeBlob(1, 0, {Snappy(raw96), Snappy(raw96), broken, Snappy(raw96)})), "snappy");
}

TEST_F(FrameStoreCorruption, ZlibOutputMustMatchTheChunk)
{
    const Bytes raw96 = fstest::RandomFrame(96, 1);
    const Bytes z = Zlib(raw96);
    // A zlib key frame decodes ...
    {
        std::vector<Record> records = GetSample().records;
        records[0] = WithBlob(MakeBlob(2, 0, {z, z, z, z}));
        records.resize(1);
        const ReadResult result = ReadBytes(path, BuildFile(records));
        EXPECT_EQ(result.last, Status::End) << result.error;
        ASSERT_EQ(result.frames.size(), 1u);
    }
    // ... but not one that gives more, or fewer, bytes than the chunk.
    ExpectBadRecord(path, 0, WithBlob(MakeBlob(2, 0, {z, Zlib(fstest::RandomFrame(97, 1)), z, z})), "zlib");
    ExpectBadRecord(path, 0, WithBlob(MakeBlob(2, 0, {z, z, Zlib(fstest::RandomFrame(95, 1)), z})), "chunk 2");
    ExpectBadRecord(path, 0, WithBlob(MakeBlob(2, 0, {z, z, z, Bytes(z.begin(), z.end() - 2)})), "zlib");
    // A zlib delta stream that gives more than any delta stream of the chunk.
    ExpectBadRecord(
        path, 4,
        WithBlob(MakeBlob(2, 15,
                          {Zlib(Stream({1, 0, 96})), Zlib(Stream({1, 0, 96})),
                           Zlib(Bytes(CChunkDelta::MaxStreamLength(96) + 1, 1)), Zlib(Stream({1, 0, 96}))})),
        "zlib");
}

TEST_F(FrameStoreCorruption, DeltaRecordsAreCheckedAgainstTheChunk)
{
    ExpectBadRecord(path, 8, WithBlob(DeltaBlob(Stream({1, 0, 97}))), "past the end of the chunk");
    ExpectBadRecord(path, 8, WithBlob(DeltaBlob(Stream({1, 0, 90, 2, 0, 7, 1, 2, 3, 4, 5, 6, 7}))),
                    "past the end of the chunk");
    ExpectBadRecord(path, 8, WithBlob(DeltaBlob(Stream({1, 0, 90, 2, 0, 6, 1, 2, 3}))), "past the end of the delta");
    ExpectBadRecord(path, 8, WithBlob(DeltaBlob(Stream({3, 0, 96}))), "unknown type");
    ExpectBadRecord(path, 8, WithBlob(DeltaBlob(Stream({1, 0, 0, 1, 0, 96}))), "length 0");
    ExpectBadRecord(path, 8, WithBlob(DeltaBlob(Stream({1, 0, 80}))), "do not cover");
    ExpectBadRecord(path, 8, WithBlob(DeltaBlob(Stream({}))), "do not cover");
    ExpectBadRecord(path, 8, WithBlob(DeltaBlob(Stream({1, 0, 96, 1}))), "cut off");
    // The good hand-made delta (all unchanged) reads as the previous frame.
    std::vector<Record> records(GetSample().records.begin(), GetSample().records.begin() + 9);
    records[8] = WithBlob(DeltaBlob(Stream({1, 0, 96})));
    const ReadResult result = ReadBytes(path, BuildFile(records));
    EXPECT_EQ(result.last, Status::End) << result.error;
    ASSERT_EQ(result.frames.size(), 9u);
    EXPECT_EQ(result.frames[8], GetSample().frames[7]);
}

TEST_F(FrameStoreCorruption, DeltaFrameBeforeAnyKeyFrame)
{
    std::vector<Record> records(GetSample().records.begin() + 1, GetSample().records.end());
    const ReadResult result = ReadBytes(path, BuildFile(records));
    ASSERT_TRUE(result.opened);
    EXPECT_EQ(result.last, Status::Error);
    EXPECT_TRUE(result.frames.empty());
    EXPECT_NE(result.error.find("without a key frame"), std::string::npos) << result.error;
}

TEST_F(FrameStoreCorruption, ErrorIsToldFromEnd)
{
    const ReadResult complete = ReadBytes(path, GetSample().file);
    EXPECT_EQ(complete.last, Status::End);
    EXPECT_TRUE(complete.error.empty()) << complete.error;
    Bytes cut = GetSample().file;
    cut.resize(cut.size() - 1);
    const ReadResult torn = ReadBytes(path, cut);
    EXPECT_EQ(torn.last, Status::Error);
    EXPECT_EQ(torn.frames.size(), 24u);
    EXPECT_NE(torn.error.find("frame 24"), std::string::npos) << torn.error;
}

// ---- Exhaustive damage ------------------------------------------------------------

// Every offset natively; under Wine, where each file operation costs far more,
// every 7th offset plus the bytes around each record boundary.
static bool Visit(std::size_t offset)
{
#ifdef _WIN32
    if (offset % 7 == 0 || offset < 24)
        return true;
    std::size_t end = 20;
    for (const Record& r : GetSample().records) {
        if (offset + 10 >= end && offset <= end + 10)
            return true;
        end += 9 + r.blob.size();
    }
    return offset + 10 >= end;
#else
    (void)offset;
    return true;
#endif
}

TEST_F(FrameStoreCorruption, TruncationAtEveryByte)
{
    const Sample& s = GetSample();
    std::vector<std::size_t> ends; // end offset of each record
    std::size_t offset = 20;
    for (const Record& r : s.records) {
        offset += 9 + r.blob.size();
        ends.push_back(offset);
    }
    ASSERT_EQ(offset, s.file.size());
    for (std::size_t cut = 0; cut < s.file.size(); ++cut) {
        if (!Visit(cut))
            continue;
        const Bytes file(s.file.begin(), s.file.begin() + cut);
        const ReadResult result = ReadBytes(path, file);
        if (cut < 20) {
            EXPECT_FALSE(result.opened);
            continue;
        }
        ASSERT_TRUE(result.opened);
        std::size_t complete = 0;
        while (complete < ends.size() && ends[complete] <= cut)
            ++complete;
        EXPECT_EQ(result.last, Status::Error) << "cut " << cut;
        ASSERT_EQ(result.frames.size(), complete) << "cut " << cut;
        for (std::size_t i = 0; i < complete; ++i)
            ASSERT_EQ(result.frames[i], s.frames[i]);

        // Recover keeps exactly the complete frames.
        const auto recovered = CFrameStoreRecovery::Recover(path);
        ASSERT_TRUE(recovered.ok) << recovered.message;
        EXPECT_EQ(recovered.framesKept, int(complete)) << "cut " << cut;
        EXPECT_EQ(recovered.bytesAfter, complete ? ends[complete - 1] : 20u);
        EXPECT_EQ(fstest::ReadAll(path).size(), recovered.bytesAfter);
        CFrameStoreReader store;
        ASSERT_TRUE(store.OpenForReading(path));
        EXPECT_EQ(store.HeaderFrameCount(), int(complete));
        CFrameStoreReader::Frame frame;
        for (std::size_t i = 0; i < complete; ++i) {
            ASSERT_EQ(store.NextFrame(frame), Status::Frame);
            ASSERT_EQ(frame.pixels, s.frames[i]);
        }
        EXPECT_EQ(store.NextFrame(frame), Status::End);
    }
}

TEST_F(FrameStoreCorruption, ByteFlipsEverywhere)
{
    const Sample& s = GetSample();
    std::vector<std::size_t> ends;
    std::size_t offset = 20;
    for (const Record& r : s.records) {
        offset += 9 + r.blob.size();
        ends.push_back(offset);
    }
    for (std::size_t at = 0; at < s.file.size(); ++at) {
        if (!Visit(at))
            continue;
        for (std::uint8_t mask : {std::uint8_t(0xFF), std::uint8_t(0x01), std::uint8_t(0x80)}) {
            if (mask != 0xFF && at % 3 != 0)
                continue;
            Bytes file = s.file;
            file[at] ^= mask;
            const ReadResult result = ReadBytes(path, file);
            if (at < 20) {
                if (!result.opened)
                    continue; // the header check caught it
            }
            ASSERT_TRUE(result.opened) << at;
            // Records wholly before the damage are delivered exactly.
            std::size_t intact = 0;
            while (intact < ends.size() && ends[intact] <= at)
                ++intact;
            if (at < 20)
                intact = 0;
            for (std::size_t i = 0; i < std::min(intact, result.frames.size()); ++i)
                ASSERT_EQ(result.frames[i], s.frames[i]) << "flip at " << at;
            EXPECT_GE(result.frames.size(), intact) << "flip at " << at;

            const auto recovered = CFrameStoreRecovery::Recover(path);
            if (!recovered.ok)
                continue;
            CFrameStoreReader store;
            ASSERT_TRUE(store.OpenForReading(path));
            CFrameStoreReader::Frame frame;
            int read = 0;
            Status status;
            while ((status = store.NextFrame(frame)) == Status::Frame)
                ++read;
            EXPECT_EQ(status, Status::End) << "a recovered store reads to its end; flip at " << at;
            EXPECT_EQ(read, recovered.framesKept);
        }
    }
}

} // namespace pelidore
