#pragma once

#include "CNResourceBase.h"
#include "CNScale.h"
#include "NWindows.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace pelidore {

// An image held twice: as a GDI DIB section (for BitBlt and device contexts)
// and as a GDI+ bitmap (for drawing with CNScreen). All operations return 0 on
// success and E_FAIL on failure, with one debug log line; a failed operation
// leaves the bitmap unloaded. GDI+ must be started (CNGdiplus or the
// application) before any of these is called.
//
// A picture has a layout size (its size at 100 %) and a density, the scale
// its pixels were made for: 100 % for everything loaded or made, so both
// sizes agree, until ForScale makes a copy for another scale.
class CNBitmap : public CNResourceBase {
public:
    // The drawings of a "PNG" resource for other scales: id N drawn at 150 %
    // is stored as N + kDensityIdStep, at 200 % as N + 2 * kDensityIdStep.
    static constexpr UINT kDensityIdStep = 1000;

    CNBitmap();
    ~CNBitmap() override;
    CNBitmap(const CNBitmap&) = delete;
    CNBitmap& operator=(const CNBitmap&) = delete;

    // A "PNG" resource of the module; name may be MAKEINTRESOURCEW(id).
    // Only PNGs that decode as 24-bit RGB or 32-bit ARGB are accepted.
    HRESULT Load(HINSTANCE instance, const wchar_t* resourceName);
    // A "PNG" resource by integer id.
    HRESULT LoadResource(HINSTANCE instance, UINT resourceId);
    // An image file that GDI+ reads (BMP, PNG, JPEG, GIF ...).
    HRESULT Load(const wchar_t* path);
    // A copy of a GDI bitmap; the caller keeps and deletes the handle it passed.
    HRESULT Load(HBITMAP bitmap);
    // A blank (transparent) 32-bit bitmap.
    HRESULT Create(int width, int height);
    // A 24-bit copy of the rectangle (x, y, width, height) of a device context.
    HRESULT CreateFromDC(HDC source, int x, int y, int width, int height);
    // Marks the pixels as made for density, standing for a picture of the
    // given layout size (a copy of a scaled surface, say).
    void SetDensity(const CNScale& density, int layoutWidth, int layoutHeight);
    // The picture as drawn at scale, with the scale's pixels: itself when
    // made for that scale; otherwise a copy of the layout size at scale,
    // from the resource's drawing for the nearest scale at or above it (or
    // the largest there is), or from this picture when it is no resource,
    // resized with CNPictureScaler where the sizes differ. The copy is kept
    // until the picture changes or another scale is asked for; when it
    // cannot be made, the picture itself. UI thread only (the copy is kept
    // in a const object).
    const CNBitmap& ForScale(const CNScale& scale) const;
    // Saves as JPEG at quality 100.
    HRESULT Save(const wchar_t* path) const;
    // Saves as PNG (lossless, keeps alpha); for tools that write pictures.
    HRESULT SavePng(const wchar_t* path) const;
    void Release();

    bool IsLoaded() const { return m_Loaded != 0; }
    int Width() const { return m_Info.bmWidth; }
    int Height() const { return m_Info.bmHeight; }
    int LayoutWidth() const { return m_LayoutWidth; }
    int LayoutHeight() const { return m_LayoutHeight; }
    const CNScale& Density() const { return m_Density; }
    int BitsPerPixel() const { return m_Info.bmBitsPixel; }
    int Stride() const { return m_Info.bmWidthBytes; }
    HBITMAP Handle() const { return m_Bitmap; }
    void* Bits() const { return m_Bits; }
    const BITMAP& Description() const { return m_Info; }
    const BITMAPINFOHEADER& Header() const { return m_Header; }
    // The GDI+ image; null when not loaded. Owned by this object.
    Gdiplus::Bitmap* Image() const { return m_Image.get(); }

    // Largest width or height accepted; larger sizes are refused instead of
    // overflowing the byte count of the DIB.
    static constexpr int kMaxSide = 32767;

private:
    // GDI+ bitmap to DIB: accepts 24bppRGB and 32bppARGB images only.
    HRESULT ImportImage(std::unique_ptr<Gdiplus::Bitmap> image);
    // DIB to GDI+ bitmap (8, 24 or 32 bits per pixel).
    HRESULT ExportImage();
    // A new DIB section replacing the held one; 0 or E_FAIL.
    HRESULT MakeDib(int width, int height, int bitsPerPixel, bool topDown, const char* logName);
    HRESULT CopyIntoDib(HBITMAP source);
    HRESULT DrawIntoDib(Gdiplus::Image& image);
    HRESULT MakeScaledCopy(const CNScale& scale, CNBitmap& copy) const;
    // The drawing of the resource for scale and the density it was drawn at.
    UINT DrawnResourceFor(const CNScale& scale, CNScale& density) const;
    // The pixels as 0xAARRGGBB words, rows top first; empty on failure.
    std::vector<std::uint32_t> ReadPixels() const;
    HRESULT LoadPixels(int width, int height, const std::vector<std::uint32_t>& pixels);

    HBITMAP m_Bitmap = nullptr;
    BITMAP m_Info = {};
    BITMAPINFOHEADER m_Header = {};
    void* m_Bits = nullptr;
    int m_Loaded = 0;
    std::unique_ptr<Gdiplus::Bitmap> m_Image;
    HINSTANCE m_Module = nullptr; // with m_ResourceId: where the picture came from
    UINT m_ResourceId = 0;
    CNScale m_Density;
    int m_LayoutWidth = 0;
    int m_LayoutHeight = 0;
    mutable std::unique_ptr<CNBitmap> m_Scaled;
    mutable int m_FailedDpi = 0; // a copy that could not be made is not tried again
};

} // namespace pelidore
