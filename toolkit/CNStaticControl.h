#pragma once

#include "CNControlBase.h"
#include "CNTextStyle.h"

namespace pelidore {

// A text in a font and colour set by the owner, optionally on a solid
// background. It is also the text part of every button.
class CNStaticControl : public CNControlBase {
public:
    CNStaticControl();
    ~CNStaticControl() override;

    // The font is borrowed: the owner keeps it alive. Null uses a default font.
    void SetFont(const CNFont* font) { m_Style.SetFont(font); }
    void SetTextColor(const CNColor& color) { m_Style.SetColor(color); }
    const CNColor& GetTextColor() const { return m_Style.Color(); }
    // Gdiplus::StringAlignment values: 0 near, 1 center, 2 far.
    void SetTextAlign(int horizontal, int vertical);
    // Moves the text's rectangle in from the control's edges; setting it
    // also overrides a button's automatic label placement.
    void SetTextInsets(int left, int top, int right, int bottom);
    // Single line (the default): no wrapping, an ellipsis where cut.
    void SetSingleLine(bool singleLine) { m_SingleLine = singleLine; }
    // A colour with alpha 0 (the default) draws no background.
    void SetBackColor(const CNColor& color) { m_BackColor = color; }

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;

    bool HasTextInsets() const { return m_HasInsets; }
    bool HasTextAlign() const { return m_Align; }
    // The control's rectangle less the insets, as (left, top, right, bottom).
    RECT TextRect() const;
    // Draws the text in rect with the text colour's alpha scaled by alpha / 255.
    void DrawLabel(const RECT& rect, BYTE alpha);
    void DrawBackColor();

    CNTextStyle m_Style;

private:
    RECT m_Insets = {0, 0, 0, 0};
    bool m_HasInsets = false;
    bool m_Align = false;
    bool m_SingleLine = true;
    CNColor m_BackColor;
};

} // namespace pelidore
