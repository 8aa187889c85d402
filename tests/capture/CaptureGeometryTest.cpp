#include "CCaptureGeometry.h"

#include <gtest/gtest.h>

namespace pelidore {

using pelidore::CCaptureGeometry;
using pelidore::PixelPoint;
using pelidore::PixelSize;
using pelidore::ScreenRect;

TEST(CaptureGeometry, CaptureSizeDropsTheBorderAndRoundsTheWidthDownToFour)
{
    EXPECT_EQ(CCaptureGeometry::CaptureSize(640, 360), (PixelSize{620, 342}));
    EXPECT_EQ(CCaptureGeometry::CaptureSize(641, 360), (PixelSize{620, 342}));
    EXPECT_EQ(CCaptureGeometry::CaptureSize(642, 100), (PixelSize{624, 82}));
    EXPECT_EQ(CCaptureGeometry::CaptureSize(ScreenRect{-9, -9, 1291, 711}), (PixelSize{1280, 702}));
}

TEST(CaptureGeometry, FramesNarrowerThanTheBorderGiveAnEmptyRegionNotANegativeOne)
{
    EXPECT_EQ(CCaptureGeometry::CaptureSize(21, 19), (PixelSize{0, 1}));
    EXPECT_TRUE(CCaptureGeometry::CaptureSize(21, 19).IsEmpty());
    EXPECT_EQ(CCaptureGeometry::CaptureSize(5, 3), (PixelSize{0, 0}));
}

TEST(CaptureGeometry, CaptureOriginIsNineInsideTheFrame)
{
    EXPECT_EQ(CCaptureGeometry::CaptureOrigin(ScreenRect{480, 320, 1120, 680}), (PixelPoint{489, 329}));
}

TEST(CaptureGeometry, OutputSizeScalesInSinglePrecisionAndKeepsTheWidthAMultipleOfFour)
{
    const PixelSize capture{620, 342};
    EXPECT_EQ(CCaptureGeometry::OutputSize(capture, 100), capture);
    EXPECT_EQ(CCaptureGeometry::OutputSize(capture, 50), (PixelSize{308, 171}));
    EXPECT_EQ(CCaptureGeometry::OutputSize(capture, 30), (PixelSize{184, 102}));
    EXPECT_EQ(CCaptureGeometry::OutputSize(PixelSize{1280, 702}, 77), (PixelSize{984, 540}));
}

TEST(CaptureGeometry, ScalesOutsideTheSettingsRangeAreHeldToIt)
{
    const PixelSize capture{620, 342};
    EXPECT_EQ(CCaptureGeometry::OutputSize(capture, 0), CCaptureGeometry::OutputSize(capture, 30));
    EXPECT_EQ(CCaptureGeometry::OutputSize(capture, 250), capture);
}

TEST(CaptureGeometry, CursorIsMeasuredFromEightInsideTheFrame)
{
    const ScreenRect frame{100, 200, 740, 560};
    const PixelSize output{620, 342};
    EXPECT_EQ(CCaptureGeometry::CursorInFrame({108, 208}, frame, output, 100), (PixelPoint{0, 0}));
    EXPECT_EQ(CCaptureGeometry::CursorInFrame({400, 300}, frame, output, 100), (PixelPoint{292, 92}));
    EXPECT_EQ(CCaptureGeometry::CursorInFrame({50, 150}, frame, output, 100), (PixelPoint{-58, -58}));
}

TEST(CaptureGeometry, ScaledCursorPositionDividesByTheCaptureSizeBeforeRounding)
{
    const ScreenRect frame{100, 100, 741, 460}; // capture 623 x 342 before rounding
    const PixelSize output = CCaptureGeometry::OutputSize(CCaptureGeometry::CaptureSize(frame), 50);
    ASSERT_EQ(output, (PixelSize{308, 171}));
    const PixelPoint cursor{100 + 8 + 246, 100 + 8 + 171};
    EXPECT_EQ(CCaptureGeometry::CursorInFrame(cursor, frame, output, 50),
              (PixelPoint{246 * 308 / 623, 171 * 171 / 342}));
}

TEST(CaptureGeometry, CursorSizeHalvesAMonochromeMaskAndScales)
{
    EXPECT_EQ(CCaptureGeometry::CursorSize({32, 32}, true, 100), (PixelSize{32, 32}));
    EXPECT_EQ(CCaptureGeometry::CursorSize({32, 64}, false, 100), (PixelSize{32, 32}));
    EXPECT_EQ(CCaptureGeometry::CursorSize({32, 32}, true, 50), (PixelSize{16, 16}));
    EXPECT_EQ(CCaptureGeometry::CursorSize({32, 64}, false, 30), (PixelSize{9, 9}));
}

} // namespace pelidore
