// The blob of one frame in the frame store: a frame of N bytes is cut into 4
// chunks of S = N / 4 bytes (the last one takes the remainder, N - 3 S), each
// compressed on its own. The blob is a 5-byte head (version 1, compressor,
// kind: 0 key or 15 delta, chunk count 4, bytes per pixel 3), then per chunk
// its compressed length (32-bit big-endian) and its compressed bytes.
//
// Portable. Parse trusts nothing in a blob: every length is checked against
// what is left of it.
#pragma once

#include "CChunkCompressor.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace pelidore {

class CFrameBlob {
public:
    enum class Kind : std::uint8_t { Key = 0, Delta = 15 };

    static constexpr int kChunkCount = 4;
    static constexpr int kBytesPerPixel = 3;
    static constexpr std::uint8_t kVersion = 1;
    static constexpr std::size_t kHeadBytes = 5;        // version, compressor, kind, chunk count, bytes per pixel
    static constexpr std::size_t kChunkLengthBytes = 4; // big-endian compressed chunk length
    // The codec refuses frames past 1 GiB, so every chunk size fits zlib's
    // 32-bit lengths (uLong is 32 bits on Windows).
    static constexpr std::size_t kMaxFrameBytes = std::size_t(1) << 30;
    // Below this frame size the four chunks are coded one after the other:
    // waking the OpenMP team costs more than the chunks themselves.
    static constexpr std::size_t kParallelMinFrameBytes = std::size_t(64) << 10;

    struct Head {
        std::uint8_t version = kVersion;
        std::uint8_t compressor = 0;
        std::uint8_t kind = 0;
        std::uint8_t chunkCount = kChunkCount;
        std::uint8_t bytesPerPixel = kBytesPerPixel;
        bool IsKey() const { return kind == static_cast<std::uint8_t>(Kind::Key); }
        Compressor GetCompressor() const { return static_cast<Compressor>(compressor); }
    };

    // What Parse found: the head, and where each chunk lies in the blob.
    struct Info {
        Head head;
        std::uint32_t chunkLength[kChunkCount] = {};
        const std::uint8_t* chunkData[kChunkCount] = {};
    };

    // Chunk c of a frame of frameBytes bytes (all sizes in size_t).
    static std::size_t ChunkOffset(std::size_t frameBytes, int chunk);
    static std::size_t ChunkSize(std::size_t frameBytes, int chunk);
    // The longest blob a frame of frameBytes bytes can give (either kind,
    // either compressor).
    static std::size_t MaxLength(std::size_t frameBytes);

    static void WriteHead(const Head& head, std::uint8_t out[kHeadBytes]);
    static Head ReadHead(const std::uint8_t in[kHeadBytes]);
    static void WriteChunkLength(std::size_t length, std::uint8_t out[kChunkLengthBytes]);

    // Reads and checks the head and the chunk table of a blob: version 1,
    // compressor 1 or 2, kind 0 or 15, 4 chunks, bytes per pixel as expected,
    // every chunk length inside the blob, and no byte left over.
    static bool Parse(const std::uint8_t* blob, std::size_t length, int bytesPerPixel, Info& info, std::string* why);
};

} // namespace pelidore
