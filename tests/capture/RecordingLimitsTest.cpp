#include "CRecordingLimits.h"

#include <gtest/gtest.h>

namespace pelidore {

using pelidore::CRecordingLimits;
using pelidore::RecordingLocks;
using pelidore::RecordingProgress;

TEST(RecordingLimits, WriterGetsTheSizeLockInBytesOnlyInLiveMode)
{
    EXPECT_EQ(CRecordingLimits::WriterSizeLimit(1, 0), 1048576u);
    EXPECT_EQ(CRecordingLimits::WriterSizeLimit(3000, 0), 3000ull * 1048576u);
    EXPECT_EQ(CRecordingLimits::WriterSizeLimit(0, 0), 0u);
    EXPECT_EQ(CRecordingLimits::WriterSizeLimit(5, 2), 0u);
    EXPECT_EQ(CRecordingLimits::WriterSizeLimit(5, -1), 0u);
}

TEST(RecordingLimits, TimeLockStopsOnceItsSecondsHaveElapsed)
{
    const RecordingLocks fiveSeconds{5, 0, 2};
    EXPECT_FALSE(CRecordingLimits::ShouldStop({4, 0, 40, 0}, fiveSeconds));
    EXPECT_TRUE(CRecordingLimits::ShouldStop({5, 0, 50, 0}, fiveSeconds));
    EXPECT_FALSE(CRecordingLimits::ShouldStop({500, 0, 5000, 0}, RecordingLocks{0, 0, 2}));
}

TEST(RecordingLimits, SizeLockCountsOnlyInLiveMode)
{
    EXPECT_TRUE(CRecordingLimits::ShouldStop({1, 1048576, 9, 0}, RecordingLocks{0, 1, 0}));
    EXPECT_FALSE(CRecordingLimits::ShouldStop({1, 1048576, 9, 0}, RecordingLocks{0, 1, 1}));
}

TEST(RecordingLimits, StopsWhenTheNextAverageFrameWouldPassTheWritersLimit)
{
    // The lock test alone would wait for the file to reach a whole megabyte.
    const RecordingLocks oneMegabyte{0, 1, 0};
    EXPECT_FALSE(CRecordingLimits::ShouldStop({1, 900000, 9, 1048576}, oneMegabyte));
    EXPECT_TRUE(CRecordingLimits::ShouldStop({1, 950000, 9, 1048576}, oneMegabyte));
    EXPECT_FALSE(CRecordingLimits::ShouldStop({1, 950000, 0, 1048576}, oneMegabyte));
}

} // namespace pelidore
