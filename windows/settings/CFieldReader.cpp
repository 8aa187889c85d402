#include "CFieldReader.h"

namespace pelidore {

CFieldReader::CFieldReader(const std::uint8_t* bytes, std::size_t count)
    : m_Bytes(bytes), m_Count(bytes == nullptr ? 0 : count)
{
}

const std::uint8_t* CFieldReader::Take(std::size_t width)
{
    const std::size_t start = m_Offset;
    m_Offset += width;
    if (start > m_Count || width > m_Count - start)
        return nullptr;
    return m_Bytes + start;
}

void CFieldReader::Skip(std::size_t count)
{
    m_Offset += count;
}

bool CFieldReader::ReadByte(std::uint8_t& value)
{
    const std::uint8_t* field = Take(1);
    if (field == nullptr)
        return false;
    value = field[0];
    return true;
}

bool CFieldReader::ReadUInt32(std::uint32_t& value)
{
    const std::uint8_t* field = Take(4);
    if (field == nullptr)
        return false;
    value = static_cast<std::uint32_t>(field[0]) | static_cast<std::uint32_t>(field[1]) << 8 |
            static_cast<std::uint32_t>(field[2]) << 16 | static_cast<std::uint32_t>(field[3]) << 24;
    return true;
}

bool CFieldReader::ReadInt32(std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!ReadUInt32(raw))
        return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool CFieldReader::ReadText(CFixedText& text)
{
    const std::uint8_t* field = Take(CFixedText::kUnits * 2);
    if (field == nullptr)
        return false;
    char16_t units[CFixedText::kUnits];
    for (std::size_t i = 0; i < CFixedText::kUnits; ++i)
        units[i] = static_cast<char16_t>(field[2 * i] | field[2 * i + 1] << 8);
    text.AssignUnits(units, CFixedText::kUnits);
    return true;
}

} // namespace pelidore
