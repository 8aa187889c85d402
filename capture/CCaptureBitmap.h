#pragma once
// The 24-bit bottom-up DIB section a recording grabs into: B, G, R bytes,
// rows of exactly width x 3 bytes (the width is a multiple of 4), selected
// into its own memory DC with HALFTONE stretching for scaled grabs.
#include "NWindows.h"
#include "ScreenRect.h"

#include <cstdint>

namespace pelidore {

class CCaptureBitmap {
public:
    // Also captures layered windows, which the frame itself is one of.
    static constexpr DWORD kLayeredCopy = SRCCOPY | CAPTUREBLT;

    CCaptureBitmap() = default;
    ~CCaptureBitmap();
    CCaptureBitmap(const CCaptureBitmap&) = delete;
    CCaptureBitmap& operator=(const CCaptureBitmap&) = delete;

    // Replaces any previous bitmap. False for an empty size or when GDI
    // refuses; the object is then empty.
    bool Create(PixelSize size);
    void Release();

    // Copies the screen rectangle (origin, source size) into the bitmap:
    // 1:1 when stretch is false (GDI clips to the bitmap), else squeezed
    // into the whole bitmap.
    bool Grab(HDC screen, PixelPoint origin, PixelSize source, bool stretch, DWORD rasterOperation);

    bool IsReady() const { return m_Bits != nullptr; }
    HDC DC() const { return m_DC; }
    PixelSize Size() const { return m_Size; }
    const std::uint8_t* Pixels() const { return m_Bits; }
    std::uint8_t* Pixels() { return m_Bits; }

private:
    HDC m_DC = nullptr;
    HBITMAP m_Dib = nullptr;
    HGDIOBJ m_OldBitmap = nullptr;
    std::uint8_t* m_Bits = nullptr;
    PixelSize m_Size;
};

} // namespace pelidore
