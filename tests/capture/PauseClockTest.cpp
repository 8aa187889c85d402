#include "CFrameTiming.h"
#include "CPauseClock.h"

#include <gtest/gtest.h>

namespace pelidore {

namespace {

TEST(PauseClock, TheFirstFrameAfterResumingGetsItsUnpausedDelay)
{
    // Frames stamped at 1100 and 1200, a pause from 1250 to 3250, a frame at 3300.
    CPauseClock clock(1000);
    const std::uint32_t first = clock.RecordingTick(1100);
    const std::uint32_t second = clock.RecordingTick(1200);
    EXPECT_EQ(second - first, 100u);
    ASSERT_TRUE(clock.Pause(1250));
    EXPECT_EQ(clock.RecordingTick(2000), clock.RecordingTick(1250)) << "stands still while paused";
    ASSERT_TRUE(clock.Resume(3250));
    const std::uint32_t third = clock.RecordingTick(3300);
    EXPECT_EQ(third - second, 100u);
    EXPECT_FLOAT_EQ(CFrameTiming::DelaySeconds(second, third, 200), 0.05f);
    EXPECT_EQ(clock.ElapsedMs(3300), 300u);
    EXPECT_EQ(clock.PausedMs(3300), 2000u);
}

TEST(PauseClock, PausesBeforeTheFirstFrameAndSeveralPausesAddUp)
{
    CPauseClock clock(0);
    const std::uint32_t start = clock.RecordingTick(0);
    ASSERT_TRUE(clock.Pause(0));
    EXPECT_FALSE(clock.Pause(400)) << "a second pause changes nothing";
    ASSERT_TRUE(clock.Resume(500));
    EXPECT_EQ(clock.RecordingTick(600) - start, 100u);
    ASSERT_TRUE(clock.Pause(700));
    ASSERT_TRUE(clock.Resume(1700));
    EXPECT_FALSE(clock.Resume(1800));
    ASSERT_TRUE(clock.Pause(1900));
    EXPECT_EQ(clock.ElapsedMs(5000), 400u);
    EXPECT_EQ(clock.PausedMs(5000), 500u + 1000u + 3100u);
    EXPECT_TRUE(clock.IsPaused());
}

TEST(PauseClock, SurvivesTheTickCountWrappingAndStaleTicks)
{
    CPauseClock clock(0xFFFFFF00u);
    const std::uint32_t beforeWrap = clock.RecordingTick(0xFFFFFFF0u);
    ASSERT_TRUE(clock.Pause(0x50u));
    ASSERT_TRUE(clock.Resume(0x1050u));
    EXPECT_EQ(clock.ElapsedMs(0x10B4u), 0x150u + 100u);
    EXPECT_EQ(clock.RecordingTick(0x1060u) - beforeWrap, 0x10u + 0x60u);
    // A frame stamped just before the resume it reaches the clock after
    // counts as stamped at the resume, never as a jump back.
    EXPECT_EQ(clock.RecordingTick(0x1040u), clock.RecordingTick(0x1050u));
}

} // namespace

} // namespace pelidore
