#include "CStoreConverter.h"

#include "CFittedFrames.h"
#include "CFrameScaler.h"
#include "CFrameStoreRecovery.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <thread>

namespace pelidore {

CStoreConverter::CStoreConverter(GifExporter& exporter) : m_Exporter(exporter) {}

SaveOutcome CStoreConverter::Convert(const std::filesystem::path& storePath, const std::filesystem::path& gifPath,
                                     const SaveOptions& options, const std::atomic<int>& stop,
                                     const ProgressReport& progress, std::FILE* log, const FitStep& step,
                                     const std::vector<bool>& kept)
{
    m_FramesRead = 0;
    m_SecondsRead = 0.0;
    if (!m_Reader.OpenForReading(storePath))
        return SaveOutcome::StoreUnreadable;
    if (!kept.empty() && SpanOf(kept, m_Reader.HeaderFrameCount()).count == 0) {
        m_Reader.Close();
        return SaveOutcome::ExportFailed;
    }
    m_Exporter.SetSmallerFiles(options.smallerFiles);
    const int width = CFrameScaler::ScaledLength(m_Reader.Width(), step.scalePercent);
    const int height = CFrameScaler::ScaledLength(m_Reader.Height(), step.scalePercent);
    if (gifPath.empty() ||
        !m_Exporter.Start(width, height, options.dithering, options.transparent, gifPath, options.quality)) {
        m_Reader.Close();
        m_Exporter.Stop();
        return SaveOutcome::ExportFailed;
    }
    const SaveOutcome handedOver = HandOverFrames(stop, progress, log, step, kept);
    m_Reader.Close();
    const bool written = m_Exporter.Stop();
    if (!written && handedOver != SaveOutcome::Interrupted)
        return SaveOutcome::ExportFailed;
    return handedOver;
}

CStoreConverter::KeptSpan CStoreConverter::SpanOf(const std::vector<bool>& kept, int frames)
{
    if (kept.empty())
        return {frames, frames};
    KeptSpan span;
    const int inMask = static_cast<int>(std::min(kept.size(), static_cast<std::size_t>(std::max(frames, 0))));
    for (int i = 0; i < inMask; ++i) {
        if (kept[static_cast<std::size_t>(i)]) {
            ++span.count;
            span.end = i + 1;
        }
    }
    return span;
}

std::optional<SaveOutcome> CStoreConverter::StopOutcome(const std::atomic<int>& stop)
{
    const int stopRequest = stop.load();
    if (stopRequest == static_cast<int>(SaveStop::Cancel))
        return SaveOutcome::Cancelled;
    if (stopRequest == static_cast<int>(SaveStop::Quit))
        return SaveOutcome::Interrupted;
    return std::nullopt;
}

bool CStoreConverter::IsKept(const std::vector<bool>& kept, int index)
{
    return kept.empty() || (static_cast<std::size_t>(index) < kept.size() && kept[static_cast<std::size_t>(index)]);
}

SaveOutcome CStoreConverter::HandOverFrames(const std::atomic<int>& stop, const ProgressReport& progress,
                                            std::FILE* log, const FitStep& step, const std::vector<bool>& kept)
{
    const KeptSpan span = SpanOf(kept, m_Reader.HeaderFrameCount());
    const int total = span.count;
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
        if (const std::optional<SaveOutcome> stopped = StopOutcome(stop))
            return *stopped;
        const int index = m_Reader.FramesRead();
        const CFrameStoreReader::ReadStatus status =
            index < span.end ? m_Reader.NextFrame(frame) : CFrameStoreReader::ReadStatus::End;
        if (status == CFrameStoreReader::ReadStatus::End) {
            if (fitted)
                fitted->Finish();
            return SaveOutcome::Saved;
        }
        if (status == CFrameStoreReader::ReadStatus::Error)
            return SaveOutcome::StoreUnreadable;
        if (!IsKept(kept, index))
            continue; // read only because the frames after it build on it
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
