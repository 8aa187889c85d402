// "Review before saving" in the real program under Wine, driven by pelictl:
// a recording trimmed in its review becomes a GIF of exactly the kept frames
// with their own delays, a live one saved uncut stays as it was written, and
// a quit while reviewing loses nothing.
#include "EndToEndTest.h"
#include "Options.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace pelidore;

namespace {

class ReviewEndToEnd : public EndToEndTest {
protected:
    void StartReviewing(int quality)
    {
        Options options;
        options.reviewBeforeSaving = true;
        WriteOptions(options);
        WriteConfig(10, quality);
        StartPelidore();
    }

    // Records, and waits for the review that opens at the stop; returns the
    // delays of the recorded frames, as the review reads them.
    std::vector<float> RecordForReview(unsigned milliseconds)
    {
        Record(milliseconds);
        EXPECT_TRUE(WaitForState(STATE_REVIEWING, true, 10000));
        std::vector<float> delays;
        const std::vector<fs::path> stores = FilesEndingWith(L".dat");
        EXPECT_EQ(stores.size(), 1u);
        CFrameStoreReader store;
        if (stores.empty() || !store.OpenForReading(stores.front()))
            return delays;
        CFrameStoreReader::Frame frame;
        while (store.NextFrame(frame) == CFrameStoreReader::ReadStatus::Frame)
            delays.push_back(frame.delay);
        return delays;
    }

    static int Review(const wchar_t* action, int first, int last)
    {
        return Pelictl(std::wstring(action) + L" " + std::to_wstring(first) + L" " + std::to_wstring(last));
    }

    // The GIF holds the kept frames (counted from 1) and nothing else: each
    // keeps its own delay, give or take the hundredth a GIF carries over.
    void ExpectKeptFrames(const std::vector<float>& delays, const std::vector<int>& kept)
    {
        GifFile gif(OnlyGif());
        ASSERT_TRUE(gif.IsOpen()) << gif.Error();
        ASSERT_EQ(gif.FrameCount(), static_cast<int>(kept.size()));
        double seconds = 0.0;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            const float delay = delays[static_cast<std::size_t>(kept[i] - 1)];
            seconds += delay;
            EXPECT_LE(std::abs(gif.DelayOf(static_cast<int>(i)) - delay * 100.0f), 1.5f) << "frame " << kept[i];
        }
        EXPECT_NEAR(gif.TotalCentiseconds() / 100.0, seconds, 0.02);
        EXPECT_TRUE(FilesEndingWith(L".dat").empty());
    }

    // Frames first..last, without frames cutFirst..cutLast.
    static std::vector<int> Kept(int first, int last, int cutFirst, int cutLast)
    {
        std::vector<int> kept;
        for (int frame = first; frame <= last; ++frame) {
            if (frame < cutFirst || frame > cutLast)
                kept.push_back(frame);
        }
        return kept;
    }
};

} // namespace

TEST_F(ReviewEndToEnd, DeferredRecordingTrimmedToARangeWithFramesDeleted)
{
    StartReviewing(2); // "Medium Quality": saved after the review
    const std::vector<float> delays = RecordForReview(2500);
    const int frames = static_cast<int>(delays.size());
    ASSERT_GE(frames, 12);
    EXPECT_EQ(Review(L"review-range", 3, frames - 2), 0);
    EXPECT_EQ(Review(L"review-delete", 6, 8), 0);
    EXPECT_EQ(Pelictl(L"review-save"), 0);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    ExpectKeptFrames(delays, Kept(3, frames - 2, 6, 8));
}

TEST_F(ReviewEndToEnd, LiveRecordingSavedUncutStaysAsWrittenAndCutIsWrittenAgain)
{
    StartReviewing(0); // "High Speed": written live
    RecordForReview(1500);
    const std::string written = ReadWhole(OnlyGif());
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(Pelictl(L"review-save"), 0);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    EXPECT_EQ(ReadWhole(OnlyGif()), written);
    EXPECT_TRUE(FilesEndingWith(L".dat").empty());
    fs::remove(OnlyGif());

    const std::vector<float> delays = RecordForReview(2000);
    const int frames = static_cast<int>(delays.size());
    ASSERT_GE(frames, 8);
    EXPECT_EQ(Review(L"review-range", 2, frames - 3), 0);
    EXPECT_EQ(Pelictl(L"review-save"), 0);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    ExpectKeptFrames(delays, Kept(2, frames - 3, 0, 0));
}

TEST_F(ReviewEndToEnd, QuitWhileReviewingKeepsEveryFrameAndDiscardDeletesIt)
{
    StartReviewing(2);
    const int frames = static_cast<int>(RecordForReview(1500).size());
    ASSERT_GT(frames, 0);
    EXPECT_EQ(Review(L"review-range", 2, 3), 0);
    Quit();
    EXPECT_EQ(KeptFrames(), frames);
    WriteOptions(Options{});
    ExpectSavedAtNextStart(frames); // the cut was never confirmed
    Quit();
    fs::remove(OnlyGif());

    // A live GIF already holds every frame: its review store goes.
    StartReviewing(0);
    RecordForReview(1000);
    Quit();
    EXPECT_TRUE(FilesEndingWith(L".dat").empty());
    fs::remove(OnlyGif());

    StartReviewing(0);
    RecordForReview(1000);
    EXPECT_EQ(Pelictl(L"review-discard"), 0);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    EXPECT_TRUE(FilesEndingWith(L".gif").empty());
    EXPECT_TRUE(FilesEndingWith(L".dat").empty());
}
