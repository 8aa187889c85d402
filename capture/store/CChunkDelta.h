// The delta coding of one chunk against the same chunk of the previous frame.
// The chunk is compared in 32-bit words and cut into a run list of unchanged
// and changed stretches; the delta stream serialises it, one record a run:
// the type (1 unchanged, 2 changed), the length in bytes (16-bit big-endian)
// and, for a changed run, its bytes. Only the first 16 * floor(n / 16) bytes
// are compared; the rest is always one changed record, the tail.
//
// Portable, pure functions. ApplyDeltaStream trusts nothing in the stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelidore {

class CChunkDelta {
public:
    static constexpr std::size_t kRecordHeadBytes = 3; // type, 16-bit big-endian byte length
    static constexpr std::uint8_t kUnchanged = 1;
    static constexpr std::uint8_t kChanged = 2;
    static constexpr std::uint32_t kMaxRunWords = 0x3FFF; // a run is closed at 16383 words (65532 bytes)
    // Shorter unchanged runs before a change join the changed data.
    static constexpr std::uint32_t kMinUnchangedWords = 3;

    // One record of a chunk's run list: `bytes` bytes from `start` (both in
    // bytes from the chunk's start).
    struct Run {
        std::uint32_t start;
        std::uint32_t bytes;
        std::uint8_t type; // kUnchanged or kChanged
    };

    // The longest delta stream a chunk of n bytes can give.
    static std::size_t MaxStreamLength(std::size_t n);
    // The most runs a chunk of n bytes can give.
    static std::size_t MaxRuns(std::size_t n);

    // Builds the run list of a chunk of n bytes against the previous chunk.
    // `runs` is cleared first.
    static void BuildRunList(const std::uint8_t* cur, const std::uint8_t* prev, std::size_t n, std::vector<Run>& runs);
    // Serialises a run list into a delta stream of `length` bytes; false when
    // it would not fit `capacity` (MaxStreamLength(n) always suffices).
    static bool SerialiseRuns(const std::vector<Run>& runs, const std::uint8_t* cur, std::uint8_t* out,
                              std::size_t capacity, std::size_t& length);
    // Rebuilds a chunk of n bytes in place: `chunk` holds the previous chunk and
    // receives the new one. nullptr on success; else why not: a record has an
    // unknown type or a zero length, runs past the chunk or the stream, or the
    // records do not cover the chunk exactly.
    static const char* ApplyDeltaStream(const std::uint8_t* stream, std::size_t length, std::uint8_t* chunk,
                                        std::size_t n);
};

} // namespace pelidore
