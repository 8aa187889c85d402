#include "CCaptureThread.h"

#include "CCaptureGeometry.h"
#include "CClickPainter.h"
#include "CCursorPainter.h"
#include "CFrameTiming.h"
#include "CNScreenDC.h"
#include "CRecordingLimits.h"
#include "PelidoreCommands.h"

#include <system_error>

namespace pelidore {

CCaptureThread::~CCaptureThread()
{
    Stop();
}

bool CCaptureThread::Start(const CaptureJob& job)
{
    if (IsRunning() || !job.frame || !job.bitmap || !job.bitmap->IsReady() || !job.logo || !job.sink.IsComplete())
        return false;
    if (!m_Wake)
        return false;
    m_Job = job;
    m_Clock = CPauseClock(job.startTick);
    m_LastTick = job.startTick;
    m_PauseRequested.store(false);
    m_FrameCount = 0;
    m_StopPosted = false;
    m_LastFrame = job.region;
    SetLocks(job.timeLimitSeconds, job.sizeLimitMb);
    m_Capturing.store(true);
    try {
        m_Thread = std::thread(&CCaptureThread::Run, this);
    } catch (const std::system_error&) {
        m_Capturing.store(false);
        return false;
    }
    return true;
}

int CCaptureThread::Stop()
{
    m_Capturing.store(false);
    m_Wake.Set();
    if (m_Thread.joinable())
        m_Thread.join();
    return m_FrameCount;
}

void CCaptureThread::SetLocks(int timeLimitSeconds, int sizeLimitMb)
{
    m_TimeLimitSeconds.store(timeLimitSeconds);
    m_SizeLimitMb.store(sizeLimitMb);
}

bool CCaptureThread::Pause()
{
    if (!IsRunning() || m_PauseRequested.load())
        return false;
    m_PauseTick.store(GetTickCount());
    m_PauseRequested.store(true);
    m_Wake.Set();
    return true;
}

bool CCaptureThread::Resume()
{
    if (!IsRunning() || !m_PauseRequested.load())
        return false;
    m_ResumeTick.store(GetTickCount());
    m_PauseRequested.store(false);
    m_Wake.Set();
    return true;
}

void CCaptureThread::Run()
{
    const std::uint32_t interval = CFrameTiming::FrameIntervalMs(m_Job.settings.framesPerSecond);
    while (m_Capturing.load()) {
        if (m_PauseRequested.load()) {
            WaitWhilePaused();
            continue;
        }
        const std::uint32_t passStart = GetTickCount();
        const ScreenRect frame = FrameNow();
        const std::uint32_t now = m_Clock.RecordingTick(GetTickCount());
        const float delay = CFrameTiming::DelaySeconds(m_LastTick, now, m_Job.settings.speedPercent);
        m_LastTick = now;
        Compose(frame);
        if (!HandOver(delay)) {
            ReportWriteFailure();
            break;
        }
        ++m_FrameCount;
        GrabNext(frame);
        Rest(CFrameTiming::SleepAfterPass(passStart, GetTickCount(), interval));
    }
}

// Sleeps out the frame interval, but wakes at once for a pause or a stop.
void CCaptureThread::Rest(std::uint32_t milliseconds)
{
    if (milliseconds > 0)
        m_Wake.Wait(milliseconds);
}

void CCaptureThread::WaitWhilePaused()
{
    m_Clock.Pause(m_PauseTick.load());
    while (m_PauseRequested.load() && m_Capturing.load())
        m_Wake.Wait(INFINITE);
    m_Clock.Resume(m_ResumeTick.load());
    // The image grabbed before the pause is stale: the first frame after it
    // shows the screen at the moment of resuming.
    if (m_Capturing.load())
        GrabNext(FrameNow());
}

ScreenRect CCaptureThread::FrameNow()
{
    // A frame that cannot be read (being destroyed) keeps its last place, and
    // so does a minimised one: its window rectangle is the icon's, off the
    // screen, while the region it marks is where it will be restored to.
    RECT rect;
    if (!IsIconic(m_Job.frame) && GetWindowRect(m_Job.frame, &rect))
        m_LastFrame = {rect.left, rect.top, rect.right, rect.bottom};
    return m_LastFrame;
}

void CCaptureThread::Compose(const ScreenRect& frame)
{
    HDC target = m_Job.bitmap->DC();
    if (m_Job.settings.cursorCapture)
        CCursorPainter::Draw(target, frame, m_Job.output, m_Job.settings.scalePercent);
    if (m_Job.clicks)
        CClickPainter::Draw(target, frame, m_Job.output, m_Job.settings.scalePercent, m_Job.clicks->TakeForFrame());
    // Drawn after the cursor so the logo covers it.
    m_Job.logo->Draw(target, m_Job.settings.logo, m_Job.output);
    GdiFlush();
}

bool CCaptureThread::HandOver(float delay)
{
    if (!m_Job.sink.take(m_Job.bitmap->Pixels(), delay))
        return false;
    const RecordingProgress progress = m_Job.sink.progress();
    if (m_Job.panel)
        PostMessageW(m_Job.panel, PWM_READOUT, static_cast<WPARAM>(progress.elapsedSeconds),
                     static_cast<LPARAM>(progress.bytes));
    const RecordingLocks locks{m_TimeLimitSeconds.load(), m_SizeLimitMb.load(), m_Job.settings.quality};
    if (!m_StopPosted && CRecordingLimits::ShouldStop(progress, locks))
        m_StopPosted = PostMessageW(m_Job.frame, PWM_COMMAND, CMD_TOGGLE_RECORDING, RECORD_STOP) != FALSE;
    return true;
}

// The UI thread stops the recording and keeps what the output holds.
void CCaptureThread::ReportWriteFailure()
{
    PostMessageW(m_Job.frame, PWM_COMMAND, CMD_WRITE_FAILED, 0);
}

void CCaptureThread::GrabNext(const ScreenRect& frame)
{
    const CNScreenDC screen;
    if (!screen)
        return;
    const bool stretch = CCaptureGeometry::IsScaled(m_Job.settings.scalePercent);
    m_Job.bitmap->Grab(screen.Get(), CCaptureGeometry::CaptureOrigin(frame), CCaptureGeometry::CaptureSize(frame),
                       stretch, CCaptureBitmap::kLayeredCopy);
}

} // namespace pelidore
