#include "CCaptureBitmap.h"

#include "CNScreenDC.h"

namespace pelidore {

CCaptureBitmap::~CCaptureBitmap()
{
    Release();
}

bool CCaptureBitmap::Create(PixelSize size)
{
    Release();
    if (size.IsEmpty() || size.width % 4 != 0)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = size.height; // positive: bottom-up rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(static_cast<unsigned long long>(size.width) * size.height * 3);

    const CNScreenDC screen;
    if (!screen)
        return false;
    void* bits = nullptr;
    m_Dib = CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_DC = CreateCompatibleDC(screen.Get());
    if (!m_Dib || !bits || !m_DC) {
        Release();
        return false;
    }
    m_OldBitmap = SelectObject(m_DC, m_Dib);
    if (!m_OldBitmap || m_OldBitmap == HGDI_ERROR) {
        m_OldBitmap = nullptr;
        Release();
        return false;
    }
    SetStretchBltMode(m_DC, HALFTONE);
    // HALFTONE needs the brush origin set again after the mode change.
    SetBrushOrgEx(m_DC, 0, 0, nullptr);
    m_Bits = static_cast<std::uint8_t*>(bits);
    m_Size = size;
    return true;
}

void CCaptureBitmap::Release()
{
    if (m_DC && m_OldBitmap)
        SelectObject(m_DC, m_OldBitmap);
    if (m_DC)
        DeleteDC(m_DC);
    if (m_Dib)
        DeleteObject(m_Dib);
    m_DC = nullptr;
    m_Dib = nullptr;
    m_OldBitmap = nullptr;
    m_Bits = nullptr;
    m_Size = {};
}

bool CCaptureBitmap::Grab(HDC screen, PixelPoint origin, PixelSize source, bool stretch, DWORD rasterOperation)
{
    if (!IsReady() || !screen || source.IsEmpty())
        return false;
    const BOOL copied =
        stretch ? StretchBlt(m_DC, 0, 0, m_Size.width, m_Size.height, screen, origin.x, origin.y, source.width,
                             source.height, rasterOperation)
                : BitBlt(m_DC, 0, 0, source.width, source.height, screen, origin.x, origin.y, rasterOperation);
    // The pixels are read straight from memory next; GDI may still hold
    // the copy in its batch.
    GdiFlush();
    return copied != FALSE;
}

} // namespace pelidore
