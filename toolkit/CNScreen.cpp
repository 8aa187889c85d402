#include "CNScreen.h"

#include "CNBitmap.h"
#include "CNColor.h"
#include "CNFont.h"
#include "CNGdiObject.h"
#include "CNMemoryDC.h"

#include <cstring>
#include <cwchar>
#include <memory>

namespace pelidore {

namespace {

// Buffers above this many pixels are refused rather than risking an overflow
// of the 32-bit byte count in the bitmap header.
constexpr long long kMaxPixels = 1LL << 28;
constexpr COLORREF kColourKey = 0xFF00FF;
constexpr float kDashLength = 8.0f;
constexpr float kOutlineWidth = 2.0f;
constexpr float kShadowOffset = 2.0f;
constexpr Gdiplus::ARGB kShadowColour = 0xC0000000;
constexpr float kMeasureExtent = 65536.0f;
constexpr int kNumberChars = 50;

BITMAPINFO MakeBitmapInfo(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // positive: bottom-up rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    return info;
}

bool SizeIsAcceptable(int width, int height)
{
    return width > 0 && height > 0 && static_cast<long long>(width) * height <= kMaxPixels;
}

HBITMAP MakeDib(HDC reference, int width, int height, uint32_t** pixels)
{
    *pixels = nullptr;
    if (!SizeIsAcceptable(width, height))
        return nullptr;
    BITMAPINFO info = MakeBitmapInfo(width, height);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib || !bits) {
        if (dib)
            DeleteObject(dib);
        return nullptr;
    }
    *pixels = static_cast<uint32_t*>(bits);
    return dib;
}

Gdiplus::Color ToGdiplus(const CNColor& color)
{
    return Gdiplus::Color(color.Argb());
}

Gdiplus::RectF ToRectF(const RECT& rect)
{
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                          static_cast<Gdiplus::REAL>(rect.right - rect.left),
                          static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
}

// length 0 or less: the whole zero-terminated text (GDI+ takes -1 for that).
int TextLength(int length)
{
    return length > 0 ? length : -1;
}

// The font for GDI+ text: the CNFont's description at the scale's height, or
// the DC's current font.
std::unique_ptr<Gdiplus::Font> MakeGdiplusFont(HDC dc, const CNFont& font, const CNScale& scale)
{
    LOGFONTW description = {};
    if (font.Handle() && GetObjectW(font.Handle(), sizeof(description), &description) == sizeof(description)) {
        description.lfHeight = scale.ToPixels(static_cast<int>(description.lfHeight));
        description.lfWidth = scale.ToPixels(static_cast<int>(description.lfWidth));
        return std::make_unique<Gdiplus::Font>(dc, &description);
    }
    return std::make_unique<Gdiplus::Font>(dc);
}

void ConfigureTextFormat(Gdiplus::StringFormat& format, int horizontalAlign, int verticalAlign, bool singleLine)
{
    format.SetAlignment(static_cast<Gdiplus::StringAlignment>(horizontalAlign));
    format.SetLineAlignment(static_cast<Gdiplus::StringAlignment>(verticalAlign));
    if (singleLine) {
        format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
        format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    } else {
        format.SetTrimming(Gdiplus::StringTrimmingNone);
    }
}

void DrawTextOn(HDC dc, const CNFont& font, const CNScale& scale, const RECT& rect, const CNColor& color,
                const wchar_t* text, int length, int horizontalAlign, int verticalAlign, bool singleLine)
{
    Gdiplus::Graphics graphics(dc);
    std::unique_ptr<Gdiplus::Font> gdiplusFont = MakeGdiplusFont(dc, font, scale);
    Gdiplus::StringFormat format;
    ConfigureTextFormat(format, horizontalAlign, verticalAlign, singleLine);
    Gdiplus::SolidBrush brush(ToGdiplus(color));
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeBicubic);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    graphics.DrawString(text, TextLength(length), gdiplusFont.get(), ToRectF(rect), &format, &brush);
}

// Font size in world units (pixels), whatever unit GDI+ gave the font.
Gdiplus::REAL EmSizeInPixels(const Gdiplus::Font& font, Gdiplus::Graphics& graphics)
{
    Gdiplus::REAL size = font.GetSize();
    if (font.GetUnit() == Gdiplus::UnitPoint)
        size = size * graphics.GetDpiY() / 72.0f;
    return size;
}

} // namespace

CNScreen::CNScreen() = default;

CNScreen::~CNScreen()
{
    Release();
}

HRESULT CNScreen::Init(HWND window, HDC windowDC, int mode)
{
    Release();
    m_Window = window;
    m_WindowDC = windowDC;
    m_Mode = mode;
    int width = 0;
    int height = 0;
    if (!WindowSize(width, height))
        return E_FAIL;
    m_MemoryDC = CreateCompatibleDC(windowDC);
    if (!m_MemoryDC)
        return E_FAIL;
    return MakeBuffer(width, height);
}

HRESULT CNScreen::InitOffscreen(int width, int height)
{
    Release();
    m_Mode = kModeOffscreen;
    m_MemoryDC = CreateCompatibleDC(nullptr);
    if (!m_MemoryDC)
        return E_FAIL;
    return MakeBuffer(width, height);
}

HRESULT CNScreen::Resize()
{
    if (!m_MemoryDC)
        return E_FAIL;
    int width = m_Width;
    int height = m_Height;
    if (m_Window && !WindowSize(width, height))
        return E_FAIL;
    DropBuffer();
    return MakeBuffer(width, height);
}

void CNScreen::Release()
{
    DropBuffer();
    if (m_MemoryDC)
        DeleteDC(m_MemoryDC);
    m_MemoryDC = nullptr;
}

int CNScreen::Present()
{
    if (!IsReady())
        return 0;
    if (m_Mode == kModeLayered) {
        RECT window = {};
        if (!GetWindowRect(m_Window, &window))
            return 0;
        POINT destination = {window.left, window.top};
        SIZE size = {m_Width, m_Height};
        POINT source = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return UpdateLayeredWindow(m_Window, m_WindowDC, &destination, &size, m_MemoryDC, &source, kColourKey, &blend,
                                   ULW_ALPHA);
    }
    if (m_Mode == kModeOrdinary)
        return BitBlt(m_WindowDC, 0, 0, m_Width, m_Height, m_MemoryDC, 0, 0, SRCCOPY);
    return m_Mode;
}

int CNScreen::PresentRect(int x, int y, int width, int height)
{
    if (!IsReady())
        return 0;
    if (m_Mode == kModeLayered)
        return Present();
    if (m_Mode != kModeOrdinary)
        return 0;
    // Window DC coordinates are relative to the window, wherever it lies on
    // the screen, so the rectangle goes to the same place it has in the buffer.
    CNRect clipped = ClipLayout(x, y, width, height);
    if (clipped.IsEmpty())
        return 0;
    return BitBlt(m_WindowDC, clipped.x, clipped.y, clipped.width, clipped.height, m_MemoryDC, clipped.x, clipped.y,
                  SRCCOPY);
}

void CNScreen::ClearRect(int x, int y, int width, int height)
{
    CNRect clipped = ClipLayout(x, y, width, height);
    if (clipped.IsEmpty())
        return;
    for (int line = clipped.y; line < clipped.y + clipped.height; ++line)
        std::memset(Row(line) + clipped.x, 0, static_cast<size_t>(clipped.width) * sizeof(uint32_t));
}

void CNScreen::FillRect(BYTE red, BYTE green, BYTE blue, BYTE alpha, int x, int y, int width, int height)
{
    if (!IsReady())
        return;
    const CNRect area = ToPixels(x, y, width, height);
    Gdiplus::Graphics graphics(m_MemoryDC);
    Gdiplus::SolidBrush brush(Gdiplus::Color(alpha, red, green, blue));
    graphics.FillRectangle(&brush, area.x, area.y, area.width, area.height);
}

void CNScreen::FillRoundRect(const CNColor& color, int x, int y, int width, int height, float radius)
{
    if (!IsReady() || width <= 0 || height <= 0)
        return;
    if (radius <= 0.0f) {
        FillRect(color.Red(), color.Green(), color.Blue(), color.Alpha(), x, y, width, height);
        return;
    }
    const CNRect area = ToPixels(x, y, width, height);
    const float most = static_cast<float>(area.width < area.height ? area.width : area.height) / 2.0f;
    const float scaled = static_cast<float>(m_Scale.ToPixels(1000)) / 1000.0f * radius;
    const float r = scaled < most ? scaled : most;
    Gdiplus::GraphicsPath path;
    const float d = 2.0f * r;
    const float left = static_cast<float>(area.x);
    const float top = static_cast<float>(area.y);
    const float right = static_cast<float>(area.x + area.width);
    const float bottom = static_cast<float>(area.y + area.height);
    path.AddArc(left, top, d, d, 180.0f, 90.0f);
    path.AddArc(right - d, top, d, d, 270.0f, 90.0f);
    path.AddArc(right - d, bottom - d, d, d, 0.0f, 90.0f);
    path.AddArc(left, bottom - d, d, d, 90.0f, 90.0f);
    path.CloseFigure();
    Gdiplus::Graphics graphics(m_MemoryDC);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    // Pixel edges on the rectangle's edges, as FillRect fills them.
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::SolidBrush brush(Gdiplus::Color(color.Alpha(), color.Red(), color.Green(), color.Blue()));
    graphics.FillPath(&brush, &path);
}

void CNScreen::FillBitmapRect(CNBitmap& bitmap, BYTE alpha, BYTE red, BYTE green, BYTE blue, int x, int y, int width,
                              int height)
{
    CNMemoryDC dc(m_MemoryDC);
    if (!dc.SelectBitmap(bitmap.Handle()))
        return;
    Gdiplus::Graphics graphics(dc.Get());
    Gdiplus::SolidBrush brush(Gdiplus::Color(alpha, red, green, blue));
    graphics.FillRectangle(&brush, x, y, width, height);
}

void CNScreen::DrawDashRect(float dashOffset, int dashStyle, BYTE red, BYTE green, BYTE blue, int x, int y, int width,
                            int height)
{
    if (!IsReady())
        return;
    const CNRect frame = ToPixels(x, y, width, height);
    Gdiplus::Graphics graphics(m_MemoryDC);
    Gdiplus::Pen pen(Gdiplus::Color(255, red, green, blue), m_Scale.Factor());
    pen.SetDashStyle(static_cast<Gdiplus::DashStyle>(dashStyle));
    if (dashStyle != Gdiplus::DashStyleSolid) {
        const Gdiplus::REAL pattern[2] = {kDashLength, kDashLength};
        pen.SetDashPattern(pattern, 2);
        pen.SetDashOffset(dashOffset);
    }
    graphics.DrawRectangle(&pen, frame.x, frame.y, frame.width, frame.height);
}

void CNScreen::DrawImage(const CNBitmap& bitmap, int x, int y, int width, int height, int sourceX, int sourceY)
{
    DrawPicture(bitmap, x, y, width, height, sourceX, sourceY, nullptr);
}

void CNScreen::DrawImageAlpha(float alpha, const CNBitmap& bitmap, int x, int y, int width, int height)
{
    if (alpha == 1.0f) {
        DrawImage(bitmap, x, y, width, height, 0, 0);
        return;
    }
    Gdiplus::ColorMatrix matrix = {
        {{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, alpha, 0}, {0, 0, 0, 0, 1}}};
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&matrix, Gdiplus::ColorMatrixFlagsDefault, Gdiplus::ColorAdjustTypeBitmap);
    DrawPicture(bitmap, x, y, width, height, 0, 0, &attributes);
}

void CNScreen::DrawText(const CNFont& font, const RECT& rect, const CNColor& color, const wchar_t* text, int length,
                        int horizontalAlign, int verticalAlign, bool singleLine)
{
    if (!IsReady() || !text)
        return;
    DrawTextOn(m_MemoryDC, font, m_Scale, ToPixels(rect), color, text, length, horizontalAlign, verticalAlign,
               singleLine);
}

void CNScreen::DrawTextToBitmap(CNBitmap& bitmap, const CNFont& font, const RECT& rect, const CNColor& color,
                                const wchar_t* text, int length, int horizontalAlign, int verticalAlign,
                                bool singleLine)
{
    if (!text)
        return;
    CNMemoryDC dc(m_MemoryDC);
    if (!dc.SelectBitmap(bitmap.Handle()))
        return;
    DrawTextOn(dc.Get(), font, CNScale(), rect, color, text, length, horizontalAlign, verticalAlign, singleLine);
}

void CNScreen::DrawNumber(const CNFont& font, const RECT& rect, const CNColor& color, int value, int horizontalAlign,
                          int verticalAlign, bool singleLine)
{
    wchar_t text[kNumberChars] = {};
    std::swprintf(text, kNumberChars, L"%d", value);
    DrawText(font, rect, color, text, 0, horizontalAlign, verticalAlign, singleLine);
}

void CNScreen::DrawOutlinedText(const CNFont& font, const RECT& rect, const CNColor& color, const wchar_t* text,
                                int align, bool outline, bool shadow, int length)
{
    if (!IsReady() || !text)
        return;
    Gdiplus::Graphics graphics(m_MemoryDC);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    std::unique_ptr<Gdiplus::Font> gdiplusFont = MakeGdiplusFont(m_MemoryDC, font, m_Scale);
    Gdiplus::FontFamily family;
    if (gdiplusFont->GetFamily(&family) != Gdiplus::Ok)
        return;
    Gdiplus::REAL emSize = EmSizeInPixels(*gdiplusFont, graphics);
    Gdiplus::StringFormat format;
    format.SetAlignment(static_cast<Gdiplus::StringAlignment>(align));
    format.SetLineAlignment(static_cast<Gdiplus::StringAlignment>(align));
    Gdiplus::RectF layout = ToRectF(ToPixels(rect));

    Gdiplus::GraphicsPath glyphs;
    glyphs.AddString(text, TextLength(length), &family, Gdiplus::FontStyleBold, emSize, layout, &format);
    graphics.SetClip(&glyphs, Gdiplus::CombineModeExclude);
    if (shadow) {
        Gdiplus::RectF shifted = layout;
        shifted.Offset(kShadowOffset * m_Scale.Factor(), kShadowOffset * m_Scale.Factor());
        Gdiplus::GraphicsPath shadowGlyphs;
        shadowGlyphs.AddString(text, TextLength(length), &family, Gdiplus::FontStyleBold, emSize, shifted, &format);
        Gdiplus::SolidBrush shadowBrush{Gdiplus::Color(kShadowColour)};
        graphics.FillPath(&shadowBrush, &shadowGlyphs);
    }
    if (outline) {
        Gdiplus::Pen pen(Gdiplus::Color(color.Alpha(), 0, 0, 0), kOutlineWidth * m_Scale.Factor());
        graphics.DrawPath(&pen, &glyphs);
    }
    graphics.ResetClip();
    Gdiplus::SolidBrush fill(ToGdiplus(color));
    graphics.FillPath(&fill, &glyphs);
}

void CNScreen::DrawOutline(const CNFont& font, const RECT& rect, const CNColor& color, const wchar_t* text,
                           int horizontalAlign, int verticalAlign, int length)
{
    if (!IsReady() || !text)
        return;
    Gdiplus::Graphics graphics(m_MemoryDC);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    std::unique_ptr<Gdiplus::Font> gdiplusFont = MakeGdiplusFont(m_MemoryDC, font, m_Scale);
    Gdiplus::FontFamily family;
    if (gdiplusFont->GetFamily(&family) != Gdiplus::Ok)
        return;
    Gdiplus::StringFormat format;
    format.SetAlignment(static_cast<Gdiplus::StringAlignment>(horizontalAlign));
    format.SetLineAlignment(static_cast<Gdiplus::StringAlignment>(verticalAlign));
    Gdiplus::GraphicsPath glyphs;
    glyphs.AddString(text, TextLength(length), &family, Gdiplus::FontStyleBold, EmSizeInPixels(*gdiplusFont, graphics),
                     ToRectF(ToPixels(rect)), &format);
    graphics.SetClip(&glyphs, Gdiplus::CombineModeExclude);
    Gdiplus::Pen pen(Gdiplus::Color(color.Alpha(), 0, 0, 0), kOutlineWidth * m_Scale.Factor());
    graphics.DrawPath(&pen, &glyphs);
}

Gdiplus::SizeF CNScreen::MeasureText(const CNFont& font, const wchar_t* text, int length)
{
    if (!text)
        return Gdiplus::SizeF(0, 0);
    if (length == -1)
        length = lstrlenW(text);
    if (length <= 0)
        return Gdiplus::SizeF(0, 0);
    // Measuring needs no buffer; a screen-compatible DC serves an inert surface.
    CNMemoryDC spare;
    HDC dc = m_MemoryDC ? m_MemoryDC : spare.Get();
    if (!dc)
        return Gdiplus::SizeF(0, 0);
    Gdiplus::Graphics graphics(dc);
    std::unique_ptr<Gdiplus::Font> gdiplusFont = MakeGdiplusFont(dc, font, m_Scale);
    Gdiplus::StringFormat format;
    Gdiplus::CharacterRange range(0, length);
    format.SetMeasurableCharacterRanges(1, &range);
    Gdiplus::Region region;
    Gdiplus::RectF layout(0, 0, kMeasureExtent, kMeasureExtent);
    if (graphics.MeasureCharacterRanges(text, length, gdiplusFont.get(), layout, &format, 1, &region) != Gdiplus::Ok)
        return Gdiplus::SizeF(0, 0);
    Gdiplus::RectF bounds;
    if (region.GetBounds(&bounds, &graphics) != Gdiplus::Ok)
        return Gdiplus::SizeF(0, 0);
    return Gdiplus::SizeF(m_Scale.ToLayout(bounds.Width), m_Scale.ToLayout(bounds.Height));
}

HRESULT CNScreen::SaveRect(const CNRect& rect, CNSavedRect& saved)
{
    saved.Reset();
    CNRect clipped = ClipLayout(rect.x, rect.y, rect.width, rect.height);
    if (clipped.IsEmpty())
        return E_FAIL;
    saved.pixels.resize(static_cast<size_t>(clipped.width) * static_cast<size_t>(clipped.height));
    uint32_t* target = saved.pixels.data();
    for (int line = clipped.y; line < clipped.y + clipped.height; ++line, target += clipped.width)
        std::memcpy(target, Row(line) + clipped.x, static_cast<size_t>(clipped.width) * sizeof(uint32_t));
    saved.x = clipped.x;
    saved.y = clipped.y;
    saved.width = clipped.width;
    saved.height = clipped.height;
    saved.saved = 1;
    return S_OK;
}

void CNScreen::RestoreRect(const CNSavedRect& saved)
{
    if (!saved.saved || saved.width <= 0 || saved.height <= 0 ||
        saved.pixels.size() < static_cast<size_t>(saved.width) * static_cast<size_t>(saved.height))
        return;
    // The buffer may have been rebuilt smaller since the save.
    CNRect clipped = Clip(saved.x, saved.y, saved.width, saved.height);
    if (clipped.IsEmpty())
        return;
    const int skipX = clipped.x - saved.x;
    const int skipY = clipped.y - saved.y;
    for (int row = 0; row < clipped.height; ++row) {
        const uint32_t* source =
            saved.pixels.data() + static_cast<size_t>(skipY + row) * static_cast<size_t>(saved.width) + skipX;
        std::memcpy(Row(clipped.y + row) + clipped.x, source, static_cast<size_t>(clipped.width) * sizeof(uint32_t));
    }
}

HBITMAP CNScreen::CopyRectToBitmap(const CNRect* rect)
{
    CNRect wanted = rect ? ToPixels(rect->x, rect->y, rect->width, rect->height) : CNRect{0, 0, m_Width, m_Height};
    CNRect clipped = Clip(wanted.x, wanted.y, wanted.width, wanted.height);
    if (clipped.IsEmpty())
        return nullptr;
    uint32_t* target = nullptr;
    HBITMAP copy = MakeDib(m_MemoryDC, clipped.width, clipped.height, &target);
    if (!copy)
        return nullptr;
    for (int row = 0; row < clipped.height; ++row) {
        uint32_t* line = target + static_cast<size_t>(clipped.height - 1 - row) * static_cast<size_t>(clipped.width);
        std::memcpy(line, Row(clipped.y + row) + clipped.x, static_cast<size_t>(clipped.width) * sizeof(uint32_t));
    }
    GdiFlush();
    return copy;
}

uint32_t CNScreen::PixelAt(int x, int y) const
{
    if (!IsReady() || x < 0 || y < 0 || x >= m_Width || y >= m_Height)
        return 0;
    return Row(y)[x];
}

HRESULT CNScreen::MakeBuffer(int width, int height)
{
    uint32_t* pixels = nullptr;
    HBITMAP dib = MakeDib(m_MemoryDC, width, height, &pixels);
    if (!dib)
        return E_FAIL;
    HGDIOBJ previous = SelectObject(m_MemoryDC, dib);
    if (!previous || previous == HGDI_ERROR) {
        DeleteObject(dib);
        return E_FAIL;
    }
    m_Dib = dib;
    m_OldBitmap = previous;
    m_Pixels = pixels;
    m_Width = width;
    m_Height = height;
    return S_OK;
}

void CNScreen::DropBuffer()
{
    if (m_Dib) {
        if (m_MemoryDC && m_OldBitmap)
            SelectObject(m_MemoryDC, m_OldBitmap);
        DeleteObject(m_Dib);
    }
    m_Dib = nullptr;
    m_OldBitmap = nullptr;
    m_Pixels = nullptr;
    m_Width = 0;
    m_Height = 0;
}

bool CNScreen::WindowSize(int& width, int& height) const
{
    RECT rect = {};
    if (!m_Window || !GetWindowRect(m_Window, &rect))
        return false;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    return true;
}

CNRect CNScreen::Clip(int x, int y, int width, int height) const
{
    if (!IsReady())
        return CNRect{};
    long long left = x;
    long long top = y;
    long long right = static_cast<long long>(x) + width;
    long long bottom = static_cast<long long>(y) + height;
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    if (right > m_Width)
        right = m_Width;
    if (bottom > m_Height)
        bottom = m_Height;
    if (right <= left || bottom <= top)
        return CNRect{};
    return CNRect{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
                  static_cast<int32_t>(bottom - top)};
}

uint32_t* CNScreen::Row(int y) const
{
    return m_Pixels + static_cast<size_t>(m_Height - 1 - y) * static_cast<size_t>(m_Width);
}

CNRect CNScreen::ToPixels(int x, int y, int width, int height) const
{
    const int left = m_Scale.ToPixels(x);
    const int top = m_Scale.ToPixels(y);
    return CNRect{left, top, m_Scale.ToPixels(x + width) - left, m_Scale.ToPixels(y + height) - top};
}

CNRect CNScreen::ClipLayout(int x, int y, int width, int height) const
{
    const CNRect area = ToPixels(x, y, width, height);
    return Clip(area.x, area.y, area.width, area.height);
}

RECT CNScreen::ToPixels(const RECT& layout) const
{
    return RECT{m_Scale.ToPixels(static_cast<int>(layout.left)), m_Scale.ToPixels(static_cast<int>(layout.top)),
                m_Scale.ToPixels(static_cast<int>(layout.right)), m_Scale.ToPixels(static_cast<int>(layout.bottom))};
}

// The source rectangle is read in the picture's pixels. A picture made for
// the surface's scale goes on pixel for pixel from the scaled corner; one
// that is not (no copy could be made) is stretched over the scaled rectangle.
void CNScreen::DrawPicture(const CNBitmap& bitmap, int x, int y, int width, int height, int sourceX, int sourceY,
                           const Gdiplus::ImageAttributes* attributes)
{
    if (!IsReady() || !bitmap.Image())
        return;
    const CNBitmap& drawn = bitmap.ForScale(m_Scale);
    if (width == 0)
        width = drawn.LayoutWidth();
    if (height == 0)
        height = drawn.LayoutHeight();
    const CNScale& density = drawn.Density();
    const int left = density.ToPixels(sourceX);
    const int top = density.ToPixels(sourceY);
    const CNRect source{left, top, density.ToPixels(sourceX + width) - left, density.ToPixels(sourceY + height) - top};
    CNRect target{m_Scale.ToPixels(x), m_Scale.ToPixels(y), source.width, source.height};
    Gdiplus::Graphics graphics(m_MemoryDC);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    if (density != m_Scale) {
        target = ToPixels(x, y, width, height);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    }
    graphics.DrawImage(drawn.Image(), Gdiplus::Rect(target.x, target.y, target.width, target.height), source.x,
                       source.y, source.width, source.height, Gdiplus::UnitPixel, attributes);
}

} // namespace pelidore
