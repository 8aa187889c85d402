// The compression of one chunk of a frame (its raw bytes, or its delta
// stream) with snappy or zlib, and the checks a decoder makes on a compressed
// chunk before it allocates or decompresses anything.
//
// Portable. Decompress trusts nothing in the compressed bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelidore {

// The value is the compressor byte of a blob.
enum class Compressor : std::uint8_t { Snappy = 1, Zlib = 2 };

class CChunkCompressor {
public:
    static constexpr int kDefaultZlibLevel = 1;

    // Anything but zlib is snappy; the zlib level is clamped to 1..9.
    void Set(Compressor compressor, int zlibLevel = kDefaultZlibLevel);
    Compressor Method() const { return m_Compressor; }
    // Compresses `length` bytes into `out`; false when the compressor fails or
    // the result would not fit `capacity` (MaxCompressedLength(length) does).
    bool Compress(const std::uint8_t* src, std::size_t length, std::uint8_t* out, std::size_t capacity,
                  std::size_t& outLength) const;

    static bool IsKnown(std::uint8_t compressor);
    // The longest output of either compressor for `bytes` input bytes.
    static std::size_t MaxCompressedLength(std::size_t bytes);
    // The length a snappy chunk says it gives; false when it is no snappy stream.
    static bool SnappyLength(const std::uint8_t* src, std::size_t length, std::size_t& bytes);
    // Whether `length` bytes of that compressor can give `bytes` bytes at all.
    static bool CanGive(Compressor compressor, std::size_t length, std::size_t bytes);
    // Decompresses into `target`, which holds `capacity` bytes. nullptr on
    // success, with the bytes `produced`; else why not.
    static const char* Decompress(Compressor compressor, const std::uint8_t* src, std::size_t length,
                                  std::uint8_t* target, std::size_t capacity, std::size_t& produced);

private:
    Compressor m_Compressor = Compressor::Snappy;
    int m_ZlibLevel = kDefaultZlibLevel;
};

} // namespace pelidore
