#pragma once
// Pacing and delay stamps of the capture loop, on the 32-bit millisecond
// tick count (which wraps after 49.7 days; differences stay right across it).
#include <cstdint>

namespace pelidore {

class CFrameTiming {
public:
    static constexpr int kMinFramesPerSecond = 1;
    static constexpr int kMaxFramesPerSecond = 30;

    static std::uint32_t FrameIntervalMs(int framesPerSecond);

    // Playback seconds for a frame shown for the wall-clock spacing between
    // two ticks, at the given playback speed (100 = real time, 200 = twice as
    // fast). Single precision, as the frame store and exporter carry it.
    static float DelaySeconds(std::uint32_t previousTick, std::uint32_t currentTick, int speedPercent);

    // How long to sleep after a pass that began at passStart so the next
    // pass begins one interval later; 0 when the pass overran.
    static std::uint32_t SleepAfterPass(std::uint32_t passStart, std::uint32_t now, std::uint32_t intervalMs);
};

} // namespace pelidore
