#include "CFitPasses.h"

#include <optional>
#include <system_error>

namespace pelidore {

CFitPasses::CFitPasses(std::uint64_t limitBytes) : m_Limit(limitBytes) {}

std::uint64_t CFitPasses::SizeOf(const std::filesystem::path& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? UINT64_MAX : static_cast<std::uint64_t>(size);
}

bool CFitPasses::Replace(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return !error;
}

CFitPasses::Result CFitPasses::Run(const std::filesystem::path& gifPath, const Pass& pass)
{
    std::filesystem::path trial = gifPath;
    trial += ".part";
    std::optional<CSizeFitter> fitter;
    FitStep step;
    bool fitted = false;
    std::error_code ignored;
    for (;;) {
        const PassResult result = pass(step, trial);
        ++m_Passes;
        if (!result.written) {
            // The frames so far stay only when nothing better is there.
            if (fitted || !Replace(trial, gifPath))
                std::filesystem::remove(trial, ignored);
            return fitted ? Result::Fitted : Result::Stopped;
        }
        if (!fitter) {
            m_RecordedFps = result.seconds > 0.0 ? result.frames / result.seconds : 0.0;
            fitter.emplace(m_Limit, m_RecordedFps);
        }
        const std::uint64_t size = SizeOf(trial);
        const CSizeFitter::Verdict verdict = fitter->Record(size);
        if (size <= m_Limit && fitter->BestFit().keepRatio == step.keepRatio &&
            fitter->BestFit().scalePercent == step.scalePercent) {
            if (!Replace(trial, gifPath))
                return Result::Stopped;
            fitted = true;
            m_Step = step;
            m_Size = size;
        } else {
            std::filesystem::remove(trial, ignored);
        }
        if (verdict == CSizeFitter::Verdict::Done)
            return fitted ? Result::Fitted : Result::CannotFit;
        if (verdict == CSizeFitter::Verdict::CannotFit) {
            if (fitted)
                return Result::Fitted;
            std::filesystem::remove(gifPath, ignored);
            return Result::CannotFit;
        }
        step = fitter->Current();
    }
}

} // namespace pelidore
