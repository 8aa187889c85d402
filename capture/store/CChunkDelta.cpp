#include "CChunkDelta.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pelidore {

namespace {

// Bit k set when 32-bit word k of the 16 bytes at a equals that of b.
inline unsigned EqualMask4(const std::uint8_t* a, const std::uint8_t* b)
{
#if defined(__SSE2__)
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    return unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(x, y))));
#else
    std::uint32_t x[4], y[4];
    std::memcpy(x, a, 16);
    std::memcpy(y, b, 16);
    return unsigned(x[0] == y[0]) | unsigned(x[1] == y[1]) << 1 | unsigned(x[2] == y[2]) << 2 |
           unsigned(x[3] == y[3]) << 3;
#endif
}

// 64 bytes, all 16 words equal.
inline bool AllWordsEqual64(const std::uint8_t* a, const std::uint8_t* b)
{
#if defined(__SSE2__)
    __m128i all = _mm_set1_epi8(-1);
    for (int k = 0; k < 4; ++k) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 16 * k));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * k));
        all = _mm_and_si128(all, _mm_cmpeq_epi8(x, y));
    }
    return _mm_movemask_epi8(all) == 0xFFFF;
#else
    return std::memcmp(a, b, 64) == 0;
#endif
}

// 64 bytes, no word equal.
inline bool NoWordEqual64(const std::uint8_t* a, const std::uint8_t* b)
{
#if defined(__SSE2__)
    __m128i any = _mm_setzero_si128();
    for (int k = 0; k < 4; ++k) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 16 * k));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * k));
        any = _mm_or_si128(any, _mm_cmpeq_epi32(x, y));
    }
    return _mm_movemask_epi8(any) == 0;
#else
    return (EqualMask4(a, b) | EqualMask4(a + 16, b + 16) | EqualMask4(a + 32, b + 32) | EqualMask4(a + 48, b + 48)) ==
           0;
#endif
}

} // namespace

std::size_t CChunkDelta::MaxStreamLength(std::size_t n)
{
    // Records alternate between changed and unchanged unless one reaches the
    // cap, and an unchanged record that is not the last covers at least 3 words
    // (12 bytes it does not copy), which pays for its own head and for the head
    // of the changed record after it. So the stream exceeds n by at most the
    // heads of the capped records, of the first and last records and of the tail.
    return n + kRecordHeadBytes * (n / (kMaxRunWords * 4) + 8);
}

std::size_t CChunkDelta::MaxRuns(std::size_t n)
{
    // Consecutive records cover at least 4 words unless one of them hit the
    // cap, so this is the most a chunk can need.
    const std::size_t words = (n / 16) * 4;
    return words / 2 + 2 * (words / kMaxRunWords) + 8;
}

void CChunkDelta::BuildRunList(const std::uint8_t* cur, const std::uint8_t* prev, std::size_t n, std::vector<Run>& runs)
{
    runs.clear();
    const std::size_t words = (n / 16) * 4; // only the first 16 * floor(n / 16) bytes are compared

    std::uint8_t openType = 0; // 0: no open run
    std::size_t openStart = 0; // in words
    std::uint32_t openLen = 0; // in words

    const auto closeOpen = [&]() {
        runs.push_back(Run{std::uint32_t(openStart * 4), openLen * 4, openType});
        openType = 0;
        openLen = 0;
    };
    const auto step = [&](bool equal, std::size_t w) {
        if (openType == 0) {
            openType = equal ? kUnchanged : kChanged;
            openStart = w;
            openLen = 1;
        } else if (equal == (openType == kUnchanged)) {
            ++openLen;
        } else if (equal) {
            closeOpen();
            openType = kUnchanged;
            openStart = w;
            openLen = 1;
        } else if (openLen < kMinUnchangedWords) {
            // A short unchanged run followed by a change joins the changed data:
            // the changed record just before it is reopened when the joined
            // length stays under the cap, else a new changed run starts here.
            if (!runs.empty() && runs.back().type == kChanged && runs.back().bytes / 4 + openLen + 1 < kMaxRunWords) {
                const Run last = runs.back();
                runs.pop_back();
                openStart = last.start / 4;
                openLen += last.bytes / 4;
            }
            openLen += 1;
            openType = kChanged;
        } else {
            closeOpen();
            openType = kChanged;
            openStart = w;
            openLen = 1;
        }
        if (openLen == kMaxRunWords)
            closeOpen();
    };

    std::size_t w = 0;
    while (w < words) {
        // Long stretches in steps of 16 words while the run stays under the cap.
        if (openType == kUnchanged) {
            while (w + 16 <= words && openLen + 16 < kMaxRunWords && AllWordsEqual64(cur + 4 * w, prev + 4 * w)) {
                w += 16;
                openLen += 16;
            }
        } else if (openType == kChanged) {
            while (w + 16 <= words && openLen + 16 < kMaxRunWords && NoWordEqual64(cur + 4 * w, prev + 4 * w)) {
                w += 16;
                openLen += 16;
            }
        }
        if (w >= words)
            break;
        // Four words per step.
        const unsigned mask = EqualMask4(cur + 4 * w, prev + 4 * w);
        if (openLen + 4 < kMaxRunWords &&
            ((mask == 0xF && openType == kUnchanged) || (mask == 0 && openType == kChanged))) {
            openLen += 4;
        } else {
            for (int k = 0; k < 4; ++k)
                step(((mask >> k) & 1) != 0, w + std::size_t(k));
        }
        w += 4;
    }
    if (openType != 0)
        closeOpen();
    if (n % 16 != 0)
        runs.push_back(Run{std::uint32_t(words * 4), std::uint32_t(n % 16), kChanged});
}

bool CChunkDelta::SerialiseRuns(const std::vector<Run>& runs, const std::uint8_t* cur, std::uint8_t* out,
                                std::size_t capacity, std::size_t& length)
{
    std::size_t p = 0;
    length = 0;
    for (const Run& run : runs) {
        const std::size_t need = kRecordHeadBytes + (run.type == kChanged ? run.bytes : 0);
        if (need > capacity - p)
            return false;
        out[p] = run.type;
        out[p + 1] = std::uint8_t(run.bytes >> 8);
        out[p + 2] = std::uint8_t(run.bytes);
        p += kRecordHeadBytes;
        if (run.type == kChanged) {
            std::memcpy(out + p, cur + run.start, run.bytes);
            p += run.bytes;
        }
    }
    length = p;
    return true;
}

const char* CChunkDelta::ApplyDeltaStream(const std::uint8_t* stream, std::size_t length, std::uint8_t* chunk,
                                          std::size_t n)
{
    std::size_t p = 0;
    std::size_t pos = 0;
    while (p < length) {
        if (length - p < kRecordHeadBytes)
            return "a delta record head is cut off by the end of the stream";
        const std::uint8_t type = stream[p];
        const std::size_t bytes = (std::size_t(stream[p + 1]) << 8) | stream[p + 2];
        p += kRecordHeadBytes;
        if (type != kUnchanged && type != kChanged)
            return "a delta record has an unknown type";
        if (bytes == 0)
            return "a delta record has length 0";
        if (bytes > n - pos)
            return "a delta record runs past the end of the chunk";
        if (type == kChanged) {
            if (bytes > length - p)
                return "a changed record's data runs past the end of the delta stream";
            std::memcpy(chunk + pos, stream + p, bytes);
            p += bytes;
        }
        pos += bytes;
    }
    if (pos != n)
        return "the delta records do not cover the whole chunk";
    return nullptr;
}

} // namespace pelidore
