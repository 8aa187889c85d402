#include "CFrameCache.h"

#include <algorithm>

namespace pelidore {

CFrameCache::CFrameCache(std::size_t capacity) : m_Slots(std::max<std::size_t>(capacity, 1)) {}

CFrameCache::Slot* CFrameCache::SlotOf(int index)
{
    for (Slot& slot : m_Slots)
        if (slot.index == index && index >= 0)
            return &slot;
    return nullptr;
}

const std::uint8_t* CFrameCache::Find(int index)
{
    Slot* slot = SlotOf(index);
    if (!slot)
        return nullptr;
    slot->used = ++m_Clock;
    return slot->pixels.data();
}

int CFrameCache::NearestBefore(int before, int from) const
{
    int nearest = -1;
    for (const Slot& slot : m_Slots)
        if (slot.index >= from && slot.index < before)
            nearest = std::max(nearest, slot.index);
    return nearest;
}

std::vector<std::uint8_t>& CFrameCache::Store(int index)
{
    Slot* slot = SlotOf(index);
    if (!slot)
        slot = &*std::min_element(m_Slots.begin(), m_Slots.end(),
                                  [](const Slot& a, const Slot& b) { return a.used < b.used; });
    slot->index = index;
    slot->used = ++m_Clock;
    return slot->pixels;
}

void CFrameCache::Forget(int index)
{
    if (Slot* slot = SlotOf(index)) {
        slot->index = -1; // the buffer stays for the next Store
        slot->used = 0;
    }
}

void CFrameCache::Clear()
{
    for (Slot& slot : m_Slots)
        slot = Slot{};
    m_Clock = 0;
}

} // namespace pelidore
