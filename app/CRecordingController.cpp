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
    if (m_Recording || m_Saving || IsCountingDown() || !m_Host.IsComplete())
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
    if (m_Recording || m_Saving || !m_Host.IsComplete())
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
    return true;
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
            return m_Exporter.PushFrame(bgr, false, delay) && !m_Exporter.HasWriteFailed();
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
    if (settings.IsLive()) {
        if (m_Exporter.IsStarted()) {
            m_Exporter.Stop();
            RemoveQuietly(m_GifPath);
        }
    } else if (m_Store.IsWriting()) {
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
    if (m_Active.IsLive()) {
        const bool complete = m_Exporter.Stop();
        m_LogoPainter.ReleaseCache();
        if (complete)
            ReportFinishedGif(m_GifPath);
    } else {
        m_Store.Close();
        StartSaving({m_StorePath}, false);
        m_SavingOwnRecording = m_Saving;
    }
    m_Host.showState();
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

void CRecordingController::StartSaving(std::vector<std::filesystem::path> stores, bool mendFirst)
{
    // The save takes the settings of the moment it starts, as the GIF's name does.
    const RecordingSettings settings = m_Host.readSettings();
    SaveJob job;
    job.stores = std::move(stores);
    job.workFolder = settings.workFolder;
    const Options options = m_Host.readOptions();
    job.options = {settings.dithering, settings.transparent, settings.quality, options.smallerFiles, options.fitToMb};
    job.mendFirst = mendFirst;
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

void CRecordingController::SaveKeptStores()
{
    if (!m_Host.IsComplete() || m_Recording || m_Saving)
        return;
    const std::filesystem::path folder = m_Host.readSettings().workFolder;
    CKeptGifs::Repair(folder);
    std::vector<std::filesystem::path> stores = COutputPaths(folder).KeptFrameStores();
    if (!stores.empty())
        StartSaving(std::move(stores), true);
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
        else
            m_Store.Close(); // its frame count is in the header; saved at the next start
        m_Bitmap.Release();
    }
    if (m_Saving) {
        m_Saver.QuitUnlessDoneWithin(kQuitWaitMs);
        m_Saving = false;
    }
}

} // namespace pelidore
