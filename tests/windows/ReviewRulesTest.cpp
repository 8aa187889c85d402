// The Review window's portable rules: how a frame is fitted and reduced,
// where frames and marks lie on the timeline, and the texts.
#include "CFrameScaler.h"
#include "CReviewReadout.h"
#include "CTimelineGeometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace pelidore {

namespace {

using Size = CFrameScaler::Size;

TEST(FrameScaler, FitKeepsTheProportionsAndNeverEnlarges)
{
    EXPECT_EQ(CFrameScaler::Fit({1280, 720}, {640, 400}), (Size{640, 360}));
    EXPECT_EQ(CFrameScaler::Fit({300, 900}, {640, 400}), (Size{133, 400}));
    EXPECT_EQ(CFrameScaler::Fit({320, 200}, {640, 400}), (Size{320, 200})) << "a small frame keeps its pixels";
    EXPECT_EQ(CFrameScaler::Fit({16384, 1}, {640, 400}), (Size{640, 1})) << "never thinner than a pixel";
    EXPECT_EQ(CFrameScaler::Fit({0, 200}, {640, 400}), Size{});
    EXPECT_EQ(CFrameScaler::Fit({CFrameScaler::kMaxSide + 1, 10}, {640, 400}), Size{});
    EXPECT_EQ(CFrameScaler::Fit({100, 100}, {0, 400}), Size{});
}

// A frame of 4 x 2 pixels, rows bottom first: the bottom row black and
// white pairs, the top row pure blue.
TEST(FrameScaler, EachPixelIsTheAverageOfTheAreaItCoversWithTheTopRowFirst)
{
    const std::vector<std::uint8_t> bgr = {
        0,   0, 0, 255, 255, 255, 0,   0, 0, 255, 255, 255, // bottom row
        255, 0, 0, 255, 0,   0,   255, 0, 0, 255, 0,   0,   // top row
    };
    const std::vector<std::uint32_t> halved = CFrameScaler::Scale(bgr.data(), {4, 2}, {2, 2});
    EXPECT_EQ(halved, (std::vector<std::uint32_t>{0xFF0000FF, 0xFF0000FF, 0xFF808080, 0xFF808080}));
    const std::vector<std::uint32_t> one = CFrameScaler::Scale(bgr.data(), {4, 2}, {1, 1});
    EXPECT_EQ(one, std::vector<std::uint32_t>{0xFF4040BF});
    const std::vector<std::uint32_t> same = CFrameScaler::Scale(bgr.data(), {4, 2}, {4, 2});
    EXPECT_EQ(same[0], 0xFF0000FFu);
    EXPECT_EQ(same[5], 0xFFFFFFFFu);
    EXPECT_TRUE(CFrameScaler::Scale(nullptr, {4, 2}, {2, 2}).empty());
    EXPECT_TRUE(CFrameScaler::Scale(bgr.data(), {4, 2}, {0, 2}).empty());
}

TEST(TimelineGeometry, FramesMarksAndPressesAlongTheTrack)
{
    const CTimelineGeometry geometry(100, 600, 60); // 10 units a frame
    EXPECT_EQ(geometry.Edge(0), 100);
    EXPECT_EQ(geometry.Edge(60), 700);
    EXPECT_EQ(geometry.FrameAt(100), 0);
    EXPECT_EQ(geometry.FrameAt(109), 0);
    EXPECT_EQ(geometry.FrameAt(110), 1);
    EXPECT_EQ(geometry.FrameAt(5000), 59);
    EXPECT_EQ(geometry.BoundaryNear(214), 11);
    EXPECT_EQ(geometry.BoundaryNear(216), 12);

    EXPECT_EQ(geometry.PartAt(194, 10, 19), CTimelineGeometry::kStartMark);
    EXPECT_EQ(geometry.PartAt(203, 10, 19), CTimelineGeometry::kStartMark);
    EXPECT_EQ(geometry.PartAt(205, 10, 19), CTimelineGeometry::kFrames) << "the first kept frame stays pressable";
    EXPECT_EQ(geometry.PartAt(297, 10, 19), CTimelineGeometry::kEndMark);
    EXPECT_EQ(geometry.PartAt(306, 10, 19), CTimelineGeometry::kEndMark);
    EXPECT_EQ(geometry.PartAt(90, 10, 19), CTimelineGeometry::kNothing);
    // Marks around one frame: each takes its own side.
    EXPECT_EQ(geometry.PartAt(202, 10, 10), CTimelineGeometry::kStartMark);
    EXPECT_EQ(geometry.PartAt(208, 10, 10), CTimelineGeometry::kEndMark);
    // Both marks on one edge (frames thinner than a unit): the side of x decides.
    const CTimelineGeometry dense(0, 100, 1000);
    EXPECT_EQ(dense.PartAt(48, 500, 500), CTimelineGeometry::kStartMark);
    EXPECT_EQ(dense.PartAt(52, 500, 500), CTimelineGeometry::kEndMark);

    // More frames than units: a unit finds the frame that covers it.
    EXPECT_EQ(dense.FrameAt(0), 9);
    EXPECT_EQ(dense.FrameAt(99), 999);
    EXPECT_EQ(CTimelineGeometry(0, 100, 0).FrameAt(50), -1);
}

TEST(ReviewReadout, TextsCountFromOne)
{
    EXPECT_EQ(CReviewReadout::FrameText(0, 60), L"Frame 1 of 60");
    EXPECT_EQ(CReviewReadout::SecondsText(3.4), L"3.40 s");
    EXPECT_EQ(CReviewReadout::SecondsText(-1.0), L"0.00 s");
    EXPECT_EQ(CReviewReadout::KeptText(1, 0.1), L"Keeping 1 frame, 0.10 s");
    EXPECT_EQ(CReviewReadout::KeptText(42, 4.2), L"Keeping 42 frames, 4.20 s");
    EXPECT_EQ(CReviewReadout::SelectionText(4, 11), L"Frames 5 to 12 selected");
    EXPECT_EQ(CReviewReadout::SelectionText(4, 4), L"Frame 5 selected");
}

} // namespace

} // namespace pelidore
