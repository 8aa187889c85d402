#include "CCaptureGeometry.h"

#include <algorithm>

namespace pelidore {

PixelSize CCaptureGeometry::CaptureSize(int frameWidth, int frameHeight)
{
    const int width = RoundDownToFour(frameWidth - 2 * kBorder);
    const int height = frameHeight - 2 * kBorder;
    return {std::max(width, 0), std::max(height, 0)};
}

PixelSize CCaptureGeometry::CaptureSize(const ScreenRect& frame)
{
    return CaptureSize(frame.Width(), frame.Height());
}

PixelPoint CCaptureGeometry::CaptureOrigin(const ScreenRect& frame)
{
    return {frame.left + kBorder, frame.top + kBorder};
}

PixelSize CCaptureGeometry::OutputSize(PixelSize capture, int scalePercent)
{
    if (!IsScaled(scalePercent))
        return capture;
    const int scale = ClampScale(scalePercent);
    const int width = static_cast<int>(static_cast<float>(capture.width) / 100.0f * static_cast<float>(scale));
    const int height = static_cast<int>(static_cast<float>(capture.height) / 100.0f * static_cast<float>(scale));
    return {RoundDownToFour(width), height};
}

bool CCaptureGeometry::IsScaled(int scalePercent)
{
    return ClampScale(scalePercent) != kFullScalePercent;
}

PixelPoint CCaptureGeometry::CursorInFrame(PixelPoint cursor, const ScreenRect& frame, PixelSize output,
                                           int scalePercent)
{
    // The cursor is measured from one pixel outside the capture origin; the
    // offset is part of how recordings have always placed it.
    int x = cursor.x - frame.left - (kBorder - 1);
    int y = cursor.y - frame.top - (kBorder - 1);
    if (!IsScaled(scalePercent))
        return {x, y};
    const int unroundedWidth = frame.Width() - 2 * kBorder;
    const int unroundedHeight = frame.Height() - 2 * kBorder;
    if (unroundedWidth > 0)
        x = static_cast<int>(static_cast<long long>(x) * output.width / unroundedWidth);
    if (unroundedHeight > 0)
        y = static_cast<int>(static_cast<long long>(output.height) * y / unroundedHeight);
    return {x, y};
}

PixelSize CCaptureGeometry::CursorSize(PixelSize bitmap, bool hasColourBitmap, int scalePercent)
{
    PixelSize size = bitmap;
    if (!hasColourBitmap)
        size.height /= 2;
    if (IsScaled(scalePercent)) {
        const int scale = ClampScale(scalePercent);
        size.width = static_cast<int>(static_cast<float>(size.width) / 100.0f * static_cast<float>(scale));
        size.height = static_cast<int>(static_cast<float>(size.height) / 100.0f * static_cast<float>(scale));
    }
    return size;
}

int CCaptureGeometry::ClampScale(int scalePercent)
{
    return std::clamp(scalePercent, kMinScalePercent, kFullScalePercent);
}

int CCaptureGeometry::RoundDownToFour(int value)
{
    return value / 4 * 4;
}

} // namespace pelidore
