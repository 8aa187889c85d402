// The capture thread against a fake sink, under Wine: pacing, delay stamps,
// read-outs posted to the panel, one stop request per lock, a grab that
// follows the frame.
#include "BgrPixels.h"
#include "CCaptureThread.h"
#include "CNGdiplus.h"
#include "MessagePump.h"
#include "PelidoreCommands.h"
#include "SolidWindow.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using namespace pelidore;

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;

// What the capture thread handed over; read only after Stop.
struct FakeSink {
    std::vector<float> delays;
    std::vector<Bgr> centres;
    std::vector<DWORD> ticks; // when each frame was handed over
    // Seconds reported per frame, so a lock can be reached quickly.
    int secondsPerFrame = 0;
    // Frames taken before the output fails, as a full disk would; -1: never fails.
    int failAfter = -1;

    FrameSink Sink()
    {
        FrameSink sink;
        sink.take = [this](const std::uint8_t* bgr, float delay) {
            delays.push_back(delay);
            centres.push_back(PixelAt(bgr, kWidth, kHeight, kWidth / 2, kHeight / 2));
            ticks.push_back(GetTickCount());
            return failAfter < 0 || static_cast<int>(delays.size()) <= failAfter;
        };
        sink.progress = [this] {
            RecordingProgress progress;
            progress.elapsedSeconds = static_cast<std::int64_t>(delays.size()) * secondsPerFrame;
            progress.bytes = delays.size() * 1000;
            progress.framesWritten = static_cast<int>(delays.size());
            return progress;
        };
        return sink;
    }
    float DelaySum() const { return std::accumulate(delays.begin(), delays.end(), 0.0f); }
};

// Messages the capture thread posted to this thread's windows.
struct Posted {
    int readouts = 0;
    int stopRequests = 0;
    int writeFailures = 0;
    int otherCommands = 0;
    unsigned long long lastBytes = 0;
};

class CaptureThread : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Gdiplus.IsStarted());
        // The frame is only a rectangle to follow; kept hidden so it covers nothing.
        m_Frame = CreateWindowExW(0, L"STATIC", L"frame", WS_POPUP, 100 - 9, 100 - 9, kWidth + 18, kHeight + 18,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        m_Panel = CreateWindowExW(0, L"STATIC", L"panel", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_Frame, nullptr);
        ASSERT_NE(m_Panel, nullptr);
        ASSERT_TRUE(m_Bitmap.Create({kWidth, kHeight}));
    }
    void TearDown() override
    {
        DestroyWindow(m_Frame);
        DestroyWindow(m_Panel);
    }

    CaptureJob Job(FakeSink& sink, int fps)
    {
        CaptureJob job;
        job.frame = m_Frame;
        job.panel = m_Panel;
        job.settings.framesPerSecond = fps;
        job.output = {kWidth, kHeight};
        job.bitmap = &m_Bitmap;
        job.logo = &m_Logo;
        job.sink = sink.Sink();
        job.startTick = GetTickCount();
        return job;
    }

    // Runs this thread's queue for a while, counting what was posted.
    void Collect(unsigned milliseconds)
    {
        MessagePump::RunFor(milliseconds, [this](const MSG& message) {
            if (message.hwnd == m_Panel && message.message == PWM_READOUT) {
                ++m_Posted.readouts;
                m_Posted.lastBytes = static_cast<unsigned long long>(message.lParam);
                return true;
            }
            if (message.hwnd == m_Frame && message.message == PWM_COMMAND) {
                const bool stop = message.wParam == CMD_TOGGLE_RECORDING && message.lParam == RECORD_STOP;
                if (message.wParam == CMD_WRITE_FAILED)
                    ++m_Posted.writeFailures;
                else
                    ++(stop ? m_Posted.stopRequests : m_Posted.otherCommands);
                return true;
            }
            return false;
        });
    }

    CNGdiplus m_Gdiplus;
    HWND m_Frame = nullptr;
    HWND m_Panel = nullptr;
    CCaptureBitmap m_Bitmap;
    CLogoPainter m_Logo;
    Posted m_Posted;
};

} // namespace

TEST_F(CaptureThread, PacesAtTheFrameRateAndStampsTheRealSpacing)
{
    FakeSink sink;
    CCaptureThread thread;
    const DWORD started = GetTickCount();
    ASSERT_TRUE(thread.Start(Job(sink, 20)));
    EXPECT_TRUE(thread.IsRunning());
    Collect(600);
    const int frames = thread.Stop();
    const float elapsed = static_cast<float>(GetTickCount() - started) / 1000.0f;
    Collect(50);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(frames, static_cast<int>(sink.delays.size()));
    // A loaded machine may run late, never early: slow passes give longer
    // delays, and the delays always add up to the time recorded.
    EXPECT_GE(frames, 5);
    EXPECT_LE(frames, 14);
    EXPECT_LT(sink.delays.front(), 0.03f); // from the start to the first pass
    EXPECT_NEAR(sink.DelaySum(), elapsed, 0.1f);
    for (std::size_t i = 1; i < sink.delays.size(); ++i)
        EXPECT_GE(sink.delays[i], 0.04f) << i;
    EXPECT_EQ(m_Posted.readouts, frames);
    EXPECT_EQ(m_Posted.lastBytes, static_cast<unsigned long long>(frames) * 1000);
    EXPECT_EQ(m_Posted.stopRequests + m_Posted.otherCommands, 0);
}

TEST_F(CaptureThread, PlaybackSpeedDividesTheDelays)
{
    FakeSink sink;
    CCaptureThread thread;
    CaptureJob job = Job(sink, 10);
    job.settings.speedPercent = 200;
    const DWORD started = GetTickCount();
    ASSERT_TRUE(thread.Start(job));
    Collect(550);
    thread.Stop();
    const float elapsed = static_cast<float>(GetTickCount() - started) / 1000.0f;
    ASSERT_GE(sink.delays.size(), 3u);
    EXPECT_NEAR(sink.DelaySum(), elapsed / 2, 0.06f);
    // Halved, not shortened further: on a busy machine a pass stamped late
    // is followed by one stamped on time, so single delays spread around 0.05.
    for (std::size_t i = 1; i < sink.delays.size(); ++i)
        EXPECT_GE(sink.delays[i], 0.025f) << i;
}

TEST_F(CaptureThread, AReachedLockAsksForTheStopOnceWithAStopOnlyRequest)
{
    FakeSink sink;
    sink.secondsPerFrame = 1;
    CCaptureThread thread;
    CaptureJob job = Job(sink, 30);
    job.timeLimitSeconds = 2;
    ASSERT_TRUE(thread.Start(job));
    Collect(400);
    const int frames = thread.Stop();
    Collect(50);
    EXPECT_GT(frames, 4);
    EXPECT_EQ(m_Posted.stopRequests, 1);
    EXPECT_EQ(m_Posted.otherCommands, 0);
}

TEST_F(CaptureThread, AFrameTheOutputCannotTakeEndsThePassesAndAsksOnceForTheStop)
{
    FakeSink sink;
    sink.failAfter = 3;
    CCaptureThread thread;
    ASSERT_TRUE(thread.Start(Job(sink, 30)));
    Collect(400);
    EXPECT_EQ(sink.delays.size(), 4u) << "nothing is handed over after the failure";
    EXPECT_EQ(thread.Stop(), 3);
    Collect(50);
    EXPECT_EQ(m_Posted.writeFailures, 1);
    EXPECT_EQ(m_Posted.readouts, 3);
    EXPECT_EQ(m_Posted.stopRequests + m_Posted.otherCommands, 0);
}

TEST_F(CaptureThread, LocksSetWhileRecordingTakeEffect)
{
    FakeSink sink;
    sink.secondsPerFrame = 1;
    CCaptureThread thread;
    ASSERT_TRUE(thread.Start(Job(sink, 30)));
    Collect(200);
    EXPECT_EQ(m_Posted.stopRequests, 0);
    thread.SetLocks(1, 0);
    Collect(200);
    thread.Stop();
    Collect(50);
    EXPECT_EQ(m_Posted.stopRequests, 1);
}

TEST_F(CaptureThread, TheGrabFollowsTheFrameWhenItMoves)
{
    SolidWindow red(100, 100, kWidth, kHeight, RGB(220, 0, 0));
    SolidWindow green(400, 100, kWidth, kHeight, RGB(0, 220, 0));
    FakeSink sink;
    CCaptureThread thread;
    ASSERT_TRUE(thread.Start(Job(sink, 20)));
    Collect(300);
    ASSERT_TRUE(SetWindowPos(m_Frame, nullptr, 400 - 9, 100 - 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    Collect(300);
    thread.Stop();
    ASSERT_GE(sink.centres.size(), 6u);
    EXPECT_EQ(sink.centres[1], (Bgr{0, 0, 220}));
    EXPECT_EQ(sink.centres.back(), (Bgr{0, 220, 0}));
}

TEST_F(CaptureThread, APauseHandsOverNothingIsLeftOutOfTheDelaysAndResumesWithAFreshImage)
{
    SolidWindow window(100, 100, kWidth, kHeight, RGB(220, 0, 0));
    FakeSink sink;
    CCaptureThread thread;
    const DWORD started = GetTickCount();
    ASSERT_TRUE(thread.Start(Job(sink, 10)));
    Collect(400);
    const DWORD paused = GetTickCount();
    ASSERT_TRUE(thread.Pause());
    EXPECT_FALSE(thread.Pause());
    // The screen changes while nothing is recorded.
    window.SetColour(RGB(0, 220, 0));
    Collect(800);
    const DWORD resumed = GetTickCount();
    ASSERT_TRUE(thread.Resume());
    Collect(400);
    thread.Stop();
    const float recorded = static_cast<float>((GetTickCount() - started) - (resumed - paused)) / 1000.0f;

    EXPECT_NEAR(sink.DelaySum(), recorded, 0.15f);
    int after = 0;
    for (std::size_t i = 0; i < sink.ticks.size(); ++i) {
        const DWORD at = sink.ticks[i];
        EXPECT_FALSE(at > paused + 20 && at < resumed) << "frame " << i << " handed over while paused";
        if (at >= resumed) {
            // The image grabbed before the pause would still be red.
            EXPECT_EQ(sink.centres[i], (Bgr{0, 220, 0})) << "frame " << i;
            ++after;
        }
    }
    EXPECT_GE(after, 2);
}

TEST_F(CaptureThread, RefusesIncompleteJobsAndASecondStart)
{
    FakeSink sink;
    CCaptureThread thread;
    CaptureJob job = Job(sink, 10);
    job.sink.take = nullptr;
    EXPECT_FALSE(thread.Start(job));
    job = Job(sink, 10);
    job.frame = nullptr;
    EXPECT_FALSE(thread.Start(job));
    ASSERT_TRUE(thread.Start(Job(sink, 10)));
    EXPECT_FALSE(thread.Start(Job(sink, 10)));
    thread.Stop();
    EXPECT_EQ(thread.Stop(), static_cast<int>(sink.delays.size()));
}
