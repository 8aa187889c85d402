#pragma once

#include "CNResourceBase.h"
#include "NWindows.h"

namespace pelidore {

// A GDI font. When the system substitutes another face for the requested one
// (the face read back from a DC differs), the font is made again as "Arial".
class CNFont : public CNResourceBase {
public:
    static constexpr int kFaceChars = LF_FACESIZE; // 32 including the terminator

    CNFont() = default;
    ~CNFont() override;
    CNFont(const CNFont&) = delete;
    CNFont& operator=(const CNFont&) = delete;

    // Replaces any previous font. Returns 0 when a font exists afterwards, else E_FAIL.
    HRESULT Create(int height, int weight, const wchar_t* faceName);
    // The full GDI font description; only height, weight and face are used.
    HRESULT Create(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                   BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                   BYTE pitchAndFamily, const wchar_t* faceName);
    void Release();

    HFONT Handle() const { return m_Font; }
    bool IsCreated() const { return m_Font != nullptr; }
    // The face the font was finally made with (the requested one or "Arial").
    const wchar_t* FaceName() const { return m_Face; }

private:
    static HFONT MakeFont(int height, int weight, const wchar_t* faceName);
    static bool SystemUsesFace(HFONT font, const wchar_t* faceName);

    HFONT m_Font = nullptr;
    wchar_t m_Face[kFaceChars] = {};
};

} // namespace pelidore
