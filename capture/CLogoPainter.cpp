#include "CLogoPainter.h"

#include "CLogoLayout.h"

namespace pelidore {

namespace {

Gdiplus::StringAlignment ToGdiplus(LogoAlignment alignment)
{
    return alignment == LogoAlignment::Far ? Gdiplus::StringAlignmentFar : Gdiplus::StringAlignmentNear;
}

} // namespace

bool CLogoPainter::Draw(HDC target, const LogoSettings& logo, PixelSize frame)
{
    switch (logo.kind) {
    case LogoSettings::kText:
        return DrawText(target, logo, frame);
    case LogoSettings::kImage:
        return DrawImage(target, logo, frame);
    default:
        return true;
    }
}

void CLogoPainter::ReleaseCache()
{
    m_Font.Release();
    m_FontSize = 0;
    m_FontFace.clear();
    m_Image.Release();
    m_ImagePath.clear();
}

bool CLogoPainter::DrawText(HDC target, const LogoSettings& logo, PixelSize frame)
{
    if (logo.text.empty())
        return true;
    if (!EnsureFont(logo))
        return false;
    LOGFONTW description = {};
    if (GetObjectW(m_Font.Handle(), sizeof description, &description) != sizeof description)
        return false;

    Gdiplus::Graphics graphics(target);
    Gdiplus::Font font(target, &description);
    Gdiplus::FontFamily family;
    if (graphics.GetLastStatus() != Gdiplus::Ok || font.GetLastStatus() != Gdiplus::Ok ||
        font.GetFamily(&family) != Gdiplus::Ok)
        return false;

    const LogoTextBox box =
        CLogoLayout::TextBox(logo.corner, logo.marginX, logo.marginY, logo.fontSize, frame.width, frame.height);
    Gdiplus::StringFormat format;
    format.SetAlignment(ToGdiplus(box.horizontal));
    format.SetLineAlignment(ToGdiplus(box.vertical));
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);

    Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(box.x), static_cast<Gdiplus::REAL>(box.y),
                                static_cast<Gdiplus::REAL>(box.width), static_cast<Gdiplus::REAL>(box.height));
    if (path.AddString(logo.text.c_str(), -1, &family, Gdiplus::FontStyleBold, font.GetSize(), layout, &format) !=
        Gdiplus::Ok)
        return false;
    Gdiplus::Pen outline(Gdiplus::Color(logo.outlineArgb), kOutlineWidth);
    Gdiplus::SolidBrush fill(Gdiplus::Color(logo.fillArgb));
    return graphics.DrawPath(&outline, &path) == Gdiplus::Ok && graphics.FillPath(&fill, &path) == Gdiplus::Ok;
}

bool CLogoPainter::DrawImage(HDC target, const LogoSettings& logo, PixelSize frame)
{
    if (logo.imagePath.empty())
        return true;
    if (!EnsureImage(logo.imagePath))
        return false;
    const int width = m_Image.Width();
    const int height = m_Image.Height();
    const LogoSpot spot =
        CLogoLayout::ImageSpot(logo.corner, logo.marginX, logo.marginY, width, height, frame.width, frame.height);
    Gdiplus::Graphics graphics(target);
    if (graphics.GetLastStatus() != Gdiplus::Ok)
        return false;
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    return graphics.DrawImage(m_Image.Image(), Gdiplus::Rect(spot.x, spot.y, width, height), 0, 0, width, height,
                              Gdiplus::UnitPixel) == Gdiplus::Ok;
}

bool CLogoPainter::EnsureFont(const LogoSettings& logo)
{
    const int size = logo.fontSize > 0 ? logo.fontSize : LogoSettings::kDefaultFontSize;
    if (m_Font.IsCreated() && m_FontSize == size && m_FontFace == logo.fontFace)
        return true;
    m_FontSize = size;
    m_FontFace = logo.fontFace;
    return m_Font.Create(size, kLogoWeight, logo.fontFace.c_str()) == 0;
}

bool CLogoPainter::EnsureImage(const std::filesystem::path& path)
{
    if (path == m_ImagePath)
        return m_Image.IsLoaded();
    m_ImagePath = path;
    return m_Image.Load(path.c_str()) == 0;
}

} // namespace pelidore
