#pragma once
// What the recording controller needs from the window that hosts it: the
// settings and the marked region at the moment they matter, the windows the
// threads post to, and the changes of look that go with each step of a
// recording. Plain functions rather than an interface, so the frame window
// keeps its single base class; all of them run on the UI thread.
#include "CReviewSession.h"
#include "NWindows.h"
#include "Options.h"
#include "RecordingSettings.h"
#include "ScreenRect.h"

#include <filesystem>
#include <functional>
#include <string>

namespace pelidore {

struct RecordingHost {
    HWND frame = nullptr; // receives the threads' commands
    HWND panel = nullptr; // receives the read-outs while recording; may be null

    std::function<RecordingSettings()> readSettings;
    std::function<Options()> readOptions;
    std::function<ScreenRect()> markedRegion;
    std::function<int()> timeLimitSeconds;
    std::function<int()> sizeLimitMb;

    // The recording state changed: the frame redraws (marks, border).
    std::function<void()> showState;
    // Returns once the frame's new look has reached the screen.
    std::function<void()> waitForScreen;
    // The recording look (the panel's stop button, the moving border), or
    // the idle look with the panel's read-outs cleared.
    std::function<void()> showRecording;
    std::function<void()> showIdle;
    // Saving takes the panel's place with its progress window, and gives it back.
    std::function<void(int frames)> showSaving;
    std::function<void()> showSavingDone;
    // A save that had to fit limitMb could not: its store stays.
    std::function<void(int limitMb)> showSaveTooLarge;
    // The countdown before a start: the digit to show (0: none), and the
    // one-second ticks that drive it (CRecordingController::CountdownTick).
    std::function<void(int seconds)> showCountdown;
    std::function<void(bool run)> runCountdownTicks;
    // A pause began or ended: the panel says so, the border stands still.
    std::function<void(bool paused)> showPaused;
    // A GIF of this session's recording is finished.
    std::function<void(const std::filesystem::path& gif)> gifFinished;
    // A stopped recording waits in the review window, which takes the
    // panel's place; the session outlives the window's use of it. A script
    // changed what is kept (refreshReview), or the review ended.
    std::function<void(CReviewSession& session)> showReview;
    std::function<void()> refreshReview;
    std::function<void()> closeReview;
    // Why a recording did not start or stopped early, in words for the panel.
    std::function<void(const std::wstring& message)> showMessage;

    bool IsComplete() const
    {
        return frame && readSettings && readOptions && markedRegion && timeLimitSeconds && sizeLimitMb && showState &&
               waitForScreen && showRecording && showIdle && showSaving && showSavingDone && showSaveTooLarge &&
               showCountdown && runCountdownTicks && showPaused && gifFinished && showReview &&
               refreshReview && closeReview && showMessage;
    }
};

} // namespace pelidore
