#include "CFittedFrames.h"
#include "CFrameScaler.h"
#include "CSizeFitter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

using namespace pelidore;

namespace {

// A GIF whose size follows the pixels written, a little less than in
// proportion to the frames kept (fewer frames change more each).
std::uint64_t ModelSize(std::uint64_t full, const FitStep& step)
{
    const double scale = step.scalePercent / 100.0;
    return static_cast<std::uint64_t>(full * std::pow(step.keepRatio, 0.8) * scale * scale);
}

struct Search {
    CSizeFitter::Verdict verdict;
    FitStep step;
    std::uint64_t size;
    int passes;
};

Search RunSearch(std::uint64_t limit, std::uint64_t full, double fps)
{
    CSizeFitter fitter(limit, fps);
    for (;;) {
        const CSizeFitter::Verdict verdict = fitter.Record(ModelSize(full, fitter.Current()));
        if (verdict != CSizeFitter::Verdict::TryAgain)
            return {verdict, fitter.BestFit(), ModelSize(full, fitter.BestFit()), fitter.Passes()};
    }
}

} // namespace

TEST(SizeFitter, LandsInTheBandAndDropsFramesBeforeScaling)
{
    const std::uint64_t limit = 1000000;
    for (double over : {1.0, 1.5, 2.0, 3.0, 5.0, 12.0, 40.0}) {
        SCOPED_TRACE(over);
        const Search search = RunSearch(limit, static_cast<std::uint64_t>(limit * over), 10.0);
        ASSERT_EQ(search.verdict, CSizeFitter::Verdict::Done);
        EXPECT_LE(search.size, limit);
        if (over > 1.0) {
            EXPECT_GE(search.size, limit * 8 / 10);
        }
        if (search.step.scalePercent < 100) {
            EXPECT_DOUBLE_EQ(search.step.keepRatio, 0.5); // 5 fps of 10 first
        }
        EXPECT_LE(search.passes, CSizeFitter::kMaxPasses);
    }
    EXPECT_EQ(RunSearch(limit, limit * 3 / 2, 10.0).step.scalePercent, 100);
}

TEST(SizeFitter, GivesUpWhenEvenTheSmallestStepIsTooLarge)
{
    const Search search = RunSearch(1000, 100000000, 10.0);
    EXPECT_EQ(search.verdict, CSizeFitter::Verdict::CannotFit);
    // A recording at 5 fps or less keeps every frame and only scales.
    CSizeFitter slow(1000, 4.0);
    EXPECT_DOUBLE_EQ(slow.StepFor(0.25).keepRatio, 1.0);
    EXPECT_EQ(slow.StepFor(0.25).scalePercent, 50);
}

TEST(FittedFrames, DroppedFramesGiveTheirTimeToTheFrameBefore)
{
    const std::vector<std::uint8_t> frame(4 * 2 * 3, 9);
    std::vector<float> delays;
    CFittedFrames fitted(4, 2, FitStep{0.4, 100}, [&](const std::uint8_t*, float delay) { delays.push_back(delay); });
    const float recorded[] = {0.1f, 0.2f, 0.1f, 0.1f, 0.3f, 0.1f, 0.1f};
    for (float delay : recorded)
        fitted.Push(frame.data(), delay);
    fitted.Finish();
    ASSERT_EQ(delays.size(), 3u); // frames 0, 3 and 5 of 7
    EXPECT_FLOAT_EQ(delays[0], 0.4f);
    EXPECT_FLOAT_EQ(delays[1], 0.4f);
    EXPECT_FLOAT_EQ(delays[2], 0.2f);
    int kept = 0;
    for (int i = 0; i < 100; ++i)
        kept += CFittedFrames::Keeps(0.5, i) ? 1 : 0;
    EXPECT_EQ(kept, 50);
}

TEST(FrameScaler, AveragesWhatEachPixelCovers)
{
    // 4 x 2 to 50 %: 2 x 1; each target pixel is the mean of a 2 x 2 block.
    const std::vector<std::uint8_t> bgr = {0, 0, 0, 100, 100, 100, 10, 20, 30, 10, 20, 30,
                                           0, 0, 0, 100, 100, 100, 10, 20, 30, 50, 60, 70};
    CFrameScaler scaler(4, 2, 50);
    ASSERT_EQ(scaler.OutWidth(), 2);
    ASSERT_EQ(scaler.OutHeight(), 1);
    const std::uint8_t* out = scaler.Scale(bgr.data());
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 6), (std::vector<std::uint8_t>{50, 50, 50, 20, 30, 40}));
    EXPECT_EQ(CFrameScaler::ScaledLength(1, 20), 1);
    EXPECT_EQ(CFrameScaler::ScaledLength(1280, 80), 1024);
}
