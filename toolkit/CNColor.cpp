#include "CNColor.h"

namespace pelidore {

CNColor::CNColor(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue)
    : m_Alpha(alpha), m_Red(red), m_Green(green), m_Blue(blue)
{
}

CNColor CNColor::FromArgb(uint32_t argb)
{
    CNColor color;
    color.SetArgb(argb);
    return color;
}

void CNColor::Set(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue)
{
    m_Alpha = alpha;
    m_Red = red;
    m_Green = green;
    m_Blue = blue;
}

void CNColor::SetArgb(uint32_t argb)
{
    Set(static_cast<uint8_t>(argb >> 24), static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
        static_cast<uint8_t>(argb));
}

void CNColor::SetAlpha(uint8_t alpha)
{
    m_Alpha = alpha;
}

uint32_t CNColor::Argb() const
{
    return static_cast<uint32_t>(m_Alpha) << 24 | static_cast<uint32_t>(m_Red) << 16 |
           static_cast<uint32_t>(m_Green) << 8 | static_cast<uint32_t>(m_Blue);
}

bool CNColor::operator==(const CNColor& other) const
{
    return Argb() == other.Argb();
}

} // namespace pelidore
