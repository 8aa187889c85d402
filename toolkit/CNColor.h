#pragma once

#include "CNResourceBase.h"

#include <cstdint>

namespace pelidore {

// A colour as alpha, red, green and blue bytes (straight, not premultiplied).
// Argb() is the packed 0xAARRGGBB word that GDI+ takes as Gdiplus::ARGB.
class CNColor : public CNResourceBase {
public:
    CNColor() = default; // transparent black
    CNColor(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue);
    static CNColor FromArgb(uint32_t argb);

    void Set(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue);
    void SetArgb(uint32_t argb);
    void SetAlpha(uint8_t alpha);

    uint8_t Alpha() const { return m_Alpha; }
    uint8_t Red() const { return m_Red; }
    uint8_t Green() const { return m_Green; }
    uint8_t Blue() const { return m_Blue; }
    uint32_t Argb() const;

    bool operator==(const CNColor& other) const;
    bool operator!=(const CNColor& other) const { return !(*this == other); }

private:
    uint8_t m_Alpha = 0;
    uint8_t m_Red = 0;
    uint8_t m_Green = 0;
    uint8_t m_Blue = 0;
};

} // namespace pelidore
