// The monitor scale's rounding and the picture resampling: portable, so the
// sanitizer tree runs them too.
#include "CNPictureScaler.h"
#include "CNScale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace pelidore {

namespace {

constexpr int kDpis[] = {96, 120, 144, 168, 192};

TEST(Scale, IsTheIdentityAtTheLayoutsOwnDpiAndForNonsense)
{
    for (const CNScale& scale : {CNScale(), CNScale(96), CNScale(0), CNScale(-144)}) {
        EXPECT_TRUE(scale.IsIdentity());
        for (int value : {-9, 0, 1, 153, 377, 32767})
            EXPECT_EQ(scale.ToPixels(value), value);
    }
}

TEST(Scale, RoundsHalfUpTheToolWindowSizes)
{
    EXPECT_EQ(CNScale(144).ToPixels(377), 566); // 565.5
    EXPECT_EQ(CNScale(144).ToPixels(153), 230); // 229.5
    EXPECT_EQ(CNScale(192).ToPixels(377), 754);
    EXPECT_EQ(CNScale(192).ToPixels(153), 306);
    EXPECT_EQ(CNScale(120).ToPixels(2), 3);   // 2.5
    EXPECT_EQ(CNScale(144).ToPixels(-1), -1); // -1.5 rounds up too
    EXPECT_EQ(CNScale(144).ToPixels(-3), -4); // -4.5
}

// Rectangles that meet in the layout meet on the screen: each edge is
// converted on its own, so a row of controls has neither gaps nor overlaps
// and the lengths add up to the whole.
TEST(Scale, EdgesThatMeetInTheLayoutMeetInPixels)
{
    for (int dpi : kDpis) {
        const CNScale scale(dpi);
        const ScreenRect left = scale.ToPixels(ScreenRect{-7, 5, 151, 91});
        const ScreenRect right = scale.ToPixels(ScreenRect{151, 5, 377, 91});
        EXPECT_EQ(left.right, right.left) << dpi;
        EXPECT_EQ(left.Width() + right.Width(), scale.ToPixels(377) - scale.ToPixels(-7)) << dpi;
    }
}

TEST(Scale, EveryPixelBelongsToTheUnitWhoseEdgeComesLastBeforeIt)
{
    for (int dpi : kDpis) {
        const CNScale scale(dpi);
        for (int unit = -40; unit <= 400; ++unit) {
            ASSERT_EQ(scale.ToLayout(scale.ToPixels(unit)), unit) << dpi;
            for (int pixel = scale.ToPixels(unit); pixel < scale.ToPixels(unit + 1); ++pixel)
                ASSERT_EQ(scale.ToLayout(pixel), unit) << dpi << " pixel " << pixel;
        }
    }
}

std::uint32_t Argb(std::uint32_t alpha, std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return alpha << 24 | red << 16 | green << 8 | blue;
}

TEST(PictureScaler, HalvingAveragesEachTwoByTwoBlock)
{
    const std::vector<std::uint32_t> picture = {
        Argb(255, 200, 0, 0), Argb(255, 0, 0, 0), Argb(255, 10, 20, 30), Argb(255, 10, 20, 30),
        Argb(255, 0, 0, 0),   Argb(255, 0, 0, 0), Argb(255, 10, 20, 30), Argb(255, 10, 20, 30),
    };
    const std::vector<std::uint32_t> half = CNPictureScaler::Resample(picture, 4, 2, 2, 1);
    ASSERT_EQ(half.size(), 2u);
    EXPECT_EQ(half[0], Argb(255, 50, 0, 0));
    EXPECT_EQ(half[1], Argb(255, 10, 20, 30));
}

TEST(PictureScaler, TransparentPixelsLendNoColourToTheEdge)
{
    const std::vector<std::uint32_t> picture = {Argb(0, 0, 0, 255), Argb(255, 255, 0, 0)};
    const std::vector<std::uint32_t> merged = CNPictureScaler::Resample(picture, 2, 1, 1, 1);
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(merged[0], Argb(128, 255, 0, 0));
}

TEST(PictureScaler, RefusesSizesThatAreNotPositiveAndShortPictures)
{
    const std::vector<std::uint32_t> picture(6, Argb(255, 1, 2, 3));
    EXPECT_TRUE(CNPictureScaler::Resample(picture, 3, 2, 0, 2).empty());
    EXPECT_TRUE(CNPictureScaler::Resample(picture, 3, 2, 2, -1).empty());
    EXPECT_TRUE(CNPictureScaler::Resample(picture, 0, 2, 2, 2).empty());
    EXPECT_TRUE(CNPictureScaler::Resample(picture, 4, 2, 2, 2).empty());
    EXPECT_EQ(CNPictureScaler::Resample(picture, 3, 2, 6, 4).size(), 24u);
}

} // namespace

} // namespace pelidore
