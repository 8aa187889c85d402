#include "GifBlockScan.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace pelidore {

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::size_t kScreenDescriptorSize = 7;
constexpr std::size_t kImageDescriptorSize = 9;
constexpr std::uint8_t kHasColorTable = 0x80;

bool IsSignature(const std::uint8_t* bytes)
{
    return std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0;
}

} // namespace

GifBlockScan::Result GifBlockScan::Scan(const Read& read)
{
    // The buffer is too large for every stack a caller may run on.
    const auto scan = std::unique_ptr<GifBlockScan>(new GifBlockScan(read));
    return scan->Walk();
}

GifBlockScan::Result GifBlockScan::Scan(const std::uint8_t* bytes, std::size_t size)
{
    std::size_t at = 0;
    return Scan([&](std::uint8_t* buffer, std::size_t capacity) {
        const std::size_t n = std::min(capacity, size - at);
        if (n > 0) {
            std::memcpy(buffer, bytes + at, n);
        }
        at += n;
        return n;
    });
}

GifBlockScan::Result GifBlockScan::Walk()
{
    Result result;
    std::uint8_t header[6 + kScreenDescriptorSize];
    if (!ReadBytes(header, 6) || !IsSignature(header)) {
        return result;
    }
    result.ending = Ending::Truncated;
    if (!ReadBytes(header + 6, kScreenDescriptorSize) || !SkipColorTable(header[10])) {
        return result;
    }
    for (;;) {
        std::uint8_t introducer = 0;
        if (!NextByte(introducer)) {
            return result;
        }
        if (introducer == kTrailer) {
            result.ending = Ending::Trailer;
            return result;
        }
        if (introducer == kExtensionIntroducer) {
            std::uint8_t label = 0;
            if (!NextByte(label) || !SkipSubBlocks()) {
                return result;
            }
            continue;
        }
        if (introducer != kImageSeparator) {
            result.ending = Ending::Damaged;
            return result;
        }
        std::uint8_t descriptor[kImageDescriptorSize];
        std::uint8_t minimumCodeSize = 0;
        if (!ReadBytes(descriptor, kImageDescriptorSize) || !SkipColorTable(descriptor[8]) ||
            !NextByte(minimumCodeSize) || !SkipSubBlocks()) {
            return result;
        }
        ++result.wholeFrames;
        result.wholeFramesEnd = m_Offset + m_At;
    }
}

bool GifBlockScan::SkipColorTable(std::uint8_t packedFields)
{
    if ((packedFields & kHasColorTable) == 0) {
        return true;
    }
    return Skip(3u << ((packedFields & 0x07u) + 1));
}

bool GifBlockScan::SkipSubBlocks()
{
    for (;;) {
        std::uint8_t length = 0;
        if (!NextByte(length)) {
            return false;
        }
        if (length == 0) {
            return true;
        }
        if (!Skip(length)) {
            return false;
        }
    }
}

bool GifBlockScan::ReadBytes(std::uint8_t* out, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (!NextByte(out[i])) {
            return false;
        }
    }
    return true;
}

bool GifBlockScan::Skip(std::uint64_t count)
{
    while (count > 0) {
        if (m_At == m_Filled) {
            std::uint8_t byte = 0;
            if (!NextByte(byte)) {
                return false;
            }
            --count;
            continue;
        }
        const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_Filled - m_At));
        m_At += step;
        count -= step;
    }
    return true;
}

bool GifBlockScan::NextByte(std::uint8_t& out)
{
    if (m_At == m_Filled) {
        m_Offset += m_Filled;
        m_At = 0;
        m_Filled = std::min(m_Read(m_Buffer, kBufferSize), kBufferSize);
        if (m_Filled == 0) {
            return false;
        }
    }
    out = m_Buffer[m_At++];
    return true;
}

} // namespace pelidore
