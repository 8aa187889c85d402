#include "CSizeFitter.h"

#include <algorithm>
#include <cmath>

namespace pelidore {

CSizeFitter::CSizeFitter(std::uint64_t limitBytes, double recordedFps)
    : m_Limit(limitBytes), m_KeepFloor(recordedFps > kMinFps ? kMinFps / recordedFps : 1.0)
{
}

double CSizeFitter::MinBudget() const
{
    const double scale = kMinScalePercent / 100.0;
    return m_KeepFloor * scale * scale;
}

FitStep CSizeFitter::StepFor(double budget) const
{
    FitStep step;
    const double clamped = std::clamp(budget, MinBudget(), 1.0);
    if (clamped >= m_KeepFloor) {
        step.keepRatio = clamped;
        return step;
    }
    step.keepRatio = m_KeepFloor;
    const int percent = static_cast<int>(std::floor(std::sqrt(clamped / m_KeepFloor) * 100.0));
    step.scalePercent = std::clamp(percent, kMinScalePercent, 100);
    return step;
}

double CSizeFitter::BudgetOf(const FitStep& step)
{
    const double scale = step.scalePercent / 100.0;
    return step.keepRatio * scale * scale;
}

CSizeFitter::Verdict CSizeFitter::Record(std::uint64_t sizeBytes)
{
    ++m_Passes;
    const Trial trial{m_Budget, sizeBytes};
    if (sizeBytes <= m_Limit) {
        if (trial.budget > m_Fit.budget) {
            m_Fit = trial;
            m_BestStep = m_Current;
        }
        if (m_Passes == 1 || sizeBytes >= static_cast<std::uint64_t>(kBandLow * static_cast<double>(m_Limit)))
            return Verdict::Done;
    } else if (m_TooBig.budget == 0.0 || trial.budget < m_TooBig.budget) {
        m_Earlier = m_TooBig;
        m_TooBig = trial;
    }
    if (!HasFit() && m_TooBig.budget <= MinBudget() * 1.0001)
        return Verdict::CannotFit;
    if (m_Passes >= kMaxPasses)
        return HasFit() ? Verdict::Done : Verdict::CannotFit;
    const FitStep next = StepFor(NextBudget());
    const double nextBudget = BudgetOf(next);
    // A step already tried, or one that cannot lie between them, ends the search.
    if (nextBudget >= m_TooBig.budget || (HasFit() && nextBudget <= m_Fit.budget))
        return HasFit() ? Verdict::Done : Verdict::CannotFit;
    m_Current = next;
    m_Budget = nextBudget;
    return Verdict::TryAgain;
}

// Sizes are taken to follow budget^slope: between a fit and a miss the
// slope comes from the two; from misses alone, from the last two, or 1
// (size in proportion to the pixels written) after the first.
double CSizeFitter::NextBudget() const
{
    const double aim = kAim * static_cast<double>(m_Limit);
    const double logAim = std::log(aim);
    if (HasFit()) {
        const double t = (logAim - std::log(static_cast<double>(m_Fit.size))) /
                         (std::log(static_cast<double>(m_TooBig.size)) - std::log(static_cast<double>(m_Fit.size)));
        return std::exp(std::log(m_Fit.budget) + t * (std::log(m_TooBig.budget) - std::log(m_Fit.budget)));
    }
    double slope = 1.0;
    if (m_Earlier.budget > 0.0 && m_Earlier.size > m_TooBig.size) {
        slope = std::log(static_cast<double>(m_Earlier.size) / static_cast<double>(m_TooBig.size)) /
                std::log(m_Earlier.budget / m_TooBig.budget);
        slope = std::clamp(slope, 0.3, 2.0);
    }
    return m_TooBig.budget * std::pow(aim / static_cast<double>(m_TooBig.size), 1.0 / slope);
}

} // namespace pelidore
