#pragma once

#include "CFixedText.h"

#include <cstddef>
#include <cstdint>

namespace pelidore {

// Reads the fixed-width little-endian fields of a settings file in order.
// A field that the bytes do not hold completely leaves its target untouched,
// so a short file keeps the caller's defaults for everything past its end.
class CFieldReader {
public:
    CFieldReader(const std::uint8_t* bytes, std::size_t count);

    void Skip(std::size_t count);
    bool ReadByte(std::uint8_t& value);
    bool ReadInt32(std::int32_t& value);
    bool ReadUInt32(std::uint32_t& value);
    bool ReadText(CFixedText& text);

    // Whether every field taken so far was there in full.
    bool HeldEverything() const { return m_Offset <= m_Count; }

private:
    // Claims the next `width` bytes; null (and the cursor still moves) when
    // they are not all there.
    const std::uint8_t* Take(std::size_t width);

    const std::uint8_t* m_Bytes;
    std::size_t m_Count;
    std::size_t m_Offset = 0;
};

} // namespace pelidore
