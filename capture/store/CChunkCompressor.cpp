#include "CChunkCompressor.h"

#include <snappy.h>
#include <zlib.h>

#include <algorithm>

namespace pelidore {

namespace {

// Snappy never expands more than 64 output bytes per 3 input bytes (a copy
// with a 2-byte offset); deflate never more than 258 bytes per 2 bits. A chunk
// that claims more is not valid, and is refused before anything is allocated.
constexpr std::size_t kSnappyMaxRatio = 22;
constexpr std::size_t kDeflateMaxRatio = 1032;

} // namespace

void CChunkCompressor::Set(Compressor compressor, int zlibLevel)
{
    m_Compressor = compressor == Compressor::Zlib ? Compressor::Zlib : Compressor::Snappy;
    m_ZlibLevel = std::clamp(zlibLevel, 1, 9);
}

bool CChunkCompressor::Compress(const std::uint8_t* src, std::size_t length, std::uint8_t* out, std::size_t capacity,
                                std::size_t& outLength) const
{
    if (m_Compressor == Compressor::Snappy) {
        snappy::RawCompress(reinterpret_cast<const char*>(src), length, reinterpret_cast<char*>(out), &outLength);
        return outLength <= capacity;
    }
    uLongf zlibLength = uLongf(capacity);
    const int result = compress2(out, &zlibLength, src, uLong(length), m_ZlibLevel);
    outLength = zlibLength;
    return result == Z_OK;
}

bool CChunkCompressor::IsKnown(std::uint8_t compressor)
{
    return compressor == std::uint8_t(Compressor::Snappy) || compressor == std::uint8_t(Compressor::Zlib);
}

std::size_t CChunkCompressor::MaxCompressedLength(std::size_t bytes)
{
    const std::size_t snappyBound = snappy::MaxCompressedLength(bytes);
    // compressBound of zlib 1.2.13, in size_t.
    const std::size_t zlibBound = bytes + (bytes >> 12) + (bytes >> 14) + (bytes >> 25) + 13;
    return std::max(snappyBound, zlibBound) + 16;
}

bool CChunkCompressor::SnappyLength(const std::uint8_t* src, std::size_t length, std::size_t& bytes)
{
    return snappy::GetUncompressedLength(reinterpret_cast<const char*>(src), length, &bytes);
}

bool CChunkCompressor::CanGive(Compressor compressor, std::size_t length, std::size_t bytes)
{
    return bytes / (compressor == Compressor::Snappy ? kSnappyMaxRatio : kDeflateMaxRatio) <= length;
}

const char* CChunkCompressor::Decompress(Compressor compressor, const std::uint8_t* src, std::size_t length,
                                         std::uint8_t* target, std::size_t capacity, std::size_t& produced)
{
    if (compressor == Compressor::Snappy) {
        if (!SnappyLength(src, length, produced))
            return "the snappy data is corrupt";
        if (produced > capacity)
            return "the snappy data gives more bytes than the chunk holds";
        if (!snappy::RawUncompress(reinterpret_cast<const char*>(src), length, reinterpret_cast<char*>(target)))
            return "the snappy data is corrupt";
        return nullptr;
    }
    uLongf outLength = uLongf(capacity);
    uLong inLength = uLong(length);
    const int result = uncompress2(target, &outLength, src, &inLength);
    if (result == Z_BUF_ERROR)
        return "the zlib data gives more bytes than the chunk holds";
    if (result != Z_OK)
        return "the zlib data is corrupt or cut off";
    if (inLength != length)
        return "bytes follow the end of the zlib data";
    produced = outLength;
    return nullptr;
}

} // namespace pelidore
