// CChunkDelta: the run list rules (against a plain word-by-word transcription
// of them written here), the delta stream and its bound, and the refusal of
// malformed streams.
#include "CChunkDelta.h"
#include "FrameStoreTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace pelidore {

using fstest::Bytes;

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

// The run list rules, one word at a time, no shortcuts.
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
    std::vector<CChunkDelta::Run> runs;
    CChunkDelta::BuildRunList(cur, prev, n, runs);
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

// ---- Run list rules ---------------------------------------------------------------

TEST(ChunkDeltaRuns, IdenticalChunkIsUnchangedRecordsPlusTail)
{
    // The 100 x 100 case: chunks of 7500 bytes, 7488 compared, a 12-byte tail.
    const auto runs = RunsOf(Repeat('e', 1875), 7500);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (Rec{1, 7488}));
    EXPECT_EQ(runs[1], (Rec{2, 12}));
}

TEST(ChunkDeltaRuns, UnchangedRunsCloseAtTheCap)
{
    const std::size_t n = 131080; // 32768 compared words, 8-byte tail
    const auto runs = RunsOf(Repeat('e', n / 4), n);
    const std::vector<Rec> expected = {{1, 65532}, {1, 65532}, {1, 8}, {2, 8}};
    EXPECT_EQ(runs, expected);
}

TEST(ChunkDeltaRuns, ChangedRunsCloseAtTheCap)
{
    const auto runs = RunsOf(Repeat('d', 16384 + 4));
    const std::vector<Rec> expected = {{2, 65532}, {2, 20}};
    EXPECT_EQ(runs, expected);
}

TEST(ChunkDeltaRuns, ShortUnchangedRunJoinsThePreviousChangedRecord)
{
    EXPECT_EQ(RunsOf("dedddddd"), (std::vector<Rec>{{2, 32}}));
    EXPECT_EQ(RunsOf("ddeeddee"), (std::vector<Rec>{{2, 24}, {1, 8}})); // the trailing short run is written
    EXPECT_EQ(RunsOf("deeeddde"), (std::vector<Rec>{{2, 4}, {1, 12}, {2, 12}, {1, 4}}));
}

TEST(ChunkDeltaRuns, ShortUnchangedRunAtTheStartStartsAChangedRun)
{
    EXPECT_EQ(RunsOf("eedeeeee"), (std::vector<Rec>{{2, 12}, {1, 20}}));
    EXPECT_EQ(RunsOf("edeeeeee"), (std::vector<Rec>{{2, 8}, {1, 24}}));
    EXPECT_EQ(RunsOf("eeedeeee"), (std::vector<Rec>{{1, 12}, {2, 4}, {1, 16}}));
}

TEST(ChunkDeltaRuns, JoiningStopsAtTheCap)
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

TEST(ChunkDeltaRuns, ChunksShorterThan16BytesAreOneTailRecord)
{
    for (std::size_t n = 1; n < 16; ++n) {
        Bytes cur, prev;
        MakePair("", n, cur, prev);
        EXPECT_EQ(CodecRuns(cur.data(), prev.data(), n), (std::vector<Rec>{{2, std::uint32_t(n)}}));
    }
    Bytes none;
    EXPECT_TRUE(CodecRuns(none.data(), none.data(), 0).empty());
}

TEST(ChunkDeltaRuns, MatchesTheReferenceOnRandomPatterns)
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

TEST(ChunkDeltaStream, SerialiseThenApplyRebuildsTheChunk)
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
        std::vector<CChunkDelta::Run> runs;
        CChunkDelta::BuildRunList(cur.data(), prev.data(), n, runs);
        Bytes stream(CChunkDelta::MaxStreamLength(n));
        std::size_t length = 0;
        ASSERT_TRUE(CChunkDelta::SerialiseRuns(runs, cur.data(), stream.data(), stream.size(), length));
        Bytes rebuilt = prev;
        ASSERT_STREQ(CChunkDelta::ApplyDeltaStream(stream.data(), length, rebuilt.data(), n), nullptr);
        ASSERT_EQ(rebuilt, cur) << "trial " << trial;
    }
}

TEST(ChunkDeltaStream, StreamStaysWithinItsBoundOnAdversarialPatterns)
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
            std::vector<CChunkDelta::Run> runs;
            CChunkDelta::BuildRunList(cur.data(), prev.data(), n, runs);
            std::size_t total = 0;
            for (const auto& r : runs)
                total += 3 + (r.type == 2 ? r.bytes : 0);
            EXPECT_LE(total, CChunkDelta::MaxStreamLength(n));
        }
    }
}

TEST(ChunkDeltaStream, ApplyRefusesMalformedStreams)
{
    Bytes chunk(32, 0);
    std::string why;
    const auto apply = [&](Bytes stream) {
        const char* failure = CChunkDelta::ApplyDeltaStream(stream.data(), stream.size(), chunk.data(), chunk.size());
        why = failure ? failure : "";
        return failure == nullptr;
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

} // namespace pelidore
