// Whether the octree's colour -> leaf cache is worth asking. Over UI
// content most runs repeat a colour seen shortly before and the cache spares
// them the walk down the tree; over photo-like content almost every colour is
// new, and asking only adds a miss before the walk. Decided per window of 64
// runs from the hits of the last open window; once closed, the gate opens
// again for one window in eight to look again. Only speed depends on it.
// Portable.
#pragma once

namespace pelidore {

class LookupGate {
public:
    void Reset()
    {
        m_Open = true;
        m_Runs = 0;
        m_Hits = 0;
        m_ClosedWindows = 0;
    }

    // Once per run: whether to ask the cache (and keep its answer) for it.
    bool Open()
    {
        if (++m_Runs == kWindow) {
            if (m_Open) {
                m_Open = m_Hits >= kWindow / 4;
                m_ClosedWindows = 0;
            } else {
                m_Open = ++m_ClosedWindows == kClosedWindows;
            }
            m_Runs = 0;
            m_Hits = 0;
        }
        return m_Open;
    }

    void CountHit() { ++m_Hits; }

private:
    static constexpr unsigned kWindow = 64;
    static constexpr unsigned kClosedWindows = 7;

    bool m_Open = true;
    unsigned m_Runs = 0;
    unsigned m_Hits = 0;
    unsigned m_ClosedWindows = 0;
};

} // namespace pelidore
