#include "CKeptFrames.h"

#include <algorithm>
#include <utility>

namespace pelidore {

CKeptFrames::CKeptFrames(std::vector<float> delays)
    : m_Delays(std::move(delays)), m_Times(m_Delays.size() + 1, 0.0), m_Last(FrameCount() - 1),
      m_Deleted(m_Delays.size(), false)
{
    for (std::size_t i = 0; i < m_Delays.size(); ++i)
        m_Times[i + 1] = m_Times[i] + static_cast<double>(m_Delays[i]);
}

float CKeptFrames::Delay(int frame) const
{
    return frame >= 0 && frame < FrameCount() ? m_Delays[static_cast<std::size_t>(frame)] : 0.0f;
}

double CKeptFrames::TimeAt(int frame) const
{
    return m_Times[static_cast<std::size_t>(std::clamp(frame, 0, FrameCount()))];
}

double CKeptFrames::RecordedSeconds() const
{
    return m_Times.back();
}

bool CKeptFrames::SetRange(int first, int last)
{
    if (first < 0 || first > last || last >= FrameCount() || !KeepsAny(first, last))
        return false;
    m_First = first;
    m_Last = last;
    return true;
}

bool CKeptFrames::SetFirst(int first)
{
    return SetRange(first, std::max(first, m_Last));
}

bool CKeptFrames::SetLast(int last)
{
    return SetRange(std::min(last, m_First), last);
}

bool CKeptFrames::Delete(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, FrameCount() - 1);
    if (first > last)
        return false;
    std::vector<bool> before = m_Deleted;
    for (int i = first; i <= last; ++i)
        m_Deleted[static_cast<std::size_t>(i)] = true;
    if (!KeepsAny(m_First, m_Last)) {
        m_Deleted = std::move(before);
        return false;
    }
    m_DeletedBefore = std::move(before);
    m_CanUndo = true;
    return true;
}

bool CKeptFrames::Undo()
{
    if (!m_CanUndo)
        return false;
    // Only the deletion comes back: marks moved since stay where the user put them.
    m_Deleted = std::move(m_DeletedBefore);
    m_CanUndo = false;
    return true;
}

bool CKeptFrames::KeepsAny(int first, int last) const
{
    for (int i = first; i <= last; ++i)
        if (!m_Deleted[static_cast<std::size_t>(i)])
            return true;
    return false;
}

bool CKeptFrames::IsDeleted(int frame) const
{
    return frame >= 0 && frame < FrameCount() && m_Deleted[static_cast<std::size_t>(frame)];
}

bool CKeptFrames::IsKept(int frame) const
{
    return frame >= m_First && frame <= m_Last && !m_Deleted[static_cast<std::size_t>(frame)];
}

int CKeptFrames::KeptCount() const
{
    int count = 0;
    for (int i = m_First; i <= m_Last; ++i)
        count += IsKept(i) ? 1 : 0;
    return count;
}

double CKeptFrames::KeptSeconds() const
{
    double seconds = 0.0;
    for (int i = m_First; i <= m_Last; ++i)
        if (IsKept(i))
            seconds += m_Delays[static_cast<std::size_t>(i)];
    return seconds;
}

std::vector<bool> CKeptFrames::KeptMask() const
{
    std::vector<bool> mask(m_Delays.size(), false);
    for (int i = m_First; i <= m_Last; ++i)
        mask[static_cast<std::size_t>(i)] = IsKept(i);
    return mask;
}

int CKeptFrames::NextKept(int frame) const
{
    if (frame >= m_Last)
        return FirstKept();
    for (int i = std::max(frame + 1, m_First); i <= m_Last; ++i)
        if (IsKept(i))
            return i;
    return FirstKept();
}

int CKeptFrames::FirstKept() const
{
    for (int i = m_First; i <= m_Last; ++i)
        if (IsKept(i))
            return i;
    return -1;
}

int CKeptFrames::LastKept() const
{
    for (int i = m_Last; i >= m_First; --i)
        if (IsKept(i))
            return i;
    return -1;
}

} // namespace pelidore
