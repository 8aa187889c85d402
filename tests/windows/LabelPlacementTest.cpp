#include "CLabelPlacement.h"

#include <gtest/gtest.h>

namespace pelidore {

namespace {

constexpr ScreenRect kScreen{0, 0, 1280, 1000};
constexpr PixelSize kLabel{160, 22};

bool Overlaps(const ScreenRect& a, const ScreenRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

ScreenRect LabelAt(PixelPoint at, PixelSize size = kLabel)
{
    return {at.x, at.y, at.x + size.width, at.y + size.height};
}

TEST(LabelPlacement, CentredUnderTheControl)
{
    const ScreenRect button{500, 400, 552, 452};
    EXPECT_EQ(CLabelPlacement::Place(button, kLabel, kScreen), (PixelPoint{446, 452 + CLabelPlacement::kGap}));
}

TEST(LabelPlacement, OverTheControlWhenThereIsNoRoomUnderIt)
{
    const ScreenRect button{500, 960, 552, 990};
    EXPECT_EQ(CLabelPlacement::Place(button, kLabel, kScreen), (PixelPoint{446, 960 - CLabelPlacement::kGap - 22}));
}

TEST(LabelPlacement, KeptOnTheScreenAtItsSides)
{
    EXPECT_EQ(CLabelPlacement::Place({-20, 100, 10, 130}, kLabel, kScreen).x, 0);
    EXPECT_EQ(CLabelPlacement::Place({1270, 100, 1300, 130}, kLabel, kScreen).x, 1280 - 160);
    const ScreenRect second{1280, 0, 2560, 1000}; // a monitor right of the first
    EXPECT_EQ(CLabelPlacement::Place({1285, 100, 1311, 126}, kLabel, second).x, 1280);
}

// Wherever the control is, even on a screen too low for a label above or
// below it, the label stays off the control and on the screen.
TEST(LabelPlacement, NeverOnTheControlAndAlwaysOnTheScreen)
{
    for (const ScreenRect screen : {kScreen, ScreenRect{0, 0, 800, 40}}) {
        for (int x = -10; x < screen.right; x += 37) {
            for (int y = -10; y < screen.bottom; y += 23) {
                const ScreenRect button{x, y, x + 26, y + 26};
                const ScreenRect label = LabelAt(CLabelPlacement::Place(button, kLabel, screen));
                ASSERT_FALSE(Overlaps(label, button)) << x << "," << y;
                ASSERT_GE(label.left, screen.left);
                ASSERT_LE(label.right, screen.right);
                ASSERT_GE(label.top, screen.top);
                ASSERT_LE(label.bottom, screen.bottom);
            }
        }
    }
}

} // namespace

} // namespace pelidore
