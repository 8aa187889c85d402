// CKeptFrames: the marks, deleted frames and the one step of undo of a
// recording under review.
#include "CKeptFrames.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelidore {

namespace {

// Ten frames whose delays all differ, so a sum tells which frames it holds.
CKeptFrames TenFrames()
{
    std::vector<float> delays;
    for (int i = 0; i < 10; ++i)
        delays.push_back(0.01f * float(i + 1));
    return CKeptFrames(delays);
}

std::vector<int> KeptFrames(const CKeptFrames& frames)
{
    std::vector<int> kept;
    for (int i = 0; i < frames.FrameCount(); ++i)
        if (frames.IsKept(i))
            kept.push_back(i);
    return kept;
}

} // namespace

TEST(KeptFrames, MarksRefuseWhatNamesNoFrameAndPushTheOtherMark)
{
    CKeptFrames frames = TenFrames();
    EXPECT_EQ(frames.First(), 0);
    EXPECT_EQ(frames.Last(), 9);
    ASSERT_TRUE(frames.SetRange(2, 7));
    for (auto [first, last] : std::vector<std::pair<int, int>>{{-1, 3}, {5, 4}, {0, 10}}) {
        EXPECT_FALSE(frames.SetRange(first, last)) << first << ".." << last;
        EXPECT_EQ(frames.First(), 2);
        EXPECT_EQ(frames.Last(), 7);
    }
    EXPECT_TRUE(frames.SetFirst(8));
    EXPECT_EQ(frames.Last(), 8) << "the end mark moves along";
    EXPECT_TRUE(frames.SetLast(3));
    EXPECT_EQ(frames.First(), 3) << "the start mark moves along";
    EXPECT_FALSE(frames.SetFirst(10));
    EXPECT_FALSE(frames.SetLast(-1));
    EXPECT_EQ(frames.First(), 3);
    EXPECT_EQ(frames.Last(), 3);

    // Marks around deleted frames only would leave nothing to save.
    ASSERT_TRUE(frames.SetRange(0, 9));
    ASSERT_TRUE(frames.Delete(4, 6));
    EXPECT_FALSE(frames.SetRange(4, 6));
    ASSERT_TRUE(frames.SetFirst(5));
    EXPECT_FALSE(frames.SetLast(6));
    EXPECT_EQ(KeptFrames(frames), (std::vector<int>{7, 8, 9}));
}

TEST(KeptFrames, AnEmptyRecordingKeepsNothingAndAcceptsNoMark)
{
    const CKeptFrames none;
    EXPECT_EQ(none.FrameCount(), 0);
    EXPECT_EQ(none.RecordedSeconds(), 0.0);
    EXPECT_EQ(none.TimeAt(3), 0.0);
    EXPECT_EQ(none.KeptCount(), 0);
    EXPECT_TRUE(none.KeptMask().empty());
    EXPECT_EQ(none.NextKept(0), -1);
    CKeptFrames empty(std::vector<float>{});
    EXPECT_FALSE(empty.SetRange(0, 0));
    EXPECT_FALSE(empty.Delete(0, 0));
}

TEST(KeptFrames, DeletingTakesOutExactlyTheTimeOfTheDeletedFrames)
{
    CKeptFrames frames = TenFrames();
    EXPECT_NEAR(frames.RecordedSeconds(), 0.55, 1e-6);
    EXPECT_NEAR(frames.TimeAt(3), 0.06, 1e-6);
    EXPECT_FALSE(frames.IsCut());
    ASSERT_TRUE(frames.Delete(3, 5));
    EXPECT_TRUE(frames.IsCut());
    EXPECT_EQ(frames.KeptCount(), 7);
    EXPECT_NEAR(frames.KeptSeconds(), 0.55 - 0.04 - 0.05 - 0.06, 1e-6);
    EXPECT_NEAR(frames.TimeAt(6), 0.21, 1e-6) << "the recording's own timeline is untouched";
    EXPECT_TRUE(frames.IsDeleted(4));
    EXPECT_FALSE(frames.IsDeleted(6));

    // Clamped to the recording; a range beyond it names no frame.
    EXPECT_TRUE(frames.Delete(8, 100));
    EXPECT_FALSE(frames.Delete(20, 30));
    EXPECT_FALSE(frames.Delete(5, 3));
    ASSERT_TRUE(frames.SetRange(1, 8));
    EXPECT_EQ(frames.KeptMask(), (std::vector<bool>{false, true, true, false, false, false, true, true, false, false}));
    EXPECT_NEAR(frames.KeptSeconds(), 0.02 + 0.03 + 0.07 + 0.08, 1e-6);
}

TEST(KeptFrames, ADeleteThatWouldLeaveNothingIsRefusedAndChangesNothing)
{
    CKeptFrames frames = TenFrames();
    ASSERT_TRUE(frames.SetRange(2, 4));
    EXPECT_FALSE(frames.Delete(0, 9));
    EXPECT_FALSE(frames.CanUndo());
    EXPECT_EQ(frames.KeptCount(), 3);
    ASSERT_TRUE(frames.Delete(2, 3));
    EXPECT_FALSE(frames.Delete(4, 4));
    EXPECT_EQ(KeptFrames(frames), std::vector<int>{4});
    EXPECT_FALSE(frames.IsDeleted(4));
}

TEST(KeptFrames, UndoTakesBackTheLastDeleteOnceAndLeavesTheMarks)
{
    CKeptFrames frames = TenFrames();
    EXPECT_FALSE(frames.Undo());
    ASSERT_TRUE(frames.Delete(1, 2));
    ASSERT_TRUE(frames.Delete(5, 6));
    ASSERT_TRUE(frames.SetRange(0, 8));
    ASSERT_TRUE(frames.CanUndo());
    EXPECT_TRUE(frames.Undo());
    EXPECT_EQ(KeptFrames(frames), (std::vector<int>{0, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(frames.Last(), 8) << "undoing a delete does not move the marks";
    EXPECT_FALSE(frames.CanUndo());
    EXPECT_FALSE(frames.Undo());
    EXPECT_TRUE(frames.IsDeleted(1));
}

TEST(KeptFrames, NextKeptWrapsWithinTheMarksSkippingDeletedFrames)
{
    CKeptFrames frames = TenFrames();
    ASSERT_TRUE(frames.SetRange(2, 7));
    ASSERT_TRUE(frames.Delete(4, 5));
    std::vector<int> played;
    for (int frame = frames.FirstKept(), i = 0; i < 5; ++i, frame = frames.NextKept(frame))
        played.push_back(frame);
    EXPECT_EQ(played, (std::vector<int>{2, 3, 6, 7, 2}));
    EXPECT_EQ(frames.NextKept(0), 2);
    EXPECT_EQ(frames.NextKept(9), 2);
    ASSERT_TRUE(frames.Delete(7, 7));
    EXPECT_EQ(frames.LastKept(), 6);
    EXPECT_EQ(frames.NextKept(6), 2);
}

} // namespace pelidore
