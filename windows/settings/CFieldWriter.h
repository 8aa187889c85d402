#pragma once

#include "CFixedText.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelidore {

// Appends fixed-width little-endian fields, the mirror of CFieldReader.
class CFieldWriter {
public:
    void WriteZeros(std::size_t count);
    void WriteByte(std::uint8_t value);
    void WriteInt32(std::int32_t value);
    void WriteUInt32(std::uint32_t value);
    // All 260 units, the terminator and the zero padding included.
    void WriteText(const CFixedText& text);

    const std::vector<std::uint8_t>& Bytes() const { return m_Bytes; }

private:
    std::vector<std::uint8_t> m_Bytes;
};

} // namespace pelidore
