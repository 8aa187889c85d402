#include "CFrameTiming.h"

#include <gtest/gtest.h>

namespace pelidore {

using pelidore::CFrameTiming;

TEST(FrameTiming, IntervalIsWholeMillisecondsOfTheFrameRate)
{
    EXPECT_EQ(CFrameTiming::FrameIntervalMs(10), 100u);
    EXPECT_EQ(CFrameTiming::FrameIntervalMs(7), 142u);
    EXPECT_EQ(CFrameTiming::FrameIntervalMs(30), 33u);
    EXPECT_EQ(CFrameTiming::FrameIntervalMs(0), 1000u);
    EXPECT_EQ(CFrameTiming::FrameIntervalMs(500), 33u);
}

TEST(FrameTiming, DelayIsTheTickSpacingDividedByThePlaybackSpeed)
{
    EXPECT_FLOAT_EQ(CFrameTiming::DelaySeconds(1000, 1100, 200), 0.05f);
    EXPECT_FLOAT_EQ(CFrameTiming::DelaySeconds(1000, 1100, 100), 0.1f);
    EXPECT_FLOAT_EQ(CFrameTiming::DelaySeconds(1000, 1100, 50), 0.2f);
    EXPECT_FLOAT_EQ(CFrameTiming::DelaySeconds(5000, 5000, 100), 0.0f);
    // Bit-exact with the single-precision chain the file formats carry.
    EXPECT_EQ(CFrameTiming::DelaySeconds(0, 66, 100), 66.0f / 1000.0f / 100.0f * 100.0f);
}

TEST(FrameTiming, DelaySurvivesTheTickCountWrapping)
{
    EXPECT_FLOAT_EQ(CFrameTiming::DelaySeconds(0xFFFFFFF0u, 0x54u, 100), 0.1f);
}

TEST(FrameTiming, ADamagedSpeedPlaysInRealTime)
{
    EXPECT_FLOAT_EQ(CFrameTiming::DelaySeconds(0, 100, 0), 0.1f);
    EXPECT_FLOAT_EQ(CFrameTiming::DelaySeconds(0, 100, -50), 0.1f);
}

TEST(FrameTiming, SleepFillsTheIntervalAndNeverGoesNegative)
{
    EXPECT_EQ(CFrameTiming::SleepAfterPass(1000, 1030, 100), 70u);
    EXPECT_EQ(CFrameTiming::SleepAfterPass(1000, 1100, 100), 0u);
    EXPECT_EQ(CFrameTiming::SleepAfterPass(1000, 1250, 100), 0u);
    EXPECT_EQ(CFrameTiming::SleepAfterPass(0xFFFFFFFBu, 5, 100), 90u);
}

} // namespace pelidore
