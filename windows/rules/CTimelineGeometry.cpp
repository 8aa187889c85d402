#include "CTimelineGeometry.h"

#include <algorithm>
#include <cstdint>

namespace pelidore {

CTimelineGeometry::CTimelineGeometry(int left, int width, int frames)
    : m_Left(left), m_Width(std::max(width, 1)), m_Frames(std::max(frames, 0))
{
}

int CTimelineGeometry::Edge(int boundary) const
{
    if (m_Frames == 0)
        return m_Left;
    const std::int64_t clamped = std::clamp(boundary, 0, m_Frames);
    return m_Left + static_cast<int>(clamped * m_Width / m_Frames);
}

int CTimelineGeometry::FrameAt(int x) const
{
    if (m_Frames == 0)
        return -1;
    const std::int64_t offset = std::clamp(x - m_Left, 0, m_Width - 1);
    // The frame whose span holds x: the last one whose left edge is at or before it.
    int frame = static_cast<int>(offset * m_Frames / m_Width);
    while (frame + 1 < m_Frames && Edge(frame + 1) <= x)
        ++frame;
    while (frame > 0 && Edge(frame) > x)
        --frame;
    return frame;
}

int CTimelineGeometry::BoundaryNear(int x) const
{
    if (m_Frames == 0)
        return 0;
    const std::int64_t offset = std::clamp(x - m_Left, 0, m_Width);
    return static_cast<int>((offset * m_Frames * 2 + m_Width) / (2 * static_cast<std::int64_t>(m_Width)));
}

CTimelineGeometry::Part CTimelineGeometry::PartAt(int x, int first, int last) const
{
    if (m_Frames == 0)
        return kNothing;
    const int start = Edge(first);
    const int end = Edge(last + 1);
    const bool onStart = x >= start - kOuterGrip && x <= start + kInnerGrip;
    const bool onEnd = x >= end - kInnerGrip && x <= end + kOuterGrip;
    if (onStart && onEnd)
        return x - start < end - x ? kStartMark : kEndMark;
    if (onStart)
        return kStartMark;
    if (onEnd)
        return kEndMark;
    return x >= m_Left && x < m_Left + m_Width ? kFrames : kNothing;
}

} // namespace pelidore
