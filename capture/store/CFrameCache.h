// A few decoded frames of a store, by frame index, the least recently used
// given up first: what keeps moving about a long recording quick without
// ever holding all of it.
//
// Portable: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelidore {

class CFrameCache {
public:
    explicit CFrameCache(std::size_t capacity);

    // The frame's pixels, now the most recently used; null when not held.
    const std::uint8_t* Find(int index);
    // The highest index held in [from, before), or -1.
    int NearestBefore(int before, int from) const;
    // The buffer for frame `index`, in the place of the least recently used
    // frame (whose pixels it may still hold): the caller fills it, or calls
    // Forget when it cannot.
    std::vector<std::uint8_t>& Store(int index);
    void Forget(int index);
    // Gives every frame and its memory up.
    void Clear();

private:
    struct Slot {
        int index = -1;
        std::uint64_t used = 0;
        std::vector<std::uint8_t> pixels;
    };

    Slot* SlotOf(int index);

    std::vector<Slot> m_Slots;
    std::uint64_t m_Clock = 0;
};

} // namespace pelidore
