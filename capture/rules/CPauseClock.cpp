#include "CPauseClock.h"

namespace pelidore {

CPauseClock::CPauseClock(std::uint32_t startTick) : m_StartTick(startTick), m_ChangeTick(startTick) {}

bool CPauseClock::Pause(std::uint32_t tick)
{
    if (m_Paused)
        return false;
    m_RecordedMs += Since(m_ChangeTick, tick);
    m_ChangeTick += Since(m_ChangeTick, tick);
    m_Paused = true;
    return true;
}

bool CPauseClock::Resume(std::uint32_t tick)
{
    if (!m_Paused)
        return false;
    m_PausedMs += Since(m_ChangeTick, tick);
    m_ChangeTick += Since(m_ChangeTick, tick);
    m_Paused = false;
    return true;
}

std::uint32_t CPauseClock::RecordingTick(std::uint32_t tick) const
{
    // Modulo 2^32 on purpose: the result wraps as the tick count does.
    return m_StartTick + static_cast<std::uint32_t>(ElapsedMs(tick));
}

std::uint64_t CPauseClock::ElapsedMs(std::uint32_t tick) const
{
    return m_RecordedMs + (m_Paused ? 0 : Since(m_ChangeTick, tick));
}

std::uint64_t CPauseClock::PausedMs(std::uint32_t tick) const
{
    return m_PausedMs + (m_Paused ? Since(m_ChangeTick, tick) : 0);
}

std::uint32_t CPauseClock::Since(std::uint32_t from, std::uint32_t tick)
{
    const std::uint32_t spent = tick - from;
    return spent < 0x80000000u ? spent : 0;
}

} // namespace pelidore
