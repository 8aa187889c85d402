#include "CNScale.h"

namespace pelidore {

namespace {

// Division rounding towards minus infinity: positions left of or above a
// window's origin (a drag beyond its edge) keep the rounding of the others.
long long FloorDivide(long long value, long long divisor)
{
    const long long quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

} // namespace

CNScale::CNScale(int dpi) : m_Dpi(dpi > 0 ? dpi : kLayoutDpi) {}

int CNScale::ToPixels(int layout) const
{
    // floor(layout * dpi / 96 + 1/2), in whole numbers.
    return static_cast<int>(FloorDivide(2LL * layout * m_Dpi + kLayoutDpi, 2LL * kLayoutDpi));
}

ScreenRect CNScale::ToPixels(const ScreenRect& layout) const
{
    return {ToPixels(layout.left), ToPixels(layout.top), ToPixels(layout.right), ToPixels(layout.bottom)};
}

int CNScale::ToLayout(int pixel) const
{
    // The largest unit u with ToPixels(u) <= pixel: u < (2 * pixel + 1) * 48 / dpi.
    const long long bound = (2LL * pixel + 1) * (kLayoutDpi / 2);
    return static_cast<int>(-FloorDivide(-bound, m_Dpi)) - 1;
}

} // namespace pelidore
