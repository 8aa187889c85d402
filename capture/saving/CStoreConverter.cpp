#include "CStoreConverter.h"

#include "CFittedFrames.h"
#include "CFrameScaler.h"
#include "CFrameStoreRecovery.h"

#include <optional>
#include <system_error>
#include <thread>

namespace pelidore {

CStoreConverter::CStoreConverter(GifExporter& exporter) : m_Exporter(exporter) {}

SaveOutcome CStoreConverter::Convert(const std::filesystem::path& storePath, const std::filesystem::path& gifPath,
                                     const SaveOptions& options, const std::atomic<int>& stop,
                                     const ProgressReport& progress, std::FILE* log, const FitStep& step)
{
    m_FramesRead = 0;
    m_SecondsRead = 0.0;
    if (!m_Reader.OpenForReading(storePath))
        return SaveOutcome::StoreUnreadable;
    m_Exporter.SetSmallerFiles(options.smallerFiles);
    const int width = CFrameScaler::ScaledLength(m_Reader.Width(), step.scalePercent);
    const int height = CFrameScaler::ScaledLength(m_Reader.Height(), step.scalePercent);
    if (gifPath.empty() ||
        !m_Exporter.Start(width, height, options.dithering, options.transparent, gifPath, options.quality)) {
        m_Reader.Close();
        m_Exporter.Stop();
        return SaveOutcome::ExportFailed;
    }
    const SaveOutcome handedOver = HandOverFrames(stop, progress, log, step);
    m_Reader.Close();
    const bool written = m_Exporter.Stop();
    if (!written && handedOver != SaveOutcome::Interrupted)
        return SaveOutcome::ExportFailed;
    return handedOver;
}

SaveOutcome CStoreConverter::HandOverFrames(const std::atomic<int>& stop, const ProgressReport& progress,
                                            std::FILE* log, const FitStep& step)
{
    const int total = m_Reader.HeaderFrameCount();
    const auto handOver = [this, log](const std::uint8_t* pixels, float delay) {
        WriteLine(log, "add frame start\n");
        m_Exporter.PushFrame(pixels, true, delay);
        WriteLine(log, "add frame end\n");
    };
    // Frames dropped or scaled to fit a size pass through here; the full
    // recording goes straight to the exporter, as it always did.
    std::optional<CFittedFrames> fitted;
    if (!step.IsFullRecording())
        fitted.emplace(m_Reader.Width(), m_Reader.Height(), step, handOver);
    CFrameStoreReader::Frame frame;
    int done = 0;
    if (progress)
        progress(done, total);
    for (;;) {
        const int stopRequest = stop.load();
        if (stopRequest == static_cast<int>(SaveStop::Cancel))
            return SaveOutcome::Cancelled;
        if (stopRequest == static_cast<int>(SaveStop::Quit))
            return SaveOutcome::Interrupted;
        const CFrameStoreReader::ReadStatus status = m_Reader.NextFrame(frame);
        if (status == CFrameStoreReader::ReadStatus::End) {
            if (fitted)
                fitted->Finish();
            return SaveOutcome::Saved;
        }
        if (status == CFrameStoreReader::ReadStatus::Error)
            return SaveOutcome::StoreUnreadable;
        if (fitted)
            fitted->Push(frame.pixels.data(), frame.delay);
        else
            handOver(frame.pixels.data(), frame.delay);
        ++done;
        m_FramesRead = done;
        m_SecondsRead += frame.delay;
        std::this_thread::yield();
        if (progress && (done % kProgressStep == 0 || done == total))
            progress(done, total);
    }
}

bool CStoreConverter::Finish(SaveOutcome outcome, const std::filesystem::path& storePath,
                             const std::filesystem::path& gifPath)
{
    std::error_code ignored;
    if (outcome == SaveOutcome::Interrupted && !gifPath.empty())
        std::filesystem::remove(gifPath, ignored);
    if (outcome != SaveOutcome::Saved && outcome != SaveOutcome::Cancelled)
        return false;
    std::error_code error;
    return std::filesystem::remove(storePath, error) && !error;
}

KeptStoreAction CStoreConverter::RecoverKept(const std::filesystem::path& storePath)
{
    const CFrameStoreRecovery::Result result = CFrameStoreRecovery::Recover(storePath);
    if (!result.ok)
        return KeptStoreAction::Leave;
    if (result.framesKept > 0)
        return KeptStoreAction::Save;
    std::error_code ignored;
    std::filesystem::remove(storePath, ignored);
    return KeptStoreAction::DiscardEmpty;
}

void CStoreConverter::WriteLine(std::FILE* log, const char* line)
{
    if (!log)
        return;
    std::fputs(line, log);
    std::fflush(log);
}

} // namespace pelidore
