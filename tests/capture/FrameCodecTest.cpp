// CFrameCodec: chunk geometry, the run list rules (against a plain
// word-by-word transcription of the document written here), the delta stream,
// blob round trips, and the decoder's refusal of malformed blobs.
#include "CFrameCodec.h"
#include "FrameStoreTestUtil.h"

#include <gtest/gtest.h>
#include <snappy.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace pelidore {

using fstest::Bytes;
using fstest::MakeBlob;
using fstest::Snappy;
using fstest::Zlib;

namespace {

constexpr std::uint32_t kCap = 16383;

struct Rec {
    int type;
    std::uint32_t bytes;
    bool operator==(const Rec& o) const { return type == o.type && bytes == o.bytes; }
};

std::ostream& operator<<(std::ostream& os, const Rec& r)
{
    return os << (r.type == 1 ? "U" : r.type == 2 ? "C" : "?") << r.bytes;
}

// The document's run list, one word at a time, no shortcuts.
std::vector<Rec> ReferenceRuns(const std::uint8_t* cur, const std::uint8_t* prev, std::size_t n)
{
    std::vector<Rec> recs; // lengths in words while building
    const std::size_t words = n / 16 * 4;
    int type = 0;
    std::uint32_t len = 0;
    for (std::size_t w = 0; w < words; ++w) {
        const int wordType = std::memcmp(cur + 4 * w, prev + 4 * w, 4) == 0 ? 1 : 2;
        if (type == 0) {
            type = wordType;
            len = 1;
        } else if (type == wordType) {
            ++len;
        } else if (type == 2) {
            recs.push_back({2, len});
            type = 1;
            len = 1;
        } else if (len >= 3) {
            recs.push_back({1, len});
            type = 2;
            len = 1;
        } else if (!recs.empty() && recs.back().type == 2 && recs.back().bytes + len + 1 < kCap) {
            len = recs.back().bytes + len + 1;
            recs.pop_back();
            type = 2;
        } else {
            len += 1;
            type = 2;
        }
        if (len == kCap) {
            recs.push_back({type, len});
            type = 0;
            len = 0;
        }
    }
    if (type != 0)
        recs.push_back({type, len});
    for (Rec& r : recs)
        r.bytes *= 4;
    if (n % 16 != 0)
        recs.push_back({2, std::uint32_t(n % 16)});
    return recs;
}

std::vector<Rec> CodecRuns(const std::uint8_t* cur, const std::uint8_t* prev, std::size_t n)
{
    std::vector<CFrameCodec::Run> runs;
    CFrameCodec::BuildRunList(cur, prev, n, runs);
    std::vector<Rec> recs;
    std::uint32_t pos = 0;
    for (const auto& r : runs) {
        EXPECT_EQ(r.start, pos) << "runs must be contiguous";
        pos += r.bytes;
        recs.push_back({r.type, r.bytes});
    }
    EXPECT_EQ(pos, n) << "runs must cover the chunk";
    return recs;
}

// prev random; cur equal to prev except at the words where pattern[w] is 'd'.
void MakePair(const std::string& pattern, std::size_t n, Bytes& cur, Bytes& prev, std::uint32_t seed = 7)
{
    prev = fstest::RandomFrame(n, seed);
    cur = prev;
    for (std::size_t w = 0; w < pattern.size() && 4 * w + 4 <= n; ++w) {
        if (pattern[w] == 'd')
            cur[4 * w + (w % 4)] ^= 0x5A;
    }
}

std::vector<Rec> RunsOf(const std::string& pattern, std::size_t n = 0)
{
    if (n == 0)
        n = pattern.size() * 4;
    Bytes cur, prev;
    MakePair(pattern, n, cur, prev);
    const auto expected = ReferenceRuns(cur.data(), prev.data(), n);
    const auto actual = CodecRuns(cur.data(), prev.data(), n);
    EXPECT_EQ(actual, expected) << "pattern " << pattern.substr(0, 80);
    return actual;
}

std::string Repeat(char c, std::size_t count)
{
    return std::string(count, c);
}

} // namespace

TEST(FrameCodecGeometry, FourChunksTheLastTakesTheRemainder)
{
    EXPECT_EQ(CFrameCodec::ChunkSize(30000, 0), 7500u);
    EXPECT_EQ(CFrameCodec::ChunkSize(30000, 3), 7500u);
    const std::size_t n = 1280 * 720 * 3;
    EXPECT_EQ(CFrameCodec::ChunkSize(n, 0), n / 4);
    for (std::size_t frame : {1u, 2u, 3u, 5u, 6u, 7u, 12u, 13u, 14u, 15u, 30002u, 30003u}) {
        std::size_t total = 0;
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(CFrameCodec::ChunkOffset(frame, c), total) << frame;
            total += CFrameCodec::ChunkSize(frame, c);
        }
        EXPECT_EQ(total, frame);
        EXPECT_EQ(CFrameCodec::ChunkSize(frame, 3), frame / 4 + frame % 4);
    }
}

TEST(FrameCodecGeometry, SizesAreSizeT)
{
    // 16384 x 16384 x 3 = 805306368 does not fit a 32-bit product of ints times 2.
    const std::size_t n = std::size_t(16384) * 16384 * 3;
    EXPECT_EQ(CFrameCodec::ChunkSize(n, 0) * 4 + n % 4, n);
    EXPECT_GT(CFrameCodec::MaxBlobLength(n), n);
}

// ---- Run list rules ---------------------------------------------------------------

TEST(FrameCodecRuns, IdenticalChunkIsUnchangedRecordsPlusTail)
{
    // The 100 x 100 case: chunks of 7500 bytes, 7488 compared, a 12-byte tail.
    const auto runs = RunsOf(Repeat('e', 1875), 7500);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (Rec{1, 7488}));
    EXPECT_EQ(runs[1], (Rec{2, 12}));
}

TEST(FrameCodecRuns, UnchangedRunsCloseAtTheCap)
{
    const std::size_t n = 131080; // 32768 compared words, 8-byte tail
    const auto runs = RunsOf(Repeat('e', n / 4), n);
    const std::vector<Rec> expected = {{1, 65532}, {1, 65532}, {1, 8}, {2, 8}};
    EXPECT_EQ(runs, expected);
}

TEST(FrameCodecRuns, ChangedRunsCloseAtTheCap)
{
    const auto runs = RunsOf(Repeat('d', 16384 + 4));
    const std::vector<Rec> expected = {{2, 65532}, {2, 20}};
    EXPECT_EQ(runs, expected);
}

TEST(FrameCodecRuns, ShortUnchangedRunJoinsThePreviousChangedRecord)
{
    EXPECT_EQ(RunsOf("dedddddd"), (std::vector<Rec>{{2, 32}}));
    EXPECT_EQ(RunsOf("ddeeddee"), (std::vector<Rec>{{2, 24}, {1, 8}})); // the trailing short run is written
    EXPECT_EQ(RunsOf("deeeddde"), (std::vector<Rec>{{2, 4}, {1, 12}, {2, 12}, {1, 4}}));
}

TEST(FrameCodecRuns, ShortUnchangedRunAtTheStartStartsAChangedRun)
{
    EXPECT_EQ(RunsOf("eedeeeee"), (std::vector<Rec>{{2, 12}, {1, 20}}));
    EXPECT_EQ(RunsOf("edeeeeee"), (std::vector<Rec>{{2, 8}, {1, 24}}));
    EXPECT_EQ(RunsOf("eeedeeee"), (std::vector<Rec>{{1, 12}, {2, 4}, {1, 16}}));
}

TEST(FrameCodecRuns, JoiningStopsAtTheCap)
{
    // 16380 changed + 1 unchanged + changed: joined 16382 < 16383, reopened,
    // then closed at the cap by the next changed word.
    EXPECT_EQ(RunsOf(Repeat('d', 16380) + "e" + Repeat('d', 7)), (std::vector<Rec>{{2, 65532}, {2, 20}}));
    // 16381 changed + 1 unchanged + changed: 16383 is not under the cap, so a
    // new changed run starts with the unchanged word.
    EXPECT_EQ(RunsOf(Repeat('d', 16381) + "e" + Repeat('d', 6)), (std::vector<Rec>{{2, 65524}, {2, 28}}));
    // After a changed record closed at the cap nothing is reopened.
    EXPECT_EQ(RunsOf(Repeat('d', 16383) + "ee" + Repeat('d', 3)), (std::vector<Rec>{{2, 65532}, {2, 20}}));
    // After an unchanged record closed at the cap, the short run starts a changed run.
    EXPECT_EQ(RunsOf(Repeat('e', 16383) + "ed" + Repeat('e', 3)), (std::vector<Rec>{{1, 65532}, {2, 8}, {1, 12}}));
}

TEST(FrameCodecRuns, ChunksShorterThan16BytesAreOneTailRecord)
{
    for (std::size_t n = 1; n < 16; ++n) {
        Bytes cur, prev;
        MakePair("", n, cur, prev);
        EXPECT_EQ(CodecRuns(cur.data(), prev.data(), n), (std::vector<Rec>{{2, std::uint32_t(n)}}));
    }
    Bytes none;
    EXPECT_TRUE(CodecRuns(none.data(), none.data(), 0).empty());
}

TEST(FrameCodecRuns, MatchesTheReferenceOnRandomPatterns)
{
    std::mt19937 rng(12345);
    const std::size_t lengths[] = {1,  2,  3,  4,   5,     7,     15,    16,    17,   31,
                                   63, 64, 65, 200, 16379, 16382, 16383, 16384, 16390};
    for (int trial = 0; trial < 300; ++trial) {
        std::string pattern;
        const std::size_t target = trial < 200 ? 2000 + rng() % 3000 : 40000 + rng() % 30000;
        char c = (rng() & 1) ? 'e' : 'd';
        while (pattern.size() < target) {
            std::size_t len = lengths[rng() % (sizeof lengths / sizeof lengths[0])];
            if (len > 1000 && trial < 200)
                len %= 97;
            if (len == 0)
                len = 1;
            pattern += Repeat(c, len);
            c = c == 'e' ? 'd' : 'e';
        }
        const std::size_t n = pattern.size() * 4 - (rng() % 16);
        RunsOf(pattern, n);
    }
    for (double p : {0.001, 0.05, 0.3, 0.5, 0.7, 0.95, 1.0}) {
        std::string pattern;
        for (int w = 0; w < 50000; ++w)
            pattern += (std::uniform_real_distribution<double>(0, 1)(rng) < p) ? 'd' : 'e';
        RunsOf(pattern, pattern.size() * 4 - 5);
    }
}

// ---- Delta stream ----------------------------------------------------------------

TEST(FrameCodecDelta, SerialiseThenApplyRebuildsTheChunk)
{
    std::mt19937 rng(99);
    for (int trial = 0; trial < 200; ++trial) {
        const std::size_t n = rng() % 70000;
        Bytes prev = fstest::RandomFrame(n, rng());
        Bytes cur = prev;
        const double p = (trial % 10) / 10.0;
        for (std::size_t i = 0; i < n; ++i) {
            if (std::uniform_real_distribution<double>(0, 1)(rng) < p * 0.1)
                cur[i] = std::uint8_t(rng());
        }
        std::vector<CFrameCodec::Run> runs;
        CFrameCodec::BuildRunList(cur.data(), prev.data(), n, runs);
        Bytes stream(CFrameCodec::MaxDeltaStreamLength(n));
        std::size_t length = 0;
        ASSERT_TRUE(CFrameCodec::SerialiseRuns(runs, cur.data(), stream.data(), stream.size(), length));
        Bytes rebuilt = prev;
        std::string why;
        ASSERT_TRUE(CFrameCodec::ApplyDeltaStream(stream.data(), length, rebuilt.data(), n, &why)) << why;
        ASSERT_EQ(rebuilt, cur) << "trial " << trial;
    }
}

TEST(FrameCodecDelta, StreamStaysWithinItsBoundOnAdversarialPatterns)
{
    // The patterns that maximise heads per byte: changed runs of 1 word split
    // by unchanged runs of 3, short runs at the end, runs at the cap.
    std::vector<std::string> patterns = {
        [] {
            std::string s;
            for (int i = 0; i < 20000; ++i)
                s += "deee";
            return s;
        }(),
        [] {
            std::string s;
            for (int i = 0; i < 20000; ++i)
                s += "ddeee";
            return s;
        }(),
        [] {
            std::string s;
            for (int i = 0; i < 8; ++i)
                s += Repeat('d', 16383) + "eee";
            return s;
        }(),
        Repeat('d', 16383 * 5),
        Repeat('d', 16383 * 3) + "ee",
        [] {
            std::string s;
            for (int i = 0; i < 30000; ++i)
                s += "de";
            return s;
        }(),
    };
    for (const std::string& pattern : patterns) {
        for (std::size_t cut : {0u, 1u, 7u, 15u}) {
            const std::size_t n = pattern.size() * 4 - cut;
            Bytes cur, prev;
            MakePair(pattern, n, cur, prev);
            std::vector<CFrameCodec::Run> runs;
            CFrameCodec::BuildRunList(cur.data(), prev.data(), n, runs);
            std::size_t total = 0;
            for (const auto& r : runs)
                total += 3 + (r.type == 2 ? r.bytes : 0);
            EXPECT_LE(total, CFrameCodec::MaxDeltaStreamLength(n));
        }
    }
}

TEST(FrameCodecDelta, ApplyRefusesMalformedStreams)
{
    Bytes chunk(32, 0);
    std::string why;
    const auto apply = [&](Bytes stream) {
        why.clear();
        return CFrameCodec::ApplyDeltaStream(stream.data(), stream.size(), chunk.data(), chunk.size(), &why);
    };
    EXPECT_TRUE(apply({1, 0, 32}));
    EXPECT_TRUE(apply({1, 0, 16, 2, 0, 16, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    EXPECT_FALSE(apply({1, 0, 33})) << "past the chunk end";
    EXPECT_NE(why.find("past the end of the chunk"), std::string::npos);
    EXPECT_FALSE(apply({1, 0, 16, 1, 0, 17}));
    EXPECT_FALSE(apply({1, 0, 16})) << "does not cover the chunk";
    EXPECT_FALSE(apply({})) << "empty stream for a 32-byte chunk";
    EXPECT_FALSE(apply({3, 0, 32})) << "unknown type";
    EXPECT_FALSE(apply({0, 0, 32})) << "type 0";
    EXPECT_FALSE(apply({1, 0, 0, 1, 0, 32})) << "zero length";
    EXPECT_FALSE(apply({2, 0, 32, 1, 2, 3})) << "changed data past the stream";
    EXPECT_FALSE(apply({1, 0, 32, 1})) << "torn head after the chunk is covered";
    EXPECT_FALSE(apply({1, 0})) << "torn head";
}

// ---- Blob round trips ------------------------------------------------------------

namespace {

struct Codecs {
    CFrameCodec encoder;
    CFrameCodec decoder;
    explicit Codecs(std::size_t n, CFrameCodec::Compressor c = CFrameCodec::Compressor::Snappy)
    {
        EXPECT_TRUE(encoder.InitEncoder(n, c));
        EXPECT_TRUE(decoder.InitDecoder(n));
    }
    Bytes RoundTrip(const Bytes& frame, bool key, Bytes* blobOut = nullptr)
    {
        EXPECT_TRUE(encoder.Encode(frame.data(), key));
        Bytes blob = encoder.Blob();
        EXPECT_LE(blob.size(), CFrameCodec::MaxBlobLength(frame.size()));
        Bytes out;
        std::string why;
        EXPECT_TRUE(decoder.Decode(blob.data(), blob.size(), out, &why)) << why;
        if (blobOut)
            *blobOut = blob;
        return out;
    }
};

} // namespace

TEST(FrameCodecBlob, HeadAndChunkTable)
{
    const std::size_t n = 100 * 100 * 3;
    Codecs codecs(n);
    Bytes blob;
    const Bytes frame = fstest::RandomFrame(n, 1);
    codecs.RoundTrip(frame, true, &blob);
    ASSERT_GE(blob.size(), 5u);
    EXPECT_EQ(blob[0], 1);
    EXPECT_EQ(blob[1], 1);
    EXPECT_EQ(blob[2], 0);
    EXPECT_EQ(blob[3], 4);
    EXPECT_EQ(blob[4], 3);
    std::size_t p = 5;
    for (int c = 0; c < 4; ++c) {
        const std::uint32_t len = fstest::BE32(&blob[p]);
        p += 4;
        std::string raw;
        ASSERT_TRUE(snappy::Uncompress(reinterpret_cast<const char*>(&blob[p]), len, &raw));
        EXPECT_EQ(raw.size(), 7500u);
        EXPECT_EQ(0, std::memcmp(raw.data(), &frame[c * 7500], 7500));
        p += len;
    }
    EXPECT_EQ(p, blob.size()) << "total blob length = 5 + sum(4 + C)";
    codecs.RoundTrip(frame, false, &blob);
    EXPECT_EQ(blob[2], 15);
}

TEST(FrameCodecBlob, RoundTripsAreBitExact)
{
    for (auto compressor : {CFrameCodec::Compressor::Snappy, CFrameCodec::Compressor::Zlib}) {
        const int w = 64, h = 40;
        const std::size_t n = std::size_t(w) * h * 3;
        Codecs codecs(n, compressor);
        const Bytes desktop = fstest::DesktopFrame(w, h);
        for (int i = 0; i < 45; ++i) {
            Bytes frame = (i % 7 == 3) ? fstest::RandomFrame(n, i) : fstest::MovingWindowFrame(desktop, w, h, i, 10);
            if (i % 11 == 5)
                frame = desktop;
            EXPECT_EQ(codecs.RoundTrip(frame, i % 20 == 0), frame) << "frame " << i;
        }
    }
}

TEST(FrameCodecBlob, EveryTinyFrameSizeRoundTrips)
{
    for (std::size_t n = 1; n <= 80; ++n) {
        Codecs codecs(n);
        for (int i = 0; i < 4; ++i) {
            const Bytes frame = fstest::RandomFrame(n, std::uint32_t(n * 10 + i / 2));
            EXPECT_EQ(codecs.RoundTrip(frame, i == 0), frame) << n;
        }
    }
}

TEST(FrameCodecBlob, IncompressibleWorstCaseFitsItsBound)
{
    // Random data in the word pattern with the most heads per byte.
    const std::size_t n = 4 * 60000;
    Codecs codecs(n);
    Bytes prev = fstest::RandomFrame(n, 3);
    codecs.RoundTrip(prev, true);
    for (int round = 0; round < 3; ++round) {
        Bytes cur = fstest::RandomFrame(n, 100 + round);
        for (std::size_t w = 0; w < n / 4; ++w) {
            if (w % 4 != 0)
                std::memcpy(&cur[4 * w], &prev[4 * w], 4);
        }
        EXPECT_EQ(codecs.RoundTrip(cur, false), cur);
        prev = cur;
    }
}

TEST(FrameCodecBlob, EncoderStateFollowsTheFrames)
{
    // The previous frame advances with every Encode, including key frames.
    const std::size_t n = 4096;
    Codecs codecs(n);
    const Bytes a = fstest::RandomFrame(n, 1), b = fstest::RandomFrame(n, 2);
    EXPECT_EQ(codecs.RoundTrip(a, true), a);
    EXPECT_EQ(codecs.RoundTrip(b, true), b);
    EXPECT_EQ(codecs.RoundTrip(b, false), b);
    EXPECT_EQ(codecs.RoundTrip(a, false), a);
}

// ---- Decoder refusals (at the blob level; the store tests cover the file) --------

namespace {

Bytes KeyBlob(std::size_t n, std::uint32_t seed, CFrameCodec::Compressor c = CFrameCodec::Compressor::Snappy)
{
    CFrameCodec encoder;
    EXPECT_TRUE(encoder.InitEncoder(n, c));
    const Bytes frame = fstest::RandomFrame(n, seed);
    EXPECT_TRUE(encoder.Encode(frame.data(), true));
    return encoder.Blob();
}

bool Decodes(CFrameCodec& decoder, const Bytes& blob, std::string* why = nullptr)
{
    Bytes out;
    std::string reason;
    const bool ok = decoder.Decode(blob.data(), blob.size(), out, &reason);
    if (why)
        *why = reason;
    return ok;
}

} // namespace

TEST(FrameCodecDecode, RefusesEveryBadHeadField)
{
    const std::size_t n = 400;
    const Bytes good = KeyBlob(n, 5);
    CFrameCodec decoder;
    ASSERT_TRUE(decoder.InitDecoder(n));
    EXPECT_TRUE(Decodes(decoder, good));
    for (int field = 0; field < 5; ++field) {
        for (int value : {0, 2, 3, 5, 14, 16, 255}) {
            Bytes bad = good;
            bad[field] = std::uint8_t(value);
            const bool valid = (field == 0 && value == 1) || (field == 1 && value == 2) ||
                               (field == 2 && (value == 0 || value == 15)) || (field == 3 && value == 4) ||
                               (field == 4 && value == 3);
            if (valid)
                continue;
            std::string why;
            EXPECT_FALSE(Decodes(decoder, bad, &why)) << "field " << field << " = " << value;
            EXPECT_FALSE(why.empty());
        }
    }
    EXPECT_FALSE(Decodes(decoder, Bytes(good.begin(), good.begin() + 4))) << "shorter than the head";
    EXPECT_FALSE(Decodes(decoder, Bytes(good.begin(), good.end() - 1))) << "last chunk cut";
    Bytes longer = good;
    longer.push_back(0);
    EXPECT_FALSE(Decodes(decoder, longer)) << "a byte after the last chunk";
    Bytes hugeLength = good;
    fstest::PutBE32(&hugeLength[5], 0xFFFFFFF0u);
    EXPECT_FALSE(Decodes(decoder, hugeLength)) << "chunk length past the blob";
}

TEST(FrameCodecDecode, DeltaBeforeAnyKeyFrameIsRefused)
{
    const std::size_t n = 400;
    CFrameCodec decoder;
    ASSERT_TRUE(decoder.InitDecoder(n));
    const Bytes stream = {1, 0, 100};
    const Bytes blob = MakeBlob(1, 15, {Snappy(stream), Snappy(stream), Snappy(stream), Snappy(stream)});
    std::string why;
    EXPECT_FALSE(Decodes(decoder, blob, &why));
    EXPECT_NE(why.find("key frame"), std::string::npos) << why;
    EXPECT_TRUE(Decodes(decoder, KeyBlob(n, 1)));
    EXPECT_TRUE(Decodes(decoder, blob)) << "the same delta after a key frame";
    // After a failed frame the decoder wants a key frame again.
    EXPECT_FALSE(Decodes(decoder, MakeBlob(1, 15, {Snappy(stream), Snappy(stream), Snappy(stream), Snappy({1, 0})})));
    EXPECT_FALSE(Decodes(decoder, blob));
}

TEST(FrameCodecDecode, DecompressedSizesMustMatchTheChunk)
{
    const std::size_t n = 400; // chunks of 100 bytes
    const Bytes raw100 = fstest::RandomFrame(100, 1), raw99 = fstest::RandomFrame(99, 2),
                raw101 = fstest::RandomFrame(101, 3);
    CFrameCodec decoder;
    ASSERT_TRUE(decoder.InitDecoder(n));
    EXPECT_TRUE(Decodes(decoder, MakeBlob(1, 0, {Snappy(raw100), Snappy(raw100), Snappy(raw100), Snappy(raw100)})));
    EXPECT_TRUE(Decodes(decoder, MakeBlob(2, 0, {Zlib(raw100), Zlib(raw100), Zlib(raw100), Zlib(raw100)})));
    EXPECT_FALSE(Decodes(decoder, MakeBlob(1, 0, {Snappy(raw100), Snappy(raw99), Snappy(raw100), Snappy(raw100)})));
    EXPECT_FALSE(Decodes(decoder, MakeBlob(1, 0, {Snappy(raw100), Snappy(raw101), Snappy(raw100), Snappy(raw100)})));
    EXPECT_FALSE(Decodes(decoder, MakeBlob(2, 0, {Zlib(raw100), Zlib(raw100), Zlib(raw99), Zlib(raw100)})));
    EXPECT_FALSE(Decodes(decoder, MakeBlob(2, 0, {Zlib(raw100), Zlib(raw100), Zlib(raw101), Zlib(raw100)})));
    // zlib data with a byte after its end, and cut short.
    Bytes z = Zlib(raw100);
    Bytes zLong = z;
    zLong.push_back(7);
    EXPECT_FALSE(Decodes(decoder, MakeBlob(2, 0, {z, z, z, zLong})));
    EXPECT_FALSE(Decodes(decoder, MakeBlob(2, 0, {z, z, z, Bytes(z.begin(), z.end() - 3)})));
    // Snappy claiming the right length with garbage behind it.
    Bytes s = Snappy(raw100);
    for (std::size_t i = 1; i < s.size(); ++i)
        s[i] = 0xFF;
    EXPECT_FALSE(Decodes(decoder, MakeBlob(1, 0, {s, s, s, s})));
    // Delta streams: longer than any delta stream of the chunk.
    EXPECT_TRUE(Decodes(decoder, MakeBlob(1, 0, {Snappy(raw100), Snappy(raw100), Snappy(raw100), Snappy(raw100)})));
    const Bytes tooLong(CFrameCodec::MaxDeltaStreamLength(100) + 1, 1);
    EXPECT_FALSE(Decodes(
        decoder, MakeBlob(1, 15, {Snappy(tooLong), Snappy({1, 0, 100}), Snappy({1, 0, 100}), Snappy({1, 0, 100})})));
}

TEST(FrameCodecDecode, ImplausibleClaimsAreRefusedBeforeAllocating)
{
    // A 100 MB frame whose key frame is a few bytes: snappy claims the chunk
    // size, but 30 bytes of snappy cannot give 25 MB; neither can zlib.
    const std::size_t n = 100u << 20;
    CFrameCodec decoder;
    ASSERT_TRUE(decoder.InitDecoder(n));
    const Bytes claim = fstest::SnappyClaiming(n / 4, 30);
    std::string why;
    EXPECT_FALSE(Decodes(decoder, MakeBlob(1, 0, {claim, claim, claim, claim}), &why));
    EXPECT_NE(why.find("cannot give"), std::string::npos) << why;
    const Bytes z = Zlib(Bytes(1000, 0));
    EXPECT_FALSE(Decodes(decoder, MakeBlob(2, 0, {z, z, z, z}), &why));
    EXPECT_NE(why.find("cannot give"), std::string::npos) << why;
}

} // namespace pelidore
