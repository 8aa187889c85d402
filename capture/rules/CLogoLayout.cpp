#include "CLogoLayout.h"

namespace pelidore {

LogoTextBox CLogoLayout::TextBox(int corner, int marginX, int marginY, int fontSize, int frameWidth, int frameHeight)
{
    const int height = fontSize + 2;
    const int width = frameWidth - marginX;
    const int bottomY = frameHeight - marginY - height;
    switch (corner) {
    case kTopLeft:
        return {marginX, marginY, width, height, LogoAlignment::Near, LogoAlignment::Near};
    case kTopRight:
        return {0, marginY, width, height, LogoAlignment::Far, LogoAlignment::Near};
    case kBottomRight:
        return {0, bottomY, width, height, LogoAlignment::Far, LogoAlignment::Far};
    case kBottomLeft:
        return {marginX, bottomY, width, height, LogoAlignment::Near, LogoAlignment::Far};
    default:
        // A corner outside 0..3 can only come from a damaged logo.dat; put
        // the text where an image logo with such a corner goes.
        return {kUnknownCornerOffset, kUnknownCornerOffset, frameWidth - kUnknownCornerOffset, height,
                LogoAlignment::Near,  LogoAlignment::Near};
    }
}

LogoSpot CLogoLayout::ImageSpot(int corner, int marginX, int marginY, int imageWidth, int imageHeight, int frameWidth,
                                int frameHeight)
{
    switch (corner) {
    case kTopLeft:
        return {marginX, marginY};
    case kTopRight:
        return {frameWidth - imageWidth - marginX, marginY};
    case kBottomRight:
        return {frameWidth - imageWidth - marginX, frameHeight - imageHeight - marginY};
    case kBottomLeft:
        return {marginX, frameHeight - imageHeight - marginY};
    default:
        return {kUnknownCornerOffset, kUnknownCornerOffset};
    }
}

} // namespace pelidore
