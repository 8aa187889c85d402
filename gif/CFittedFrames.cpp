#include "CFittedFrames.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace pelidore {

bool CFittedFrames::Keeps(double keepRatio, int index)
{
    if (index <= 0 || keepRatio >= 1.0)
        return true;
    // The tiny bias keeps ratios such as 0.5 from losing a frame to rounding.
    const double bias = 1e-9;
    return std::floor(index * keepRatio + bias) != std::floor((index - 1) * keepRatio + bias);
}

CFittedFrames::CFittedFrames(int width, int height, const FitStep& step, Output output)
    : m_Step(step), m_Scaler(width, height, step.scalePercent), m_Output(std::move(output)),
      m_Held(static_cast<std::size_t>(m_Scaler.OutWidth()) * static_cast<std::size_t>(m_Scaler.OutHeight()) * 3)
{
}

void CFittedFrames::Push(const std::uint8_t* bgr, float delaySeconds)
{
    const bool kept = Keeps(m_Step.keepRatio, m_Index++);
    if (!kept) {
        m_HeldDelay += delaySeconds;
        return;
    }
    Finish();
    const std::uint8_t* scaled = m_Step.scalePercent >= 100 ? bgr : m_Scaler.Scale(bgr);
    std::memcpy(m_Held.data(), scaled, m_Held.size());
    m_HeldDelay = delaySeconds;
    m_Holding = true;
}

void CFittedFrames::Finish()
{
    if (!m_Holding)
        return;
    m_Holding = false;
    ++m_Kept;
    m_Output(m_Held.data(), m_HeldDelay);
}

} // namespace pelidore
