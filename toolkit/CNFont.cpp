#include "CNFont.h"

#include "CNScreenDC.h"

#include <cwchar>

namespace pelidore {

namespace {

constexpr const wchar_t* kFallbackFace = L"Arial";
constexpr int kReadBackChars = 50;

void CopyFace(wchar_t (&target)[CNFont::kFaceChars], const wchar_t* face)
{
    std::wcsncpy(target, face ? face : L"", CNFont::kFaceChars - 1);
    target[CNFont::kFaceChars - 1] = L'\0';
}

} // namespace

CNFont::~CNFont()
{
    Release();
}

HRESULT CNFont::Create(int height, int weight, const wchar_t* faceName)
{
    Release();
    CopyFace(m_Face, faceName);
    m_Font = MakeFont(height, weight, m_Face);
    if (m_Font && !SystemUsesFace(m_Font, m_Face)) {
        // The system substituted another face; use the one every system has.
        Release();
        CopyFace(m_Face, kFallbackFace);
        m_Font = MakeFont(height, weight, m_Face);
    }
    return m_Font ? 0 : E_FAIL;
}

HRESULT CNFont::Create(int height, int, int, int, int weight, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE,
                       const wchar_t* faceName)
{
    return Create(height, weight, faceName);
}

void CNFont::Release()
{
    if (m_Font)
        DeleteObject(m_Font);
    m_Font = nullptr;
}

HFONT CNFont::MakeFont(int height, int weight, const wchar_t* faceName)
{
    LOGFONTW description = {};
    description.lfHeight = height;
    description.lfWeight = weight;
    description.lfCharSet = ANSI_CHARSET;
    description.lfQuality = ANTIALIASED_QUALITY;
    description.lfPitchAndFamily = FF_SWISS;
    CopyFace(description.lfFaceName, faceName);
    return CreateFontIndirectW(&description);
}

bool CNFont::SystemUsesFace(HFONT font, const wchar_t* faceName)
{
    const CNScreenDC screen;
    if (!screen)
        return false;
    HGDIOBJ previous = SelectObject(screen.Get(), font);
    wchar_t used[kReadBackChars] = {};
    int length = (previous && previous != HGDI_ERROR) ? GetTextFaceW(screen.Get(), kReadBackChars, used) : 0;
    if (previous && previous != HGDI_ERROR)
        SelectObject(screen.Get(), previous);
    return length > 0 && std::wcscmp(used, faceName) == 0;
}

} // namespace pelidore
