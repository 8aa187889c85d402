#pragma once
// What the recording controller needs from the window that hosts it: the
// settings and the marked region at the moment they matter, the windows the
// threads post to, and the changes of look that go with each step of a
// recording. Plain functions rather than an interface, so the frame window
// keeps its single base class; all of them run on the UI thread.
#include "NWindows.h"
#include "RecordingSettings.h"
#include "ScreenRect.h"

#include <functional>

namespace pelidore {

struct RecordingHost {
    HWND frame = nullptr; // receives the threads' commands
    HWND panel = nullptr; // receives the read-outs while recording; may be null

    std::function<RecordingSettings()> readSettings;
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

    bool IsComplete() const
    {
        return frame && readSettings && markedRegion && timeLimitSeconds && sizeLimitMb && showState && waitForScreen &&
               showRecording && showIdle && showSaving && showSavingDone;
    }
};

} // namespace pelidore
