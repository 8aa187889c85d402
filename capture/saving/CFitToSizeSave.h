// Saves a frame store into a GIF no larger than a limit: "Smaller files" on,
// then as few frames dropped and as little scaling as fit (see CSizeFitter).
// Each trial pass reads the store afresh, so memory stays that of one pass.
// Portable.
#pragma once

#include "CStoreConverter.h"
#include "FitStep.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace pelidore {

class CFitToSizeSave {
public:
    // Told before each pass what it gives up (fps 0: no frame dropped).
    using StepReport = std::function<void(int fps, int scalePercent)>;

    CFitToSizeSave(CStoreConverter& converter, StepReport stepReport)
        : m_Converter(converter), m_StepReport(std::move(stepReport))
    {
    }

    // The limit options.fitToMb sets.
    static std::uint64_t LimitBytes(const SaveOptions& options)
    {
        return static_cast<std::uint64_t>(options.fitToMb > 0 ? options.fitToMb : 0) * FitStep::kMebibyte;
    }

    // A GIF of at most limitBytes. TooLarge when even the smallest step does
    // not fit: no GIF is left, and the store stays. kept: the frames to save,
    // as CStoreConverter::Convert takes them; frames are dropped to fit among
    // the kept ones.
    SaveOutcome Convert(const std::filesystem::path& storePath, const std::filesystem::path& gifPath,
                        const SaveOptions& options, std::uint64_t limitBytes, const std::atomic<int>& stop,
                        const CStoreConverter::ProgressReport& progress, std::FILE* log,
                        const std::vector<bool>& kept = {});

    // What the saved GIF gave up, once Convert returned Saved.
    const FitStep& Step() const { return m_Step; }
    double RecordedFps() const { return m_RecordedFps; }
    int Passes() const { return m_Passes; }

private:
    CStoreConverter& m_Converter;
    StepReport m_StepReport;
    FitStep m_Step;
    double m_RecordedFps = 0.0;
    int m_Passes = 0;
};

} // namespace pelidore
