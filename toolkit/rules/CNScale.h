#pragma once

#include "ScreenRect.h"

namespace pelidore {

// How a window's layout units (the pixels of the 100 % design) map onto the
// pixels of the monitor it is on: dots per inch / 96. Layout coordinates
// become pixels edge by edge, each rounded half up, so rectangles that meet
// in the layout still meet on the screen; a length is the edge it reaches
// from 0. At 96 every conversion is the identity.
class CNScale {
public:
    static constexpr int kLayoutDpi = 96;

    CNScale() = default;
    // Anything below 1 dot per inch counts as the layout's own 96.
    explicit CNScale(int dpi);

    int Dpi() const { return m_Dpi; }
    bool IsIdentity() const { return m_Dpi == kLayoutDpi; }
    float Factor() const { return static_cast<float>(m_Dpi) / kLayoutDpi; }

    // A layout edge (or a length from 0) in pixels.
    int ToPixels(int layout) const;
    float ToPixels(float layout) const { return layout * Factor(); }
    // A layout rectangle in pixels, edge by edge.
    ScreenRect ToPixels(const ScreenRect& layout) const;
    // The layout unit a pixel lies in: the last unit whose edge is at or
    // before it, so ToLayout(ToPixels(x)) == x.
    int ToLayout(int pixel) const;
    float ToLayout(float pixel) const { return pixel / Factor(); }

    bool operator==(const CNScale& other) const { return m_Dpi == other.m_Dpi; }
    bool operator!=(const CNScale& other) const { return m_Dpi != other.m_Dpi; }

private:
    int m_Dpi = kLayoutDpi;
};

} // namespace pelidore
