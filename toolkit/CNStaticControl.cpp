#include "CNStaticControl.h"

#include "CNScreen.h"

namespace pelidore {

CNStaticControl::CNStaticControl() = default;

CNStaticControl::~CNStaticControl() = default;

void CNStaticControl::SetTextAlign(int horizontal, int vertical)
{
    m_Style.SetAlignment(horizontal, vertical);
    m_Align = true;
}

void CNStaticControl::SetTextInsets(int left, int top, int right, int bottom)
{
    m_Insets = RECT{left, top, right, bottom};
    m_HasInsets = true;
}

void CNStaticControl::OnDraw()
{
    DrawBackColor();
    DrawLabel(TextRect(), 255);
}

HRESULT CNStaticControl::OnCreate()
{
    return S_OK;
}

void CNStaticControl::OnRelease()
{
    m_Style.Release();
}

RECT CNStaticControl::TextRect() const
{
    return RECT{m_X + m_Insets.left, m_Y + m_Insets.top, m_X + m_Width - m_Insets.right,
                m_Y + m_Height - m_Insets.bottom};
}

void CNStaticControl::DrawLabel(const RECT& rect, BYTE alpha)
{
    if (m_Text[0] == L'\0' || !m_Screen || alpha == 0)
        return;
    m_Screen->DrawText(m_Style.Font(), rect, m_Style.ColorWithAlpha(alpha), m_Text, 0, m_Style.HorizontalAlign(),
                       m_Style.VerticalAlign(), m_SingleLine);
}

void CNStaticControl::DrawBackColor()
{
    FillColor(m_BackColor, GetRect());
}

} // namespace pelidore
