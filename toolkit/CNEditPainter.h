#pragma once

#include "CNColor.h"
#include "CNFont.h"
#include "CNScale.h"
#include "NWindows.h"

#include <memory>

namespace pelidore {

// Measures and draws a text field's lines with one set of GDI+ objects, so
// that the caret lands exactly where the drawn glyphs end. Typographic
// layout (no padding around the text) with trailing spaces measured; every
// line is drawn clipped to the field. Lives for one draw or one measurement.
// Positions and sizes are layout units; the font is drawn at the scale's height.
class CNEditPainter {
public:
    CNEditPainter(HDC dc, const CNFont& font, const CNScale& scale = CNScale());
    ~CNEditPainter();
    CNEditPainter(const CNEditPainter&) = delete;
    CNEditPainter& operator=(const CNEditPainter&) = delete;

    bool IsReady() const { return m_Ready; }
    // Advance width of the first length characters of text.
    float Width(const wchar_t* text, int length);
    // Height of one line.
    float LineHeight() const { return m_LineHeight; }
    void DrawLine(const wchar_t* text, int length, float x, float y, const RECT& clip, const CNColor& color);

private:
    std::unique_ptr<Gdiplus::Graphics> m_Graphics;
    std::unique_ptr<Gdiplus::Font> m_Font;
    std::unique_ptr<Gdiplus::StringFormat> m_Format;
    CNScale m_Scale;
    float m_LineHeight = 0.0f;
    bool m_Ready = false;
};

} // namespace pelidore
