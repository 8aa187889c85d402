// Decodes the blobs of CFrameBlob back into frames, the four chunks in
// parallel.
//
// Portable: no Windows header. The decoder trusts nothing in a blob: every
// length is checked against what is left of the blob and of the chunk, and a
// malformed blob is refused without writing outside the frame.
#pragma once

#include "CFrameBlob.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pelidore {

class CFrameDecoder {
public:
    CFrameDecoder();
    ~CFrameDecoder();
    CFrameDecoder(const CFrameDecoder&) = delete;
    CFrameDecoder& operator=(const CFrameDecoder&) = delete;

    // Remembers the frame size; the big buffers are allocated on the first key
    // frame that passes its checks, so a header alone never causes a giant
    // allocation. False for frameBytes 0 or past 1 GiB.
    bool Init(std::size_t frameBytes, int bytesPerPixel = CFrameBlob::kBytesPerPixel);
    // Decodes one blob into `pixels`. False, with a reason, for any malformed
    // blob, and for a delta frame before any key frame; after a failure the next
    // frame must be a key frame. The vector is resized to FrameBytes() only once
    // the blob has passed the checks that need no decompression.
    bool Decode(const std::uint8_t* blob, std::size_t length, std::vector<std::uint8_t>& pixels, std::string* why);
    bool HasPreviousFrame() const { return m_HavePrevious; }
    // Makes `frame` (FrameBytes() bytes) the one the next delta frame builds
    // on, or forgets the previous frame when it is null, so that only a key
    // frame decodes next. False when there is no memory for it (the previous
    // frame is then forgotten) or the decoder is not initialised.
    bool SetPreviousFrame(const std::uint8_t* frame);

    void Release();
    std::size_t FrameBytes() const { return m_FrameBytes; }

private:
    struct Chunk {
        std::size_t offset = 0;
        std::size_t size = 0;
        std::unique_ptr<std::uint8_t[]> delta;
        std::size_t deltaCapacity = 0;
    };

    // The checks that need no decompression, made before any allocation:
    // false, with the reason, when a chunk cannot give what the chunk holds.
    bool CheckClaims(const CFrameBlob::Info& info, std::string& reason) const;
    bool AllocateFor(bool key, std::vector<std::uint8_t>& pixels, std::string& reason);
    const char* DecodeChunk(Chunk& chunk, const CFrameBlob::Info& info, int index); // nullptr on success

    std::size_t m_FrameBytes = 0;
    int m_BytesPerPixel = CFrameBlob::kBytesPerPixel;
    bool m_HavePrevious = false;
    std::unique_ptr<std::uint8_t[]> m_Previous; // the previous frame, chunk by chunk
    Chunk m_Chunks[CFrameBlob::kChunkCount];
};

} // namespace pelidore
