// The smallest rectangle holding the pixels added to it. Portable.
#pragma once

#include "GifRect.h"

#include <algorithm>
#include <climits>

namespace pelidore {

class GifBounds {
public:
    void Add(int x, int y)
    {
        m_Left = std::min(m_Left, x);
        m_Right = std::max(m_Right, x);
        m_Top = std::min(m_Top, y);
        m_Bottom = std::max(m_Bottom, y);
    }

    // Empty when nothing was added.
    GifRect Rect() const
    {
        if (m_Right < m_Left) {
            return GifRect{};
        }
        return GifRect{m_Left, m_Top, m_Right - m_Left + 1, m_Bottom - m_Top + 1};
    }

private:
    int m_Left = INT_MAX;
    int m_Right = INT_MIN;
    int m_Top = INT_MAX;
    int m_Bottom = INT_MIN;
};

} // namespace pelidore
