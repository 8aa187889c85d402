#include "CFrameEncoder.h"

#include <cstring>
#include <new>

namespace pelidore {

CFrameEncoder::CFrameEncoder() = default;
CFrameEncoder::~CFrameEncoder() = default;

bool CFrameEncoder::Init(std::size_t frameBytes, Compressor compressor, int zlibLevel)
{
    Release();
    if (frameBytes == 0 || frameBytes > CFrameBlob::kMaxFrameBytes)
        return false;
    SetCompressor(compressor, zlibLevel);
    m_Previous.reset(new (std::nothrow) std::uint8_t[frameBytes]);
    if (!m_Previous)
        return false;
    for (int c = 0; c < CFrameBlob::kChunkCount; ++c) {
        Chunk& chunk = m_Chunks[c];
        chunk.offset = CFrameBlob::ChunkOffset(frameBytes, c);
        chunk.size = CFrameBlob::ChunkSize(frameBytes, c);
        chunk.deltaCapacity = CChunkDelta::MaxStreamLength(chunk.size);
        chunk.outCapacity = CChunkCompressor::MaxCompressedLength(chunk.deltaCapacity);
        chunk.delta.reset(new (std::nothrow) std::uint8_t[chunk.deltaCapacity]);
        chunk.out.reset(new (std::nothrow) std::uint8_t[chunk.outCapacity]);
        if (!chunk.delta || !chunk.out) {
            Release();
            return false;
        }
        try {
            chunk.runs.reserve(CChunkDelta::MaxRuns(chunk.size));
        } catch (const std::bad_alloc&) {
            Release();
            return false;
        }
    }
    m_FrameBytes = frameBytes;
    return true;
}

void CFrameEncoder::SetCompressor(Compressor compressor, int zlibLevel)
{
    m_Compressor.Set(compressor, zlibLevel);
}

bool CFrameEncoder::EncodeChunk(Chunk& chunk, const std::uint8_t* frame, bool keyFrame)
{
    const std::uint8_t* cur = frame + chunk.offset;
    std::uint8_t* prev = m_Previous.get() + chunk.offset;
    if (keyFrame) {
        std::memcpy(prev, cur, chunk.size);
        return m_Compressor.Compress(cur, chunk.size, chunk.out.get(), chunk.outCapacity, chunk.outLength);
    }
    CChunkDelta::BuildRunList(cur, prev, chunk.size, chunk.runs);
    std::size_t length = 0;
    const bool ok =
        CChunkDelta::SerialiseRuns(chunk.runs, cur, chunk.delta.get(), chunk.deltaCapacity, length) &&
        m_Compressor.Compress(chunk.delta.get(), length, chunk.out.get(), chunk.outCapacity, chunk.outLength);
    // The previous chunk becomes this one: only the changed records differ.
    for (const CChunkDelta::Run& run : chunk.runs) {
        if (run.type == CChunkDelta::kChanged)
            std::memcpy(prev + run.start, cur + run.start, run.bytes);
    }
    return ok;
}

bool CFrameEncoder::Encode(const std::uint8_t* frame, bool keyFrame)
{
    if (m_FrameBytes == 0 || !frame)
        return false;
    if (!m_HavePrevious)
        keyFrame = true; // a delta needs a previous frame
    constexpr int kChunkCount = CFrameBlob::kChunkCount;
    bool ok[kChunkCount];
#pragma omp parallel for num_threads(kChunkCount)                                                                      \
    schedule(static) if (m_FrameBytes >= CFrameBlob::kParallelMinFrameBytes)
    for (int c = 0; c < kChunkCount; ++c)
        ok[c] = EncodeChunk(m_Chunks[c], frame, keyFrame);
    m_Head.compressor = std::uint8_t(m_Compressor.Method());
    m_Head.kind = std::uint8_t(keyFrame ? CFrameBlob::Kind::Key : CFrameBlob::Kind::Delta);
    m_HavePrevious = true;
    for (bool chunkOk : ok) {
        if (!chunkOk) {
            m_HavePrevious = false; // the next frame is a key frame again
            for (Chunk& chunk : m_Chunks)
                chunk.outLength = 0;
            return false;
        }
    }
    return true;
}

std::size_t CFrameEncoder::BlobLength() const
{
    std::size_t total = CFrameBlob::kHeadBytes;
    for (const Chunk& chunk : m_Chunks)
        total += CFrameBlob::kChunkLengthBytes + chunk.outLength;
    return total;
}

void CFrameEncoder::BlobHead(std::uint8_t out[CFrameBlob::kHeadBytes]) const
{
    CFrameBlob::WriteHead(m_Head, out);
}

const std::uint8_t* CFrameEncoder::ChunkData(int chunk) const
{
    return m_Chunks[chunk].out.get();
}

std::size_t CFrameEncoder::ChunkLength(int chunk) const
{
    return m_Chunks[chunk].outLength;
}

void CFrameEncoder::CopyBlob(std::uint8_t* out) const
{
    BlobHead(out);
    std::size_t p = CFrameBlob::kHeadBytes;
    for (const Chunk& chunk : m_Chunks) {
        CFrameBlob::WriteChunkLength(chunk.outLength, out + p);
        p += CFrameBlob::kChunkLengthBytes;
        std::memcpy(out + p, chunk.out.get(), chunk.outLength);
        p += chunk.outLength;
    }
}

std::vector<std::uint8_t> CFrameEncoder::Blob() const
{
    std::vector<std::uint8_t> blob(BlobLength());
    CopyBlob(blob.data());
    return blob;
}

void CFrameEncoder::Release()
{
    m_Previous.reset();
    for (Chunk& chunk : m_Chunks)
        chunk = Chunk{};
    m_FrameBytes = 0;
    m_HavePrevious = false;
    m_Head = CFrameBlob::Head{};
}

} // namespace pelidore
