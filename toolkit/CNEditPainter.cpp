#include "CNEditPainter.h"

namespace pelidore {

CNEditPainter::CNEditPainter(HDC dc, const CNFont& font, const CNScale& scale) : m_Scale(scale)
{
    if (!dc)
        return;
    m_Graphics = std::make_unique<Gdiplus::Graphics>(dc);
    LOGFONTW description = {};
    if (font.Handle() && GetObjectW(font.Handle(), sizeof(description), &description) == sizeof(description)) {
        description.lfHeight = scale.ToPixels(static_cast<int>(description.lfHeight));
        description.lfWidth = scale.ToPixels(static_cast<int>(description.lfWidth));
        m_Font = std::make_unique<Gdiplus::Font>(dc, &description);
    } else
        m_Font = std::make_unique<Gdiplus::Font>(dc);
    m_Format.reset(Gdiplus::StringFormat::GenericTypographic()->Clone());
    if (!m_Format || m_Graphics->GetLastStatus() != Gdiplus::Ok || m_Font->GetLastStatus() != Gdiplus::Ok)
        return;
    m_Format->SetFormatFlags(m_Format->GetFormatFlags() | Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                             Gdiplus::StringFormatFlagsNoWrap);
    m_Graphics->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    m_LineHeight = scale.ToLayout(m_Font->GetHeight(m_Graphics.get()));
    m_Ready = m_LineHeight > 0.0f;
}

CNEditPainter::~CNEditPainter() = default;

float CNEditPainter::Width(const wchar_t* text, int length)
{
    if (!m_Ready || !text || length <= 0)
        return 0.0f;
    Gdiplus::RectF box;
    if (m_Graphics->MeasureString(text, length, m_Font.get(), Gdiplus::PointF(0.0f, 0.0f), m_Format.get(), &box) !=
        Gdiplus::Ok)
        return 0.0f;
    return m_Scale.ToLayout(box.Width);
}

void CNEditPainter::DrawLine(const wchar_t* text, int length, float x, float y, const RECT& clip, const CNColor& color)
{
    if (!m_Ready || !text || length <= 0)
        return;
    const int left = m_Scale.ToPixels(static_cast<int>(clip.left));
    const int top = m_Scale.ToPixels(static_cast<int>(clip.top));
    Gdiplus::Rect area(left, top, m_Scale.ToPixels(static_cast<int>(clip.right)) - left,
                       m_Scale.ToPixels(static_cast<int>(clip.bottom)) - top);
    m_Graphics->SetClip(area);
    Gdiplus::SolidBrush brush(Gdiplus::Color(color.Argb()));
    m_Graphics->DrawString(text, length, m_Font.get(), Gdiplus::PointF(m_Scale.ToPixels(x), m_Scale.ToPixels(y)),
                           m_Format.get(), &brush);
    m_Graphics->ResetClip();
}

} // namespace pelidore
