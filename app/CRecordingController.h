#pragma once
// The life of a recording, from its start to its GIF: the capture thread
// that grabs it, the GIF exporter that writes it live or the frame store
// that keeps it for saving, the save thread that turns stores into GIFs
// (after a deferred recording, and at start-up for the stores a crash, a
// quit or a failed save left behind), and a shutdown that loses nothing.
// The frame window hands it the host; the controller never draws.
//
// Everything here runs on the UI thread; the threads it starts report back
// only through commands posted to the host's frame.
#include "CCaptureBitmap.h"
#include "CCaptureThread.h"
#include "CClickLatch.h"
#include "CFrameStoreWriter.h"
#include "CLogoPainter.h"
#include "CMouseHook.h"
#include "CReviewSession.h"
#include "CSaveThread.h"
#include "GifExporter.h"
#include "RecordingHost.h"
#include "RecordingSettings.h"

#include <filesystem>
#include <vector>

namespace pelidore {

class CRecordingController {
public:
    CRecordingController() = default;
    ~CRecordingController();
    CRecordingController(const CRecordingController&) = delete;
    CRecordingController& operator=(const CRecordingController&) = delete;

    // Must be called once the host's windows exist, before anything else.
    void Attach(RecordingHost host);

    // A start asked for by the user or a script: with a countdown set, the
    // countdown runs first (a stop during it cancels the start), else the
    // recording starts at once.
    void RequestStart();
    // One second of the countdown has passed; at the end the recording starts.
    void CountdownTick();
    // Starts with the host's settings and region; false (and nothing left
    // behind) when the output cannot be opened or the thread not started.
    bool Start();
    // Ends the capture (paused or not); a live GIF is finished, a deferred
    // one saved. During a countdown it cancels the start.
    void Stop();
    // The capture thread could not hand a frame over (a full disk): the GIF
    // keeps its whole frames, a store is saved with those it holds, and the
    // panel says why.
    void StopAfterWriteFailure();

    // While recording: a paused recording records nothing until resumed.
    // False when not recording or already in the state asked for.
    bool Pause();
    bool Resume();
    bool TogglePause();
    // The panel's locks changed while recording.
    void ApplyLocks();

    // With "Review before saving" a stopped recording waits in the review
    // window until the user saves its kept frames or discards it.
    bool IsReviewing() const { return m_Review.IsOpen(); }
    // Turns the kept frames into the GIF: a deferred recording is saved with
    // the save window; a live one keeps its GIF as written when nothing was
    // cut, else its kept frames are written again with its own settings.
    void SaveReviewed();
    // Deletes the recording (the window asked first).
    void DiscardReviewed();
    // Scripts: keep, or delete, frames first..last (counted from 1).
    void ReviewKeepRange(int first, int last);
    void ReviewDeleteRange(int first, int last);

    // Repairs the live GIFs and saves the stores a crash, a quit or a failed
    // save left in the work folder.
    void SaveKeptStores();
    // The save thread said it is done: the panel comes back.
    void FinishSaving();
    // The user gave up saving: the GIF keeps the frames so far.
    void CancelSaving();

    // Ends a recording or a save under way without losing anything: a live
    // GIF gets its trailer, a deferred recording's store is closed and kept,
    // a save in progress gets kQuitWaitMs to finish, else leaves its store
    // for the next start. Safe to call more than once.
    void Shutdown();
    static constexpr unsigned kQuitWaitMs = 2000;

    bool IsRecording() const { return m_Recording; }
    bool IsPaused() const { return m_Recording && m_Capture.IsPaused(); }
    bool IsCountingDown() const { return m_CountdownLeft > 0; }
    int CountdownLeft() const { return m_CountdownLeft; }
    bool IsSaving() const { return m_Saving; }
    // Frames of the store being saved, for the progress read-out.
    int SaveTotal() const { return m_Saver.Total(); }
    // What the save's current pass gives up to fit a size, for its window.
    int SaveFitFps() const { return m_Saver.FitFps(); }
    int SaveFitScale() const { return m_Saver.FitScale(); }

private:
    bool OpenLiveOutput(const RecordingSettings& settings);
    bool OpenFrameStore(const RecordingSettings& settings);
    CaptureJob MakeJob(const RecordingSettings& settings, const ScreenRect& region);
    void GrabFirstImage(const RecordingSettings& settings, const ScreenRect& region);
    void AbandonStart(const RecordingSettings& settings);
    void CancelCountdown();
    void ReportFinishedGif(const std::filesystem::path& gif);
    void StartSaving(SaveJob job);
    SaveJob MakeSaveJob(std::vector<std::filesystem::path> stores) const;
    bool OpenReviewStore(const RecordingSettings& settings);
    void FinishLiveRecording();
    void FinishDeferredRecording();
    bool BeginReview(CReviewSession::Files files);
    void EndReview();

    RecordingHost m_Host;

    bool m_Recording = false;
    bool m_Saving = false;
    bool m_SavingOwnRecording = false; // not the kept stores of an earlier run
    int m_CountdownLeft = 0;
    Options m_Options; // as the recording started
    RecordingSettings m_Active;
    PixelSize m_Output;
    int m_FrameCount = 0;
    std::filesystem::path m_StorePath;
    std::filesystem::path m_GifPath;
    bool m_LiveStoreOpen = false; // a live recording's frames also go to m_Store, for its review

    GifExporter m_Exporter;
    CFrameStoreWriter m_Store;
    CCaptureBitmap m_Bitmap;
    CLogoPainter m_LogoPainter;
    CClickLatch m_Clicks;
    CMouseHook m_MouseHook;
    CCaptureThread m_Capture;
    CSaveThread m_Saver;
    CReviewSession m_Review;
};

} // namespace pelidore
