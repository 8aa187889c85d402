#include "CSnapshot.h"

#include "CCaptureGeometry.h"
#include "CNBitmap.h"
#include "NWindows.h"

namespace pelidore {

bool CSnapshot::Take(const ScreenRect& frame, const std::filesystem::path& jpegPath)
{
    const PixelSize size = CCaptureGeometry::CaptureSize(frame);
    const PixelPoint origin = CCaptureGeometry::CaptureOrigin(frame);
    if (size.IsEmpty() || jpegPath.empty())
        return false;
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!display)
        return false;
    CNBitmap picture;
    const bool copied = picture.CreateFromDC(display, origin.x, origin.y, size.width, size.height) == 0;
    DeleteDC(display);
    return copied && picture.Save(jpegPath.c_str()) == 0;
}

} // namespace pelidore
