#pragma once

#include "CNColor.h"

namespace pelidore {

// The colours the controls draw with when their owner sets none. They match
// the program's pictures: dark greys and one warm accent.
class CNTheme {
public:
    static CNColor Text() { return CNColor(255, 231, 232, 235); }
    static CNColor TextDim() { return CNColor(255, 130, 133, 141); }
    static CNColor Accent() { return CNColor(255, 242, 87, 76); }
    static CNColor AccentText() { return CNColor(255, 255, 255, 255); }
    static CNColor ListBack() { return CNColor(255, 30, 31, 35); }
    static CNColor ListEdge() { return CNColor(255, 74, 77, 84); }
    static CNColor ListSelected() { return CNColor(255, 52, 54, 60); }
    static CNColor FieldBack() { return CNColor(255, 20, 21, 24); }
    static CNColor FieldEdge() { return CNColor(255, 58, 60, 67); }
    static CNColor Selection() { return CNColor(255, 120, 52, 48); }
    static CNColor Caret() { return CNColor(255, 242, 87, 76); }
    static CNColor TrackBack() { return CNColor(255, 52, 54, 60); }
    static CNColor TrackThumb() { return CNColor(255, 110, 113, 121); }
    static CNColor TrackThumbActive() { return CNColor(255, 160, 163, 171); }
    static CNColor ButtonFace() { return CNColor(255, 46, 48, 54); }
    static CNColor ButtonHover() { return CNColor(255, 58, 60, 67); }
    static CNColor FrameEdge() { return CNColor(255, 62, 64, 71); }

    // Liberation Sans stands in for "Arial" under Wine; both fit the pictures.
    static constexpr const wchar_t* kFontFace = L"Arial";
    static constexpr int kFontHeight = 14;
    static constexpr int kFontWeight = 400;
};

} // namespace pelidore
