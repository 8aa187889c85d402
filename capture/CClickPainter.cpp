#include "CClickPainter.h"

#include "CCaptureGeometry.h"

namespace pelidore {

namespace {

const Gdiplus::Color kLeftColour(255, 255, 184, 28);
const Gdiplus::Color kRightColour(255, 64, 156, 255);

} // namespace

bool CClickPainter::Draw(HDC target, const ScreenRect& frame, PixelSize output, int scalePercent, ShownButtons buttons)
{
    if (!buttons.Any())
        return true;
    POINT screenPoint;
    if (!GetCursorPos(&screenPoint))
        return false;
    const PixelPoint at = CCaptureGeometry::CursorInFrame({screenPoint.x, screenPoint.y}, frame, output, scalePercent);
    const float scale = static_cast<float>(scalePercent) / 100.0f;
    const float radius = kRadius * scale;
    const float width = kPenWidth * scale < 1.0f ? 1.0f : kPenWidth * scale;

    Gdiplus::Graphics graphics(target);
    if (graphics.GetLastStatus() != Gdiplus::Ok)
        return false;
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    bool drawn = true;
    if (buttons.left)
        drawn = DrawRing(graphics, at, radius, width, kLeftColour) && drawn;
    // With both buttons down the right ring goes just outside the left one.
    if (buttons.right)
        drawn = DrawRing(graphics, at, buttons.left ? radius + width : radius, width, kRightColour) && drawn;
    return drawn;
}

bool CClickPainter::DrawRing(Gdiplus::Graphics& graphics, PixelPoint centre, float radius, float width,
                             Gdiplus::Color colour)
{
    Gdiplus::Pen pen(colour, width);
    if (pen.GetLastStatus() != Gdiplus::Ok)
        return false;
    const float x = static_cast<float>(centre.x) - radius;
    const float y = static_cast<float>(centre.y) - radius;
    return graphics.DrawEllipse(&pen, x, y, 2.0f * radius, 2.0f * radius) == Gdiplus::Ok;
}

} // namespace pelidore
