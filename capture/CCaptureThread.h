#pragma once
// The capture thread of one recording. Each pass stamps the frame grabbed
// last with its playback delay, draws the cursor and logo into it, hands it
// to the sink, reports the running time and size to the control panel and,
// when a lock is reached, asks the frame window (once) to stop; then it
// grabs the next image at the frame's current place and sleeps out the
// frame interval. It never touches a window's drawing: all it tells the UI
// thread travels as posted messages.
#include "CCaptureBitmap.h"
#include "CLogoPainter.h"
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

private:
    void Run();
    ScreenRect FrameNow();
    void Compose(const ScreenRect& frame);
    void HandOver(float delay);
    void GrabNext(const ScreenRect& frame);

    std::thread m_Thread;
    std::atomic<bool> m_Capturing{false};
    std::atomic<int> m_TimeLimitSeconds{0};
    std::atomic<int> m_SizeLimitMb{0};

    // The capture thread's own while it runs.
    CaptureJob m_Job;
    ScreenRect m_LastFrame;
    std::uint32_t m_LastTick = 0;
    int m_FrameCount = 0;
    bool m_StopPosted = false;
};

} // namespace pelidore
