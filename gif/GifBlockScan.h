// Walks the block structure of a GIF without decoding it: the header, the
// logical screen descriptor and its colour table, then extension and image
// blocks up to the trailer, each image counted once its LZW data has ended
// with its zero-length sub-block. Nothing in the bytes sizes an allocation or
// moves the walk backwards, so any byte sequence is walked safely to its end.
// Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace pelidore {

class GifBlockScan {
public:
    enum class Ending {
        NotGif,    // no "GIF87a" or "GIF89a" signature
        Trailer,   // the trailer where a block could begin
        Truncated, // the bytes stop before the trailer
        Damaged,   // a byte where a block begins that starts no block
    };
    struct Result {
        Ending ending = Ending::NotGif;
        int wholeFrames = 0;
        // Bytes from the start to the end of the last whole frame's image
        // data; 0 without a whole frame.
        std::uint64_t wholeFramesEnd = 0;
    };
    // Fills `buffer` with up to `capacity` bytes and returns how many; 0 at
    // the end (or on an error, which the caller tells apart).
    using Read = std::function<std::size_t(std::uint8_t* buffer, std::size_t capacity)>;

    static Result Scan(const Read& read);
    static Result Scan(const std::uint8_t* bytes, std::size_t size);

private:
    explicit GifBlockScan(const Read& read) : m_Read(read) {}

    Result Walk();
    bool SkipColorTable(std::uint8_t packedFields);
    bool SkipSubBlocks();
    bool ReadBytes(std::uint8_t* out, std::size_t count);
    bool Skip(std::uint64_t count);
    bool NextByte(std::uint8_t& out);

    static constexpr std::size_t kBufferSize = 1u << 16;

    const Read& m_Read;
    std::uint8_t m_Buffer[kBufferSize];
    std::size_t m_At = 0;
    std::size_t m_Filled = 0;
    std::uint64_t m_Offset = 0; // bytes of the input before m_Buffer[0]
};

} // namespace pelidore
