#pragma once
// The capture thread of one recording. Each pass stamps the frame grabbed
// last with its playback delay, draws the cursor and logo into it, hands it
// to the sink, reports the running time and size to the control panel and,
// when a lock is reached, asks the frame window (once) to stop; then it
// grabs the next image at the frame's current place and sleeps out the
// frame interval. A frame the sink cannot take (a full disk) ends the passes
// and asks the frame window to stop with CMD_WRITE_FAILED. It never touches a window's drawing: all it tells the UI
// thread travels as posted messages.
#include "CCaptureBitmap.h"
#include "CClickLatch.h"
#include "CLogoPainter.h"
#include "CNEvent.h"
#include "CPauseClock.h"
#include "FrameSink.h"
#include "NWindows.h"
#include "RecordingSettings.h"
#include "ScreenRect.h"

#include <atomic>
#include <cstdint>
#include <thread>

namespace pelidore {

struct CaptureJob {
    HWND frame = nullptr; // followed on every pass; told to stop when a lock is reached
    ScreenRect region;    // the frame's place at the start: kept while it is minimised
    HWND panel = nullptr; // gets PWM_READOUT after every frame; may be null
    RecordingSettings settings;
    PixelSize output;
    CCaptureBitmap* bitmap = nullptr; // holds the first image already
    CLogoPainter* logo = nullptr;
    CClickLatch* clicks = nullptr; // fed by the mouse hook; rings drawn when set
    FrameSink sink;
    std::uint32_t startTick = 0;
    int timeLimitSeconds = 0;
    int sizeLimitMb = 0;
};

class CCaptureThread {
public:
    CCaptureThread() = default;
    ~CCaptureThread();
    CCaptureThread(const CCaptureThread&) = delete;
    CCaptureThread& operator=(const CCaptureThread&) = delete;

    // False when a recording runs already, the job is incomplete or the
    // thread cannot be started.
    bool Start(const CaptureJob& job);
    // Clears the capture flag and waits for the thread; the frames it
    // emitted. The bitmap, painter and sink are the caller's again after it.
    int Stop();
    bool IsRunning() const { return m_Thread.joinable(); }

    // The panel's locks may change while recording (UI thread, any time).
    void SetLocks(int timeLimitSeconds, int sizeLimitMb);

    // UI thread, while running. A paused thread grabs, composes and hands
    // over nothing and waits without using the processor; the paused time is
    // left out of the delays (so of the read-out and the time lock too), and
    // the first frame after resuming shows the screen as it is then. False
    // when already in the state asked for.
    bool Pause();
    bool Resume();
    bool IsPaused() const { return m_PauseRequested.load(); }

private:
    void Run();
    void WaitWhilePaused();
    void Rest(std::uint32_t milliseconds);
    ScreenRect FrameNow();
    void Compose(const ScreenRect& frame);
    bool HandOver(float delay);
    void ReportWriteFailure();
    void GrabNext(const ScreenRect& frame);

    std::thread m_Thread;
    std::atomic<bool> m_Capturing{false};
    std::atomic<int> m_TimeLimitSeconds{0};
    std::atomic<int> m_SizeLimitMb{0};
    // Pause and resume: the UI thread sets the request and the tick it came
    // at, then wakes the thread, which sleeps on the event between passes.
    std::atomic<bool> m_PauseRequested{false};
    std::atomic<std::uint32_t> m_PauseTick{0};
    std::atomic<std::uint32_t> m_ResumeTick{0};
    CNEvent m_Wake;

    // The capture thread's own while it runs.
    CaptureJob m_Job;
    ScreenRect m_LastFrame;
    CPauseClock m_Clock;
    std::uint32_t m_LastTick = 0; // recording time (pauses left out) of the last frame
    int m_FrameCount = 0;
    bool m_StopPosted = false;
};

} // namespace pelidore
