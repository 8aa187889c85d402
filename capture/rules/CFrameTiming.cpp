#include "CFrameTiming.h"

#include <algorithm>

namespace pelidore {

std::uint32_t CFrameTiming::FrameIntervalMs(int framesPerSecond)
{
    return 1000u / static_cast<std::uint32_t>(std::clamp(framesPerSecond, kMinFramesPerSecond, kMaxFramesPerSecond));
}

float CFrameTiming::DelaySeconds(std::uint32_t previousTick, std::uint32_t currentTick, int speedPercent)
{
    // A speed of 0 or less would divide by zero or run time backwards;
    // such a value can only come from a damaged settings file.
    const int speed = speedPercent > 0 ? speedPercent : 100;
    const std::uint32_t elapsedMs = currentTick - previousTick;
    return static_cast<float>(elapsedMs) / 1000.0f / static_cast<float>(speed) * 100.0f;
}

std::uint32_t CFrameTiming::SleepAfterPass(std::uint32_t passStart, std::uint32_t now, std::uint32_t intervalMs)
{
    const std::uint32_t spent = now - passStart;
    return spent < intervalMs ? intervalMs - spent : 0;
}

} // namespace pelidore
