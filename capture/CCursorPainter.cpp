#include "CCursorPainter.h"

#include "CCaptureGeometry.h"

namespace pelidore {

CCursorPainter::Result CCursorPainter::Draw(HDC target, const ScreenRect& frame, PixelSize output, int scalePercent)
{
    POINT screenPoint;
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetCursorPos(&screenPoint) || !GetCursorInfo(&info))
        return Result::Failed;
    if ((info.flags & CURSOR_SHOWING) == 0 || !info.hCursor)
        return Result::Hidden;
    const PixelPoint at = CCaptureGeometry::CursorInFrame({screenPoint.x, screenPoint.y}, frame, output, scalePercent);

    CursorShape shape;
    if (Describe(info.hCursor, shape) && DrawShape(target, info.hCursor, shape, at, scalePercent))
        return Result::Drawn;
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    if (arrow && Describe(arrow, shape) && DrawShape(target, arrow, shape, at, scalePercent))
        return Result::DrawnAsArrow;
    return Result::Failed;
}

bool CCursorPainter::Describe(HCURSOR cursor, CursorShape& shape)
{
    ICONINFO icon = {};
    if (!GetIconInfo(cursor, &icon))
        return false;
    BITMAP bitmap = {};
    HBITMAP measured = icon.hbmColor ? icon.hbmColor : icon.hbmMask;
    const bool measuredOk = measured && GetObjectW(measured, sizeof bitmap, &bitmap) == sizeof bitmap;
    shape.hotSpot = {static_cast<int>(icon.xHotspot), static_cast<int>(icon.yHotspot)};
    shape.bitmapSize = {bitmap.bmWidth, bitmap.bmHeight};
    shape.hasColour = icon.hbmColor != nullptr;
    if (icon.hbmColor)
        DeleteObject(icon.hbmColor);
    if (icon.hbmMask)
        DeleteObject(icon.hbmMask);
    return measuredOk;
}

bool CCursorPainter::DrawShape(HDC target, HCURSOR cursor, const CursorShape& shape, PixelPoint at, int scalePercent)
{
    const PixelSize size = CCaptureGeometry::CursorSize(shape.bitmapSize, shape.hasColour, scalePercent);
    if (size.IsEmpty())
        return false;
    return DrawIconEx(target, at.x - shape.hotSpot.x, at.y - shape.hotSpot.y, cursor, size.width, size.height, 0,
                      nullptr, DI_NORMAL) != FALSE;
}

} // namespace pelidore
