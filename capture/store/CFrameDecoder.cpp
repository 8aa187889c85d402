#include "CFrameDecoder.h"

#include "CChunkCompressor.h"
#include "CChunkDelta.h"
#include "FormatText.h"

#include <cstring>
#include <new>
#include <utility>

namespace pelidore {

CFrameDecoder::CFrameDecoder() = default;
CFrameDecoder::~CFrameDecoder() = default;

bool CFrameDecoder::Init(std::size_t frameBytes, int bytesPerPixel)
{
    Release();
    if (frameBytes == 0 || frameBytes > CFrameBlob::kMaxFrameBytes)
        return false;
    m_FrameBytes = frameBytes;
    m_BytesPerPixel = bytesPerPixel;
    for (int c = 0; c < CFrameBlob::kChunkCount; ++c) {
        m_Chunks[c].offset = CFrameBlob::ChunkOffset(frameBytes, c);
        m_Chunks[c].size = CFrameBlob::ChunkSize(frameBytes, c);
    }
    return true;
}

bool CFrameDecoder::CheckClaims(const CFrameBlob::Info& info, std::string& reason) const
{
    const bool key = info.head.IsKey();
    for (int c = 0; c < CFrameBlob::kChunkCount; ++c) {
        const Chunk& chunk = m_Chunks[c];
        const std::size_t srcLength = info.chunkLength[c];
        const std::size_t capacity = key ? chunk.size : CChunkDelta::MaxStreamLength(chunk.size);
        if (info.head.GetCompressor() == Compressor::Snappy) {
            std::size_t claimed = 0;
            if (!CChunkCompressor::SnappyLength(info.chunkData[c], srcLength, claimed)) {
                reason = FormatText("chunk %d: not a snappy stream", c);
                return false;
            }
            if (key ? claimed != chunk.size : claimed > capacity) {
                reason = FormatText("chunk %d: snappy says %zu bytes, the chunk holds %zu%s", c, claimed, chunk.size,
                                    key ? "" : " (delta)");
                return false;
            }
            if (!CChunkCompressor::CanGive(Compressor::Snappy, srcLength, claimed)) {
                reason = FormatText("chunk %d: %zu snappy bytes cannot give %zu bytes", c, srcLength, claimed);
                return false;
            }
        } else if (key && !CChunkCompressor::CanGive(Compressor::Zlib, srcLength, chunk.size)) {
            reason = FormatText("chunk %d: %zu zlib bytes cannot give %zu bytes", c, srcLength, chunk.size);
            return false;
        }
    }
    return true;
}

bool CFrameDecoder::AllocateFor(bool key, std::vector<std::uint8_t>& pixels, std::string& reason)
{
    if (!m_Previous) {
        m_Previous.reset(new (std::nothrow) std::uint8_t[m_FrameBytes]);
        if (!m_Previous) {
            reason = "out of memory for the frame";
            return false;
        }
    }
    try {
        pixels.resize(m_FrameBytes);
    } catch (const std::bad_alloc&) {
        reason = "out of memory for the frame";
        return false;
    }
    if (!key) {
        for (Chunk& chunk : m_Chunks) {
            if (!chunk.delta) {
                chunk.deltaCapacity = CChunkDelta::MaxStreamLength(chunk.size);
                chunk.delta.reset(new (std::nothrow) std::uint8_t[chunk.deltaCapacity]);
                if (!chunk.delta) {
                    reason = "out of memory for the delta buffers";
                    return false;
                }
            }
        }
    }
    return true;
}

const char* CFrameDecoder::DecodeChunk(Chunk& chunk, const CFrameBlob::Info& info, int index)
{
    const bool key = info.head.IsKey();
    std::uint8_t* target = key ? m_Previous.get() + chunk.offset : chunk.delta.get();
    std::size_t produced = 0;
    const char* failure =
        CChunkCompressor::Decompress(info.head.GetCompressor(), info.chunkData[index], info.chunkLength[index], target,
                                     key ? chunk.size : chunk.deltaCapacity, produced);
    if (failure)
        return failure;
    if (key)
        return produced == chunk.size ? nullptr : "the key frame data is shorter than the chunk";
    return CChunkDelta::ApplyDeltaStream(chunk.delta.get(), produced, m_Previous.get() + chunk.offset, chunk.size);
}

bool CFrameDecoder::Decode(const std::uint8_t* blob, std::size_t length, std::vector<std::uint8_t>& pixels,
                           std::string* why)
{
    const auto fail = [&](std::string text) {
        m_HavePrevious = false;
        if (why)
            *why = std::move(text);
        return false;
    };
    if (m_FrameBytes == 0)
        return fail("the decoder is not initialised");
    CFrameBlob::Info info;
    std::string reason;
    if (!CFrameBlob::Parse(blob, length, m_BytesPerPixel, info, &reason))
        return fail(reason);
    const bool key = info.head.IsKey();
    if (!key && !m_HavePrevious)
        return fail("a delta frame without a key frame before it");
    if (!CheckClaims(info, reason) || !AllocateFor(key, pixels, reason))
        return fail(reason);

    constexpr int kChunkCount = CFrameBlob::kChunkCount;
    const char* failure[kChunkCount];
    std::uint8_t* out = pixels.data();
#pragma omp parallel for num_threads(kChunkCount)                                                                      \
    schedule(static) if (m_FrameBytes >= CFrameBlob::kParallelMinFrameBytes)
    for (int c = 0; c < kChunkCount; ++c) {
        Chunk& chunk = m_Chunks[c];
        failure[c] = DecodeChunk(chunk, info, c);
        if (!failure[c])
            std::memcpy(out + chunk.offset, m_Previous.get() + chunk.offset, chunk.size);
    }
    for (int c = 0; c < kChunkCount; ++c) {
        if (failure[c])
            return fail(FormatText("chunk %d: %s", c, failure[c]));
    }
    m_HavePrevious = true;
    return true;
}

bool CFrameDecoder::SetPreviousFrame(const std::uint8_t* frame)
{
    m_HavePrevious = false;
    if (!frame)
        return true;
    if (m_FrameBytes == 0)
        return false;
    if (!m_Previous)
        m_Previous.reset(new (std::nothrow) std::uint8_t[m_FrameBytes]);
    if (!m_Previous)
        return false;
    std::memcpy(m_Previous.get(), frame, m_FrameBytes);
    m_HavePrevious = true;
    return true;
}

void CFrameDecoder::Release()
{
    m_Previous.reset();
    for (Chunk& chunk : m_Chunks)
        chunk = Chunk{};
    m_FrameBytes = 0;
    m_HavePrevious = false;
}

} // namespace pelidore
