#include "CRecordingController.h"

#include "CCaptureGeometry.h"
#include "CKeptGifs.h"
#include "CNScreenDC.h"
#include "COutputPaths.h"
#include "CRecordingLimits.h"
#include "CWriteProblem.h"

#include <system_error>
#include <utility>

namespace pelidore {

namespace {

void RemoveQuietly(const std::filesystem::path& path)
{
    std::error_code ignored;
    if (!path.empty())
        std::filesystem::remove(path, ignored);
}

} // namespace

CRecordingController::~CRecordingController()
{
    Shutdown();
}

void CRecordingController::Attach(RecordingHost host)
{
    m_Host = std::move(host);
}

void CRecordingController::RequestStart()
{
    if (m_Recording || m_Saving || IsReviewing() || IsCountingDown() || !m_Host.IsComplete())
        return;
    const int countdown = m_Host.readOptions().countdownSeconds;
    if (countdown <= 0) {
        Start();
        return;
    }
    // Nothing is opened yet: a stop during the countdown leaves no file.
    m_CountdownLeft = countdown;
    m_Host.showRecording();
    m_Host.showCountdown(m_CountdownLeft);
    m_Host.runCountdownTicks(true);
}

void CRecordingController::CountdownTick()
{
    if (!IsCountingDown())
        return;
    if (--m_CountdownLeft > 0) {
        m_Host.showCountdown(m_CountdownLeft);
        return;
    }
    m_Host.runCountdownTicks(false);
    // The digit goes with this look; Start waits until the screen shows it
    // before the first grab, so no digit is ever recorded.
    m_Host.showCountdown(0);
    Start();
}

void CRecordingController::CancelCountdown()
{
    m_CountdownLeft = 0;
    m_Host.runCountdownTicks(false);
    m_Host.showCountdown(0);
    m_Host.showIdle();
    m_Host.showState();
}

bool CRecordingController::Start()
{
    if (m_Recording || m_Saving || IsReviewing() || !m_Host.IsComplete())
        return false;
    m_CountdownLeft = 0;
    const ScreenRect region = m_Host.markedRegion();
    RecordingSettings settings = m_Host.readSettings();
    m_Options = m_Host.readOptions();
    m_Output = CCaptureGeometry::OutputSize(CCaptureGeometry::CaptureSize(region), settings.scalePercent);
    if (m_Output.IsEmpty() || !m_Bitmap.Create(m_Output)) {
        AbandonStart(settings);
        return false;
    }
    // The marks leave the frame before anything is grabbed.
    m_Recording = true;
    m_Host.showState();
    m_Host.waitForScreen();
    const bool opened = settings.IsLive() ? OpenLiveOutput(settings) : OpenFrameStore(settings);
    if (!opened) {
        AbandonStart(settings);
        m_Host.showMessage(CWriteProblem::CannotWrite(settings.workFolder));
        return false;
    }
    m_FrameCount = 0;
    const CaptureJob job = MakeJob(settings, region);
    if (!m_Capture.Start(job)) {
        AbandonStart(settings);
        return false;
    }
    m_Active = std::move(settings);
    m_Host.showRecording();
    m_Host.showState();
    return true;
}

bool CRecordingController::OpenLiveOutput(const RecordingSettings& settings)
{
    m_GifPath = COutputPaths(settings.workFolder).Gif();
    m_Exporter.SetSmallerFiles(m_Options.smallerFiles);
    if (m_GifPath.empty() || !m_Exporter.Start(m_Output.width, m_Output.height, settings.dithering,
                                               settings.transparent, m_GifPath, settings.quality))
        return false;
    m_Exporter.SetSizeLimit(CRecordingLimits::WriterSizeLimit(m_Host.sizeLimitMb(), settings.quality));
    m_LiveStoreOpen = m_Options.reviewBeforeSaving && OpenReviewStore(settings);
    return true;
}

// The review of a live recording reads its frames from a store written
// beside the GIF. Without one the recording goes on and is simply not
// reviewed: the GIF is what matters.
bool CRecordingController::OpenReviewStore(const RecordingSettings& settings)
{
    if (OpenFrameStore(settings))
        return true;
    m_Store.Close();
    RemoveQuietly(m_StorePath);
    return false;
}

bool CRecordingController::OpenFrameStore(const RecordingSettings& settings)
{
    m_StorePath = COutputPaths(settings.workFolder).FrameStore();
    // Without a store the frames would be dropped one by one; better not to
    // record at all than to lose the recording silently.
    return !m_StorePath.empty() && m_Store.Create(m_Output.width, m_Output.height) &&
           m_Store.OpenForWriting(m_StorePath);
}

// The first image is taken here, before the thread starts, so the first
// frame's delay runs from the moment of the start.
void CRecordingController::GrabFirstImage(const RecordingSettings& settings, const ScreenRect& region)
{
    CNScreenDC screen;
    if (screen)
        m_Bitmap.Grab(screen.Get(), CCaptureGeometry::CaptureOrigin(region), CCaptureGeometry::CaptureSize(region),
                      CCaptureGeometry::IsScaled(settings.scalePercent), SRCCOPY);
}

CaptureJob CRecordingController::MakeJob(const RecordingSettings& settings, const ScreenRect& region)
{
    CaptureJob job;
    job.startTick = GetTickCount();
    GrabFirstImage(settings, region);
    job.frame = m_Host.frame;
    job.panel = m_Host.panel;
    job.timeLimitSeconds = m_Host.timeLimitSeconds();
    job.sizeLimitMb = m_Host.sizeLimitMb();
    job.settings = settings;
    job.output = m_Output;
    job.bitmap = &m_Bitmap;
    job.logo = &m_LogoPainter;
    job.region = region;
    if (m_Options.highlightClicks) {
        // Without the hook the rings still show the buttons held at each grab.
        m_MouseHook.Install(m_Clicks);
        job.clicks = &m_Clicks;
    }
    if (settings.IsLive()) {
        job.sink.take = [this](const std::uint8_t* bgr, float delay) {
            const bool taken = m_Exporter.PushFrame(bgr, false, delay) && !m_Exporter.HasWriteFailed();
            // A failed append costs only the review (Stop sees it).
            if (taken && m_LiveStoreOpen)
                m_Store.Append(delay, bgr);
            return taken;
        };
        job.sink.progress = [this] {
            return RecordingProgress{static_cast<std::int64_t>(m_Exporter.TotalDuration()), m_Exporter.FileSize(),
                                     m_Exporter.FramesWritten(), m_Exporter.SizeLimit()};
        };
    } else {
        // A frame that could not be encoded is dropped; one that could not be
        // written ends the recording.
        job.sink.take = [this](const std::uint8_t* bgr, float delay) {
            m_Store.Append(delay, bgr);
            return !m_Store.HasWriteFailed();
        };
        job.sink.progress = [this] {
            return RecordingProgress{static_cast<std::int64_t>(m_Store.DelaySum()), 0, m_Store.FramesWritten(), 0};
        };
    }
    return job;
}

void CRecordingController::AbandonStart(const RecordingSettings& settings)
{
    // Whatever was opened holds no frame yet; nothing recorded is lost.
    if (settings.IsLive() && m_Exporter.IsStarted()) {
        m_Exporter.Stop();
        RemoveQuietly(m_GifPath);
    }
    if (m_Store.IsWriting()) {
        m_Store.Close();
        RemoveQuietly(m_StorePath);
    }
    m_Bitmap.Release();
    m_Recording = false;
    m_Host.showIdle();
    m_Host.showState();
}

void CRecordingController::Stop()
{
    if (IsCountingDown()) {
        CancelCountdown();
        return;
    }
    if (!m_Recording)
        return;
    m_FrameCount = m_Capture.Stop();
    m_MouseHook.Remove();
    m_Recording = false;
    m_Bitmap.Release();
    // Only now, with the capture thread gone, can no read-out of it
    // overwrite the reset.
    m_Host.showPaused(false);
    m_Host.showIdle();
    if (m_Active.IsLive())
        FinishLiveRecording();
    else
        FinishDeferredRecording();
    m_Host.showState();
}

void CRecordingController::FinishLiveRecording()
{
    const bool complete = m_Exporter.Stop();
    m_LogoPainter.ReleaseCache();
    if (m_LiveStoreOpen) {
        m_LiveStoreOpen = false;
        m_Store.Close();
        // A store that missed a frame would let a cut save lose it.
        if (complete && !m_Store.HasWriteFailed() && BeginReview({m_StorePath, m_GifPath}))
            return;
        RemoveQuietly(m_StorePath);
    }
    if (complete)
        ReportFinishedGif(m_GifPath);
}

void CRecordingController::FinishDeferredRecording()
{
    m_Store.Close();
    if (m_Options.reviewBeforeSaving && BeginReview({m_StorePath, {}}))
        return;
    StartSaving(MakeSaveJob({m_StorePath}));
    m_SavingOwnRecording = m_Saving;
}

void CRecordingController::StopAfterWriteFailure()
{
    // The output keeps its failure until the next recording opens it: a
    // report that arrives after a stop still shows, and one that arrives
    // after a new start ends nothing.
    const bool failed = m_Active.IsLive() ? m_Exporter.HasWriteFailed() : m_Store.HasWriteFailed();
    if (!failed)
        return;
    Stop();
    m_Host.showMessage(CWriteProblem::WriteFailed(m_Active.workFolder));
}

bool CRecordingController::Pause()
{
    if (!m_Recording || !m_Capture.Pause())
        return false;
    m_Host.showPaused(true);
    return true;
}

bool CRecordingController::Resume()
{
    if (!m_Recording || !m_Capture.Resume())
        return false;
    m_Host.showPaused(false);
    return true;
}

bool CRecordingController::TogglePause()
{
    return IsPaused() ? Resume() : Pause();
}

void CRecordingController::ReportFinishedGif(const std::filesystem::path& gif)
{
    if (!gif.empty())
        m_Host.gifFinished(gif);
}

void CRecordingController::ApplyLocks()
{
    m_Capture.SetLocks(m_Host.timeLimitSeconds(), m_Host.sizeLimitMb());
}

// The save takes the settings of the moment it starts, as the GIF's name does.
SaveJob CRecordingController::MakeSaveJob(std::vector<std::filesystem::path> stores) const
{
    return SaveJob::NewGifs(std::move(stores), m_Host.readSettings(), m_Host.readOptions());
}

void CRecordingController::StartSaving(SaveJob job)
{
    m_Host.showSaving(m_FrameCount);
    m_Saving = true;
    if (!m_Saver.Start(m_Host.frame, m_Exporter, std::move(job))) {
        // The stores stay in the work folder and are saved at the next start.
        m_Saving = false;
        m_Host.showSavingDone();
    }
    m_Host.showState();
}

void CRecordingController::FinishSaving()
{
    m_Saver.Wait();
    m_Saving = false;
    if (m_Saver.LastTooLarge())
        m_Host.showSaveTooLarge(m_Host.readOptions().fitToMb);
    else
        m_Host.showSavingDone();
    m_Host.showState();
    if (m_SavingOwnRecording)
        ReportFinishedGif(m_Saver.LastSaved());
    m_SavingOwnRecording = false;
}

void CRecordingController::CancelSaving()
{
    if (m_Saving)
        m_Saver.Cancel();
}

bool CRecordingController::BeginReview(CReviewSession::Files files)
{
    if (!m_Review.Open(std::move(files)))
        return false;
    m_Host.showReview(m_Review);
    return true;
}

void CRecordingController::EndReview()
{
    m_Host.closeReview();
    m_Review.Close();
    m_Host.showState();
}

void CRecordingController::SaveReviewed()
{
    if (!IsReviewing() || m_Saving)
        return;
    const CReviewSession::Files files = m_Review.GetFiles();
    const CKeptFrames& kept = m_Review.Kept();
    const bool cut = kept.IsCut();
    m_FrameCount = kept.KeptCount();
    SaveJob job = m_Review.IsLive() ? SaveJob::LiveGifAgain(files.store, files.liveGif, m_Active, m_Options)
                                    : MakeSaveJob({files.store});
    if (cut)
        job.kept = kept.KeptMask();
    EndReview();
    if (!files.liveGif.empty() && !cut) {
        // Nothing cut: the GIF stays exactly as it was written.
        RemoveQuietly(files.store);
        ReportFinishedGif(files.liveGif);
        return;
    }
    StartSaving(std::move(job));
    m_SavingOwnRecording = m_Saving;
}

void CRecordingController::DiscardReviewed()
{
    if (!IsReviewing())
        return;
    m_Review.DeleteFiles();
    EndReview();
}

void CRecordingController::ReviewKeepRange(int first, int last)
{
    if (m_Review.KeepRange(first, last))
        m_Host.refreshReview();
}

void CRecordingController::ReviewDeleteRange(int first, int last)
{
    if (m_Review.DeleteRange(first, last))
        m_Host.refreshReview();
}

void CRecordingController::SaveKeptStores()
{
    if (!m_Host.IsComplete() || m_Recording || m_Saving)
        return;
    const std::filesystem::path folder = m_Host.readSettings().workFolder;
    CKeptGifs::Repair(folder);
    std::vector<std::filesystem::path> stores = COutputPaths(folder).KeptFrameStores();
    if (stores.empty())
        return;
    SaveJob job = MakeSaveJob(std::move(stores));
    job.mendFirst = true;
    StartSaving(std::move(job));
}

void CRecordingController::Shutdown()
{
    m_CountdownLeft = 0;
    if (m_Recording) {
        m_FrameCount = m_Capture.Stop();
        m_MouseHook.Remove();
        m_Recording = false;
        if (m_Active.IsLive())
            m_Exporter.Stop();
        // A deferred store's frame count is in the header; it is saved at the
        // next start. A live recording's review store is not needed.
        m_Store.Close();
        if (m_LiveStoreOpen)
            RemoveQuietly(m_StorePath);
        m_LiveStoreOpen = false;
        m_Bitmap.Release();
    }
    if (m_Saving) {
        m_Saver.QuitUnlessDoneWithin(kQuitWaitMs);
        m_Saving = false;
    }
    if (IsReviewing()) {
        // A deferred store stays whole for the next start; a live GIF
        // already holds every frame, so its extra store goes, once the
        // review has let go of it (Windows deletes no open file).
        const CReviewSession::Files files = m_Review.GetFiles();
        m_Review.Close();
        if (!files.liveGif.empty())
            RemoveQuietly(files.store);
    }
}

} // namespace pelidore
