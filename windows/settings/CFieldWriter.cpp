#include "CFieldWriter.h"

namespace pelidore {

void CFieldWriter::WriteZeros(std::size_t count)
{
    m_Bytes.insert(m_Bytes.end(), count, 0);
}

void CFieldWriter::WriteByte(std::uint8_t value)
{
    m_Bytes.push_back(value);
}

void CFieldWriter::WriteUInt32(std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        m_Bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void CFieldWriter::WriteInt32(std::int32_t value)
{
    WriteUInt32(static_cast<std::uint32_t>(value));
}

void CFieldWriter::WriteText(const CFixedText& text)
{
    for (char16_t unit : text.Units()) {
        m_Bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        m_Bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
}

} // namespace pelidore
