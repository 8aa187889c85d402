#pragma once

#include "CNResourceBase.h"
#include "NWindows.h"

#include <memory>

namespace pelidore {

// An image held twice: as a GDI DIB section (for BitBlt and device contexts)
// and as a GDI+ bitmap (for drawing with CNScreen). All operations return 0 on
// success and E_FAIL on failure, with one debug log line; a failed operation
// leaves the bitmap unloaded. GDI+ must be started (CNGdiplus or the
// application) before any of these is called.
class CNBitmap : public CNResourceBase {
public:
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
    // Saves as JPEG at quality 100.
    HRESULT Save(const wchar_t* path) const;
    // Saves as PNG (lossless, keeps alpha); for tools that write pictures.
    HRESULT SavePng(const wchar_t* path) const;
    void Release();

    bool IsLoaded() const { return m_Loaded != 0; }
    int Width() const { return m_Info.bmWidth; }
    int Height() const { return m_Info.bmHeight; }
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

    HBITMAP m_Bitmap = nullptr;
    BITMAP m_Info = {};
    BITMAPINFOHEADER m_Header = {};
    void* m_Bits = nullptr;
    int m_Loaded = 0;
    std::unique_ptr<Gdiplus::Bitmap> m_Image;
};

} // namespace pelidore
