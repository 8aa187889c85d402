// Finds the mildest FitStep that brings a GIF under a size limit, from the
// sizes trial passes gave. Milder first: frames are dropped down to a floor
// of frames per second before the picture is scaled down. A fit below the
// lower end of the band (80 % of the limit) is refined between the steps
// that fitted and did not, so the GIF is not needlessly small. Portable.
#pragma once

#include "FitStep.h"

#include <cstdint>

namespace pelidore {

class CSizeFitter {
public:
    static constexpr double kAim = 0.9;     // of the limit
    static constexpr double kBandLow = 0.8; // a fit this large is good enough
    static constexpr double kMinFps = 5.0;  // fewer reads as a slide show
    static constexpr int kMinScalePercent = 20;
    static constexpr int kMaxPasses = 6;

    enum class Verdict { Done, TryAgain, CannotFit };

    // recordedFps: frames a second of the recording; 0 or less when unknown
    // (then no frame is dropped).
    CSizeFitter(std::uint64_t limitBytes, double recordedFps);

    // The step the next pass is to take.
    const FitStep& Current() const { return m_Current; }
    // The pass at Current() gave sizeBytes. Done: BestFit() is the answer;
    // TryAgain: Current() has moved on; CannotFit: even the smallest step
    // (or every pass allowed) is too large.
    Verdict Record(std::uint64_t sizeBytes);

    bool HasFit() const { return m_Fit.budget > 0.0; }
    const FitStep& BestFit() const { return m_BestStep; }
    int Passes() const { return m_Passes; }

    // The step for a budget: the share of the full recording's pixels over
    // time (kept frames x scaled area), 0 < budget <= 1.
    FitStep StepFor(double budget) const;
    double MinBudget() const;

private:
    struct Trial {
        double budget = 0.0; // 0: none yet
        std::uint64_t size = 0;
    };

    double NextBudget() const;
    static double BudgetOf(const FitStep& step);

    std::uint64_t m_Limit;
    double m_KeepFloor;
    FitStep m_Current;
    double m_Budget = 1.0;
    Trial m_Fit;     // the largest budget that fitted
    Trial m_TooBig;  // the smallest budget that did not
    Trial m_Earlier; // the too-big trial before m_TooBig, for the slope
    FitStep m_BestStep;
    int m_Passes = 0;
};

} // namespace pelidore
