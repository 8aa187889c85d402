#include "CNTextStyle.h"

#include "CNLog.h"
#include "CNTheme.h"

namespace pelidore {

CNTextStyle::CNTextStyle() : m_Color(CNTheme::Text()) {}

const CNFont& CNTextStyle::Font()
{
    if (m_Font)
        return *m_Font;
    if (!m_DefaultFont.IsCreated() &&
        FAILED(m_DefaultFont.Create(CNTheme::kFontHeight, CNTheme::kFontWeight, CNTheme::kFontFace)))
        NLOG("CNTextStyle::Font", CNLog::kLevelCreateFailed, "cannot create the default font");
    return m_DefaultFont;
}

CNColor CNTextStyle::ColorWithAlpha(BYTE alpha) const
{
    CNColor color = m_Color;
    color.SetAlpha(static_cast<uint8_t>((m_Color.Alpha() * alpha + 127) / 255));
    return color;
}

void CNTextStyle::SetAlignment(int horizontal, int vertical)
{
    m_Horizontal = horizontal;
    m_Vertical = vertical;
}

} // namespace pelidore
