// Codes frames into blobs (CFrameBlob): a key frame compresses each raw
// chunk, a delta frame compresses the chunk's delta stream (CChunkDelta)
// against the previous frame. The four chunks are coded in parallel.
//
// Portable: no Windows header. Every buffer is allocated once, by Init.
#pragma once

#include "CChunkCompressor.h"
#include "CChunkDelta.h"
#include "CFrameBlob.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace pelidore {

class CFrameEncoder {
public:
    CFrameEncoder();
    ~CFrameEncoder();
    CFrameEncoder(const CFrameEncoder&) = delete;
    CFrameEncoder& operator=(const CFrameEncoder&) = delete;

    // Allocates every buffer: the previous frame, and per chunk a run list, a
    // delta buffer and an output buffer. False for frameBytes 0 or past 1 GiB,
    // and when memory runs out.
    bool Init(std::size_t frameBytes, Compressor compressor = Compressor::Snappy,
              int zlibLevel = CChunkCompressor::kDefaultZlibLevel);
    // Snappy unless asked otherwise; zlib at zlibLevel (1..9).
    void SetCompressor(Compressor compressor, int zlibLevel = CChunkCompressor::kDefaultZlibLevel);
    Compressor GetCompressor() const { return m_Compressor.Method(); }
    // Codes one frame of FrameBytes() bytes and advances the previous frame;
    // the first frame, and the first after a failure, is a key frame whatever
    // is asked. False when the encoder is not initialised or a compressor fails.
    bool Encode(const std::uint8_t* frame, bool keyFrame);

    // The blob of the last Encode, in pieces (no copy) or as one copy.
    std::size_t BlobLength() const;
    void BlobHead(std::uint8_t out[CFrameBlob::kHeadBytes]) const;
    const std::uint8_t* ChunkData(int chunk) const;
    std::size_t ChunkLength(int chunk) const;
    void CopyBlob(std::uint8_t* out) const; // BlobLength() bytes
    std::vector<std::uint8_t> Blob() const;

    void Release();
    std::size_t FrameBytes() const { return m_FrameBytes; }

private:
    struct Chunk {
        std::size_t offset = 0;
        std::size_t size = 0;
        std::vector<CChunkDelta::Run> runs;
        std::unique_ptr<std::uint8_t[]> delta;
        std::size_t deltaCapacity = 0;
        std::unique_ptr<std::uint8_t[]> out;
        std::size_t outCapacity = 0;
        std::size_t outLength = 0;
    };

    bool EncodeChunk(Chunk& chunk, const std::uint8_t* frame, bool keyFrame);

    std::size_t m_FrameBytes = 0;
    CChunkCompressor m_Compressor;
    bool m_HavePrevious = false;
    CFrameBlob::Head m_Head;                    // of the last Encode
    std::unique_ptr<std::uint8_t[]> m_Previous; // the previous frame, chunk by chunk
    Chunk m_Chunks[CFrameBlob::kChunkCount];
};

} // namespace pelidore
