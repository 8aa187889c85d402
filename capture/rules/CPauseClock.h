#pragma once
// The time of a recording with its pauses left out, on the 32-bit millisecond
// tick count. Frame delays stamped with RecordingTick in place of the raw tick
// leave each pause out exactly: the first frame after resuming is given the
// delay it would have had without the pause. The elapsed-time read-out and
// the time lock add up those delays, so they leave the pauses out as well.
// Not synchronised: one thread (the capture thread) owns it.
#include <cstdint>

namespace pelidore {

class CPauseClock {
public:
    // Running from `startTick`, the tick the recording's first delay is
    // measured from.
    explicit CPauseClock(std::uint32_t startTick = 0);

    // Each returns false, changing nothing, when the clock is already in the
    // state asked for.
    bool Pause(std::uint32_t tick);
    bool Resume(std::uint32_t tick);
    bool IsPaused() const { return m_Paused; }

    // The tick count as it would read had the recording never been paused:
    // it stands still while paused and wraps as the tick count does, so two
    // of them go into CFrameTiming::DelaySeconds as two ticks do.
    std::uint32_t RecordingTick(std::uint32_t tick) const;

    // Milliseconds recorded since the start, pauses left out.
    std::uint64_t ElapsedMs(std::uint32_t tick) const;
    // Milliseconds spent paused since the start, the current pause included.
    std::uint64_t PausedMs(std::uint32_t tick) const;

private:
    // Milliseconds from `from` to `tick` across a wrap of the tick count; a
    // tick from before `from` (stamped on the way to a pause or resume that
    // came first) counts as `from` itself.
    static std::uint32_t Since(std::uint32_t from, std::uint32_t tick);

    std::uint32_t m_StartTick;
    std::uint32_t m_ChangeTick; // of the start or the last pause or resume
    std::uint64_t m_RecordedMs = 0;
    std::uint64_t m_PausedMs = 0;
    bool m_Paused = false;
};

} // namespace pelidore
