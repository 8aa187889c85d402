#pragma once

#include "CNColor.h"
#include "CNFont.h"

namespace pelidore {

// Font, colour and alignment of a control's text. The font is borrowed from
// the owner (who keeps it alive while the control draws); without one the
// style makes its own default font the first time it is asked for it.
class CNTextStyle {
public:
    CNTextStyle();
    CNTextStyle(const CNTextStyle&) = delete;
    CNTextStyle& operator=(const CNTextStyle&) = delete;

    void SetFont(const CNFont* font) { m_Font = font; }
    const CNFont& Font();
    bool HasOwnerFont() const { return m_Font != nullptr; }

    void SetColor(const CNColor& color) { m_Color = color; }
    const CNColor& Color() const { return m_Color; }
    // The colour with its alpha scaled by alpha / 255.
    CNColor ColorWithAlpha(BYTE alpha) const;

    // Gdiplus::StringAlignment values: 0 near, 1 center, 2 far.
    void SetAlignment(int horizontal, int vertical);
    int HorizontalAlign() const { return m_Horizontal; }
    int VerticalAlign() const { return m_Vertical; }

    // Drops the default font (the owner's font is not touched).
    void Release() { m_DefaultFont.Release(); }

private:
    const CNFont* m_Font = nullptr;
    CNFont m_DefaultFont;
    CNColor m_Color;
    int m_Horizontal = 0;
    int m_Vertical = 1;
};

} // namespace pelidore
