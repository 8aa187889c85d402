#include "CFitToSizeSave.h"

#include "CFitPasses.h"

namespace pelidore {

SaveOutcome CFitToSizeSave::Convert(const std::filesystem::path& storePath, const std::filesystem::path& gifPath,
                                    const SaveOptions& options, std::uint64_t limitBytes, const std::atomic<int>& stop,
                                    const CStoreConverter::ProgressReport& progress, std::FILE* log,
                                    const std::vector<bool>& kept)
{
    SaveOptions smaller = options;
    smaller.smallerFiles = true;
    SaveOutcome lastOutcome = SaveOutcome::Saved;
    double recordedFps = 0.0;
    const auto pass = [&](const FitStep& step, const std::filesystem::path& path) {
        if (m_StepReport)
            m_StepReport(step.KeptFps(recordedFps), step.scalePercent);
        lastOutcome = m_Converter.Convert(storePath, path, smaller, stop, progress, log, step, kept);
        CFitPasses::PassResult result;
        result.written = lastOutcome == SaveOutcome::Saved;
        result.frames = m_Converter.FramesRead();
        result.seconds = m_Converter.SecondsRead();
        if (result.seconds > 0.0)
            recordedFps = result.frames / result.seconds;
        return result;
    };
    CFitPasses passes(limitBytes);
    const CFitPasses::Result result = passes.Run(gifPath, pass);
    m_Step = passes.Step();
    m_RecordedFps = passes.RecordedFps();
    m_Passes = passes.Passes();
    switch (result) {
    case CFitPasses::Result::Fitted:
        return SaveOutcome::Saved;
    case CFitPasses::Result::CannotFit:
        return SaveOutcome::TooLarge;
    case CFitPasses::Result::Stopped:
        return lastOutcome == SaveOutcome::Saved ? SaveOutcome::ExportFailed : lastOutcome;
    }
    return SaveOutcome::ExportFailed;
}

} // namespace pelidore
