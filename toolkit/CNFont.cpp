#include "toolkit/CNFont.h"

CNFont::~CNFont() { Release(); }

HRESULT CNFont::Create(int, int, const wchar_t*) { return E_FAIL; }

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
