#include "CReadoutRules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace pelidore {

namespace {

constexpr std::uint64_t MB = CReadoutRules::BytesPerMegabyte;
constexpr int HighSpeed = 0;

TEST(ReadoutRulesTime, FiveSecondLockCountsDownAndIsReachedAtZero)
{
    EXPECT_EQ(CReadoutRules::TimeText(0, 5), L"00:05");
    EXPECT_EQ(CReadoutRules::TimeText(4, 5), L"00:01");
    EXPECT_FALSE(CReadoutRules::TimeLockReached(4, 5));

    EXPECT_EQ(CReadoutRules::TimeText(5, 5), L"00:00");
    EXPECT_TRUE(CReadoutRules::TimeLockReached(5, 5));
    EXPECT_TRUE(CReadoutRules::LockReached(5, 0, 5, 0, HighSpeed));
}

TEST(ReadoutRulesTime, OverrunLockReadsZeroNotANegativeRemainder)
{
    EXPECT_EQ(CReadoutRules::TimeText(70, 5), L"00:00");
    EXPECT_TRUE(CReadoutRules::TimeLockReached(70, 5));
}

TEST(ReadoutRulesTime, LongLockShowsMinutesAndSecondsLeft)
{
    EXPECT_EQ(CReadoutRules::TimeText(13, 5 * 60 + 20), L"05:07");
}

TEST(ReadoutRulesTime, WithoutLockElapsedMinutesWrapModulo99)
{
    EXPECT_EQ(CReadoutRules::TimeText(247, 0), L"04:07");
    EXPECT_EQ(CReadoutRules::TimeText(99 * 60 + 59, 0), L"99:59");
    EXPECT_EQ(CReadoutRules::TimeText(6000, 0), L"01:00");
    EXPECT_EQ(CReadoutRules::TimeText(198 * 60, 0), L"00:00");
}

TEST(ReadoutRulesTime, LockOffNeverReached)
{
    EXPECT_FALSE(CReadoutRules::TimeLockReached(1000000, 0));
    EXPECT_FALSE(CReadoutRules::TimeLockReached(1000000, -5));
    EXPECT_EQ(CReadoutRules::TimeText(65, -5), L"01:05");
}

TEST(ReadoutRulesTime, HugeOrNegativeElapsedStaysTwoDigitsAndNonNegative)
{
    const std::int64_t huge = std::numeric_limits<std::int64_t>::max();
    const std::wstring text = CReadoutRules::TimeText(huge, 0);
    ASSERT_EQ(text.size(), 5u);
    EXPECT_EQ(text[2], L':');
    for (int i : {0, 1, 3, 4})
        EXPECT_TRUE(text[i] >= L'0' && text[i] <= L'9') << "at " << i;
    EXPECT_EQ(CReadoutRules::TimeText(std::numeric_limits<std::int64_t>::min(), 0), L"00:00");
    EXPECT_EQ(CReadoutRules::TimeText(-1, 5), L"00:05");
    EXPECT_FALSE(CReadoutRules::TimeLockReached(-1, 5));
    EXPECT_TRUE(CReadoutRules::TimeLockReached(huge, 5));
}

TEST(ReadoutRulesSize, HalfOfAOneMegabyteLockLeft)
{
    EXPECT_EQ(CReadoutRules::SizeText(524288, 1), L"0.5 mb");
    EXPECT_FALSE(CReadoutRules::SizeLockReached(524288, 1, HighSpeed));
}

TEST(ReadoutRulesSize, WithoutLockShowsBytesWrittenInTruncatedTenths)
{
    EXPECT_EQ(CReadoutRules::SizeText(0, 0), L"0.0 mb");
    EXPECT_EQ(CReadoutRules::SizeText(12 * MB + 350 * 1024, 0), L"12.3 mb");
    EXPECT_EQ(CReadoutRules::SizeText(2 * MB - 1, 0), L"1.9 mb");
    EXPECT_EQ(CReadoutRules::SizeText(1023, 0), L"0.0 mb");
}

TEST(ReadoutRulesSize, FullOrOverrunLockReadsZeroAndIsReached)
{
    EXPECT_EQ(CReadoutRules::SizeText(MB, 1), L"0.0 mb");
    EXPECT_TRUE(CReadoutRules::SizeLockReached(MB, 1, HighSpeed));
    EXPECT_EQ(CReadoutRules::SizeText(5 * MB, 1), L"0.0 mb");
    EXPECT_TRUE(CReadoutRules::LockReached(0, 5 * MB, 0, 1, HighSpeed));
    EXPECT_FALSE(CReadoutRules::SizeLockReached(MB - 1, 1, HighSpeed));
}

TEST(ReadoutRulesSize, LockCountsOnlyWhileWritingLive)
{
    for (int quality : {-1, 1, 2, 3}) {
        EXPECT_FALSE(CReadoutRules::ShowsSize(quality));
        EXPECT_FALSE(CReadoutRules::SizeLockReached(10 * MB, 1, quality));
        EXPECT_FALSE(CReadoutRules::LockReached(0, 10 * MB, 0, 1, quality));
    }
    EXPECT_TRUE(CReadoutRules::ShowsSize(HighSpeed));
    EXPECT_TRUE(CReadoutRules::LockReached(5, 10 * MB, 5, 1, 2)); // the time lock still counts
}

TEST(ReadoutRulesSize, ExtremeValuesDoNotOverflow)
{
    const std::uint64_t huge = std::numeric_limits<std::uint64_t>::max();
    EXPECT_EQ(CReadoutRules::SizeText(huge, 0), L"17592186044415.9 mb");
    EXPECT_EQ(CReadoutRules::SizeText(0, std::numeric_limits<int>::max()), L"2147483647.0 mb");
    EXPECT_FALSE(CReadoutRules::SizeLockReached(huge - 1, 0, HighSpeed));
    EXPECT_FALSE(CReadoutRules::SizeLockReached(huge, -1, HighSpeed));
}

} // namespace

} // namespace pelidore
