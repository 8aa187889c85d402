// The frame codec: CFrameBlob's chunk geometry, CFrameEncoder and
// CFrameDecoder round trips with the blob's head and chunk table, and the
// decoder's refusal of malformed blobs.
#include "CChunkDelta.h"
#include "CFrameDecoder.h"
#include "CFrameEncoder.h"
#include "FrameStoreTestUtil.h"

#include <gtest/gtest.h>
#include <snappy.h>

#include <cstring>
#include <string>
#include <vector>

namespace pelidore {

using fstest::Bytes;
using fstest::MakeBlob;
using fstest::Snappy;
using fstest::Zlib;

TEST(FrameBlobGeometry, FourChunksTheLastTakesTheRemainder)
{
    EXPECT_EQ(CFrameBlob::ChunkSize(30000, 0), 7500u);
    EXPECT_EQ(CFrameBlob::ChunkSize(30000, 3), 7500u);
    const std::size_t n = 1280 * 720 * 3;
    EXPECT_EQ(CFrameBlob::ChunkSize(n, 0), n / 4);
    for (std::size_t frame : {1u, 2u, 3u, 5u, 6u, 7u, 12u, 13u, 14u, 15u, 30002u, 30003u}) {
        std::size_t total = 0;
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(CFrameBlob::ChunkOffset(frame, c), total) << frame;
            total += CFrameBlob::ChunkSize(frame, c);
        }
        EXPECT_EQ(total, frame);
        EXPECT_EQ(CFrameBlob::ChunkSize(frame, 3), frame / 4 + frame % 4);
    }
}

TEST(FrameBlobGeometry, SizesAreSizeT)
{
    // 16384 x 16384 x 3 = 805306368 does not fit a 32-bit product of ints times 2.
    const std::size_t n = std::size_t(16384) * 16384 * 3;
    EXPECT_EQ(CFrameBlob::ChunkSize(n, 0) * 4 + n % 4, n);
    EXPECT_GT(CFrameBlob::MaxLength(n), n);
}

// ---- Blob round trips ------------------------------------------------------------

namespace {

struct Codecs {
    CFrameEncoder encoder;
    CFrameDecoder decoder;
    explicit Codecs(std::size_t n, Compressor c = Compressor::Snappy)
    {
        EXPECT_TRUE(encoder.Init(n, c));
        EXPECT_TRUE(decoder.Init(n));
    }
    Bytes RoundTrip(const Bytes& frame, bool key, Bytes* blobOut = nullptr)
    {
        EXPECT_TRUE(encoder.Encode(frame.data(), key));
        Bytes blob = encoder.Blob();
        EXPECT_LE(blob.size(), CFrameBlob::MaxLength(frame.size()));
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
    for (auto compressor : {Compressor::Snappy, Compressor::Zlib}) {
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

Bytes KeyBlob(std::size_t n, std::uint32_t seed, Compressor c = Compressor::Snappy)
{
    CFrameEncoder encoder;
    EXPECT_TRUE(encoder.Init(n, c));
    const Bytes frame = fstest::RandomFrame(n, seed);
    EXPECT_TRUE(encoder.Encode(frame.data(), true));
    return encoder.Blob();
}

bool Decodes(CFrameDecoder& decoder, const Bytes& blob, std::string* why = nullptr)
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
    CFrameDecoder decoder;
    ASSERT_TRUE(decoder.Init(n));
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
    CFrameDecoder decoder;
    ASSERT_TRUE(decoder.Init(n));
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
    CFrameDecoder decoder;
    ASSERT_TRUE(decoder.Init(n));
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
    const Bytes tooLong(CChunkDelta::MaxStreamLength(100) + 1, 1);
    EXPECT_FALSE(Decodes(
        decoder, MakeBlob(1, 15, {Snappy(tooLong), Snappy({1, 0, 100}), Snappy({1, 0, 100}), Snappy({1, 0, 100})})));
}

TEST(FrameCodecDecode, ImplausibleClaimsAreRefusedBeforeAllocating)
{
    // A 100 MB frame whose key frame is a few bytes: snappy claims the chunk
    // size, but 30 bytes of snappy cannot give 25 MB; neither can zlib.
    const std::size_t n = 100u << 20;
    CFrameDecoder decoder;
    ASSERT_TRUE(decoder.Init(n));
    const Bytes claim = fstest::SnappyClaiming(n / 4, 30);
    std::string why;
    EXPECT_FALSE(Decodes(decoder, MakeBlob(1, 0, {claim, claim, claim, claim}), &why));
    EXPECT_NE(why.find("cannot give"), std::string::npos) << why;
    const Bytes z = Zlib(Bytes(1000, 0));
    EXPECT_FALSE(Decodes(decoder, MakeBlob(2, 0, {z, z, z, z}), &why));
    EXPECT_NE(why.find("cannot give"), std::string::npos) << why;
}

} // namespace pelidore
