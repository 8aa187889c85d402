#include "CNBitmap.h"

#include "CNGdiObject.h"
#include "CNLog.h"
#include "CNMemoryDC.h"
#include "CNPictureScaler.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace pelidore {

namespace {

constexpr const char* kLoadName = "CNBitmap::Load";
constexpr const char* kCreateName = "CNBitmap::Create";
constexpr const char* kCreateFromDCName = "CNBitmap::CreateFromDC";
constexpr const char* kSaveName = "CNBitmap::Save";
constexpr const char* kScaleName = "CNBitmap::ForScale";
constexpr ULONG kJpegQuality = 100;
constexpr int kPaletteEntries = 256;
// The scales the resources are drawn at, smallest first: 100 %, 150 %, 200 %.
constexpr int kDrawnDpis[] = {96, 144, 192};

int BitsOfFormat(Gdiplus::PixelFormat format)
{
    return static_cast<int>((format >> 8) & 0xFF);
}

bool SizeIsAcceptable(int width, int height)
{
    return width > 0 && height > 0 && width <= CNBitmap::kMaxSide && height <= CNBitmap::kMaxSide;
}

// A BITMAPINFO with room for a full palette: CreateDIBSection reads 256
// colour entries for 8-bit images, more than BITMAPINFO itself holds.
struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[kPaletteEntries];
};

void FillGreyPalette(RGBQUAD* colours)
{
    for (int i = 0; i < kPaletteEntries; ++i) {
        BYTE level = static_cast<BYTE>(i);
        colours[i] = RGBQUAD{level, level, level, 0};
    }
}

bool FindEncoder(const wchar_t* mimeType, CLSID& clsid)
{
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0 || bytes == 0)
        return false;
    std::vector<unsigned char> storage(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(storage.data());
    if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (encoders[i].MimeType && std::wcscmp(encoders[i].MimeType, mimeType) == 0) {
            clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

// A stream over a private copy of the resource bytes. The stream owns the
// memory block: GDI+ may keep reading from the stream for as long as the
// bitmap made from it lives, so the block must not be freed before that.
IStream* StreamOverCopy(const void* bytes, DWORD size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return nullptr;
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) {
        GlobalFree(block);
        return nullptr;
    }
    return stream;
}

std::unique_ptr<Gdiplus::Bitmap> BitmapFromStream(IStream* stream)
{
    std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromStream(stream));
    if (image && image->GetLastStatus() != Gdiplus::Ok)
        image.reset();
    return image;
}

void ReportRefusal(const char* logName, const char* what)
{
    NLOG(logName, CNLog::kLevelCreateFailed, "%s", what);
}

void LogResourceName(const wchar_t* name)
{
    if (IS_INTRESOURCE(name))
        NLOG(kLoadName, CNLog::kLevelCreateFailed, "cannot find resource by name : #%u",
             static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
    else
        NLOG(kLoadName, CNLog::kLevelCreateFailed, L"cannot find resource by name : %ls", name);
}

} // namespace

CNBitmap::CNBitmap() = default;

CNBitmap::~CNBitmap()
{
    Release();
}

HRESULT CNBitmap::Load(HINSTANCE instance, const wchar_t* resourceName)
{
    Release();
    HRSRC resource = resourceName ? FindResourceW(instance, resourceName, L"PNG") : nullptr;
    if (!resource) {
        LogResourceName(resourceName ? resourceName : L"(null)");
        return E_FAIL;
    }
    HGLOBAL loaded = ::LoadResource(instance, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(instance, resource);
    if (!bytes || size == 0) {
        ReportRefusal(kLoadName, "cannot read resource");
        return E_FAIL;
    }
    IStream* stream = StreamOverCopy(bytes, size);
    if (!stream) {
        ReportRefusal(kLoadName, "cannot open stream on resource");
        return E_FAIL;
    }
    std::unique_ptr<Gdiplus::Bitmap> image = BitmapFromStream(stream);
    stream->Release();
    if (!image) {
        ReportRefusal(kLoadName, "cannot decode resource");
        return E_FAIL;
    }
    if (FAILED(ImportImage(std::move(image))))
        return E_FAIL;
    if (IS_INTRESOURCE(resourceName)) {
        m_Module = instance;
        m_ResourceId = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(resourceName));
    }
    return S_OK;
}

HRESULT CNBitmap::LoadResource(HINSTANCE instance, UINT resourceId)
{
    return Load(instance, MAKEINTRESOURCEW(resourceId));
}

HRESULT CNBitmap::Load(const wchar_t* path)
{
    Release();
    std::unique_ptr<Gdiplus::Bitmap> image;
    if (path)
        image.reset(Gdiplus::Bitmap::FromFile(path));
    if (!image || image->GetLastStatus() != Gdiplus::Ok) {
        NLOG(kLoadName, CNLog::kLevelRefused, L"cannot load file : %ls", path ? path : L"(null)");
        return E_FAIL;
    }
    const int width = static_cast<int>(image->GetWidth());
    const int height = static_cast<int>(image->GetHeight());
    // Paletted and 16-bit-per-channel files would need a colour table or a
    // depth GDI has no DIB for; they are held as 32-bit images instead.
    const int bits = BitsOfFormat(image->GetPixelFormat()) == 24 ? 24 : 32;
    if (FAILED(MakeDib(width, height, bits, false, kLoadName)))
        return E_FAIL;
    if (DrawIntoDib(*image) != 0) {
        Release();
        ReportRefusal(kLoadName, "cannot draw image");
        return E_FAIL;
    }
    m_Image = std::move(image);
    m_Loaded = 1;
    return S_OK;
}

HRESULT CNBitmap::Load(HBITMAP bitmap)
{
    Release();
    if (!bitmap) {
        NLOG(kLoadName, CNLog::kLevelCreateFailed, "img is NULL");
        return E_FAIL;
    }
    BITMAP source = {};
    if (GetObjectW(bitmap, sizeof(source), &source) != sizeof(source)) {
        ReportRefusal(kLoadName, "not a bitmap");
        return E_FAIL;
    }
    if (FAILED(MakeDib(source.bmWidth, source.bmHeight, source.bmBitsPixel, false, kLoadName)))
        return E_FAIL;
    if (CopyIntoDib(bitmap) != 0 || ExportImage() != 0) {
        Release();
        ReportRefusal(kLoadName, "cannot copy bitmap");
        return E_FAIL;
    }
    m_Loaded = 1;
    return S_OK;
}

HRESULT CNBitmap::Create(int width, int height)
{
    Release();
    if (FAILED(MakeDib(width, height, 32, false, kCreateName)))
        return E_FAIL;
    if (ExportImage() != 0) {
        Release();
        ReportRefusal(kCreateName, "cannot create image");
        return E_FAIL;
    }
    m_Loaded = 1;
    return S_OK;
}

HRESULT CNBitmap::CreateFromDC(HDC source, int x, int y, int width, int height)
{
    Release();
    if (FAILED(MakeDib(width, height, 24, false, kCreateFromDCName)))
        return E_FAIL;
    CNMemoryDC dc(source);
    if (!dc) {
        Release();
        NLOG(kCreateFromDCName, CNLog::kLevelCreateFailed, "CreateCompatibleDC fail");
        return E_FAIL;
    }
    if (!dc.SelectBitmap(m_Bitmap) || !BitBlt(dc.Get(), 0, 0, width, height, source, x, y, SRCCOPY)) {
        Release();
        ReportRefusal(kCreateFromDCName, "BitBlt fail");
        return E_FAIL;
    }
    dc.RestoreBitmap();
    GdiFlush();
    if (ExportImage() != 0) {
        Release();
        ReportRefusal(kCreateFromDCName, "cannot create image");
        return E_FAIL;
    }
    m_Loaded = 1;
    return S_OK;
}

HRESULT CNBitmap::Save(const wchar_t* path) const
{
    if (!m_Image || !path) {
        NLOG(kSaveName, CNLog::kLevelRefused, "nothing to save");
        return E_FAIL;
    }
    CLSID jpeg = {};
    if (!FindEncoder(L"image/jpeg", jpeg)) {
        NLOG(kSaveName, CNLog::kLevelCreateFailed, "cannot find CLSID");
        return E_FAIL;
    }
    ULONG quality = kJpegQuality;
    Gdiplus::EncoderParameters parameters;
    parameters.Count = 1;
    parameters.Parameter[0].Guid = Gdiplus::EncoderQuality;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Value = &quality;
    return m_Image->Save(path, &jpeg, &parameters) == Gdiplus::Ok ? 0 : E_FAIL;
}

HRESULT CNBitmap::SavePng(const wchar_t* path) const
{
    if (!m_Image || !path) {
        NLOG(kSaveName, CNLog::kLevelRefused, "nothing to save");
        return E_FAIL;
    }
    CLSID png = {};
    if (!FindEncoder(L"image/png", png)) {
        NLOG(kSaveName, CNLog::kLevelCreateFailed, "cannot find CLSID");
        return E_FAIL;
    }
    return m_Image->Save(path, &png, nullptr) == Gdiplus::Ok ? 0 : E_FAIL;
}

void CNBitmap::SetDensity(const CNScale& density, int layoutWidth, int layoutHeight)
{
    m_Density = density;
    m_LayoutWidth = layoutWidth;
    m_LayoutHeight = layoutHeight;
    m_Scaled.reset();
    m_FailedDpi = 0;
}

const CNBitmap& CNBitmap::ForScale(const CNScale& scale) const
{
    if (!IsLoaded() || scale == m_Density || scale.Dpi() == m_FailedDpi)
        return *this;
    if (m_Scaled && m_Scaled->Density() == scale)
        return *m_Scaled;
    auto copy = std::make_unique<CNBitmap>();
    if (FAILED(MakeScaledCopy(scale, *copy))) {
        NLOG(kScaleName, CNLog::kLevelCreateFailed, "no copy of picture %u for %d dpi", m_ResourceId, scale.Dpi());
        m_FailedDpi = scale.Dpi();
        return *this;
    }
    m_Scaled = std::move(copy);
    return *m_Scaled;
}

void CNBitmap::Release()
{
    m_Scaled.reset();
    m_FailedDpi = 0;
    m_Module = nullptr;
    m_ResourceId = 0;
    m_Density = CNScale();
    m_LayoutWidth = 0;
    m_LayoutHeight = 0;
    m_Image.reset();
    if (m_Bitmap)
        DeleteObject(m_Bitmap);
    m_Bitmap = nullptr;
    m_Info = BITMAP{};
    m_Header = BITMAPINFOHEADER{};
    m_Bits = nullptr;
    m_Loaded = 0;
}

HRESULT CNBitmap::ImportImage(std::unique_ptr<Gdiplus::Bitmap> image)
{
    const Gdiplus::PixelFormat format = image->GetPixelFormat();
    if (format != PixelFormat24bppRGB && format != PixelFormat32bppARGB) {
        NLOG(kLoadName, CNLog::kLevelCreateFailed, "unsupported pixel format 0x%x", static_cast<unsigned>(format));
        return E_FAIL;
    }
    const int width = static_cast<int>(image->GetWidth());
    const int height = static_cast<int>(image->GetHeight());
    if (FAILED(MakeDib(width, height, BitsOfFormat(format), true, kLoadName)))
        return E_FAIL;
    Gdiplus::BitmapData data = {};
    Gdiplus::Rect all(0, 0, width, height);
    if (image->LockBits(&all, Gdiplus::ImageLockModeRead, format, &data) != Gdiplus::Ok) {
        Release();
        ReportRefusal(kLoadName, "cannot read image pixels");
        return E_FAIL;
    }
    const bool sameLayout = data.Stride == m_Info.bmWidthBytes;
    if (sameLayout)
        std::memcpy(m_Bits, data.Scan0, static_cast<size_t>(m_Info.bmWidthBytes) * static_cast<size_t>(height));
    image->UnlockBits(&data);
    if (!sameLayout) {
        Release();
        ReportRefusal(kLoadName, "image row size differs from the bitmap's");
        return E_FAIL;
    }
    m_Image = std::move(image);
    m_Loaded = 1;
    return S_OK;
}

HRESULT CNBitmap::ExportImage()
{
    Gdiplus::PixelFormat format = 0;
    switch (m_Info.bmBitsPixel) {
    case 8:
        format = PixelFormat8bppIndexed;
        break;
    case 24:
        format = PixelFormat24bppRGB;
        break;
    case 32:
        format = PixelFormat32bppARGB;
        break;
    default:
        return E_FAIL;
    }
    const int width = m_Info.bmWidth;
    const int height = m_Info.bmHeight;
    auto image = std::make_unique<Gdiplus::Bitmap>(width, height, format);
    if (image->GetLastStatus() != Gdiplus::Ok)
        return E_FAIL;
    Gdiplus::BitmapData data = {};
    Gdiplus::Rect all(0, 0, width, height);
    if (image->LockBits(&all, Gdiplus::ImageLockModeWrite, format, &data) != Gdiplus::Ok)
        return E_FAIL;
    const bool sameLayout = data.Stride == m_Info.bmWidthBytes;
    if (sameLayout) {
        GdiFlush();
        std::memcpy(data.Scan0, m_Bits, static_cast<size_t>(m_Info.bmWidthBytes) * static_cast<size_t>(height));
    }
    image->UnlockBits(&data);
    if (!sameLayout)
        return E_FAIL;
    // The DIB's rows are bottom-up, GDI+'s top-down.
    if (image->RotateFlip(Gdiplus::RotateNoneFlipY) != Gdiplus::Ok)
        return E_FAIL;
    m_Image = std::move(image);
    return S_OK;
}

HRESULT CNBitmap::MakeDib(int width, int height, int bitsPerPixel, bool topDown, const char* logName)
{
    if (!SizeIsAcceptable(width, height)) {
        NLOG(logName, CNLog::kLevelRefused, "bad bitmap size %d x %d", width, height);
        return E_FAIL;
    }
    DibInfo info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = topDown ? -height : height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    if (bitsPerPixel <= 8)
        FillGreyPalette(info.colours);
    void* bits = nullptr;
    CNGdiObject<HBITMAP> dib(
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    BITMAP description = {};
    if (!dib || !bits || GetObjectW(dib.Get(), sizeof(description), &description) != sizeof(description)) {
        NLOG(logName, CNLog::kLevelCreateFailed, "CreateDIBSection fail %d x %d x %d", width, height, bitsPerPixel);
        return E_FAIL;
    }
    if (m_Bitmap)
        DeleteObject(m_Bitmap);
    m_Bitmap = dib.Detach();
    m_Bits = bits;
    m_Info = description;
    m_Header = info.header;
    m_LayoutWidth = width;
    m_LayoutHeight = height;
    return S_OK;
}

HRESULT CNBitmap::CopyIntoDib(HBITMAP source)
{
    CNMemoryDC from;
    CNMemoryDC to;
    if (!from.SelectBitmap(source) || !to.SelectBitmap(m_Bitmap))
        return E_FAIL;
    if (m_Info.bmBitsPixel <= 8) {
        RGBQUAD colours[kPaletteEntries] = {};
        UINT count = GetDIBColorTable(from.Get(), 0, kPaletteEntries, colours);
        if (count > 0)
            SetDIBColorTable(to.Get(), 0, count, colours);
    }
    BOOL copied = BitBlt(to.Get(), 0, 0, m_Info.bmWidth, m_Info.bmHeight, from.Get(), 0, 0, SRCCOPY);
    GdiFlush();
    return copied ? 0 : E_FAIL;
}

HRESULT CNBitmap::DrawIntoDib(Gdiplus::Image& image)
{
    CNMemoryDC dc;
    if (!dc.SelectBitmap(m_Bitmap))
        return E_FAIL;
    Gdiplus::Graphics graphics(dc.Get());
    if (graphics.Clear(Gdiplus::Color(0, 0, 0, 0)) != Gdiplus::Ok)
        return E_FAIL;
    Gdiplus::Status drawn = graphics.DrawImage(&image, 0, 0, m_Info.bmWidth, m_Info.bmHeight);
    GdiFlush();
    return drawn == Gdiplus::Ok ? 0 : E_FAIL;
}

HRESULT CNBitmap::MakeScaledCopy(const CNScale& scale, CNBitmap& copy) const
{
    const CNBitmap* source = this;
    if (m_ResourceId != 0 && m_Density.IsIdentity()) {
        CNScale drawnAt;
        const UINT drawing = DrawnResourceFor(scale, drawnAt);
        if (drawing != m_ResourceId) {
            if (FAILED(copy.LoadResource(m_Module, drawing)))
                return E_FAIL;
            source = &copy;
        }
    }
    const int width = scale.ToPixels(m_LayoutWidth);
    const int height = scale.ToPixels(m_LayoutHeight);
    if (source == this || source->Width() != width || source->Height() != height) {
        const std::vector<std::uint32_t> pixels =
            CNPictureScaler::Resample(source->ReadPixels(), source->Width(), source->Height(), width, height);
        if (FAILED(copy.LoadPixels(width, height, pixels)))
            return E_FAIL;
    }
    // Only this picture knows its resource: the copy is not scaled again.
    copy.m_Module = nullptr;
    copy.m_ResourceId = 0;
    copy.SetDensity(scale, m_LayoutWidth, m_LayoutHeight);
    return S_OK;
}

UINT CNBitmap::DrawnResourceFor(const CNScale& scale, CNScale& density) const
{
    UINT chosen = m_ResourceId;
    density = CNScale();
    for (std::size_t i = 0; i < sizeof kDrawnDpis / sizeof kDrawnDpis[0]; ++i) {
        const UINT id = m_ResourceId + static_cast<UINT>(i) * kDensityIdStep;
        if (FindResourceW(m_Module, MAKEINTRESOURCEW(id), L"PNG") == nullptr)
            continue;
        chosen = id;
        density = CNScale(kDrawnDpis[i]);
        if (kDrawnDpis[i] >= scale.Dpi())
            break;
    }
    return chosen;
}

std::vector<std::uint32_t> CNBitmap::ReadPixels() const
{
    std::vector<std::uint32_t> pixels;
    if (!m_Image)
        return pixels;
    const int width = static_cast<int>(m_Image->GetWidth());
    const int height = static_cast<int>(m_Image->GetHeight());
    Gdiplus::BitmapData data = {};
    Gdiplus::Rect all(0, 0, width, height);
    if (m_Image->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return pixels;
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                    static_cast<const BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    m_Image->UnlockBits(&data);
    return pixels;
}

HRESULT CNBitmap::LoadPixels(int width, int height, const std::vector<std::uint32_t>& pixels)
{
    Release();
    if (!SizeIsAcceptable(width, height) ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return E_FAIL;
    auto image = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::BitmapData data = {};
    Gdiplus::Rect all(0, 0, width, height);
    if (image->GetLastStatus() != Gdiplus::Ok ||
        image->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return E_FAIL;
    for (int y = 0; y < height; ++y)
        std::memcpy(static_cast<BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                    pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    image->UnlockBits(&data);
    return ImportImage(std::move(image));
}

} // namespace pelidore
