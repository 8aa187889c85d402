#include "CLogoLayout.h"

#include <gtest/gtest.h>

namespace pelidore {

using pelidore::CLogoLayout;
using pelidore::LogoAlignment;
using pelidore::LogoSpot;
using pelidore::LogoTextBox;

constexpr LogoAlignment Near = LogoAlignment::Near;
constexpr LogoAlignment Far = LogoAlignment::Far;

TEST(LogoLayout, TextBoxIsOneLineAlignedTowardsItsCorner)
{
    EXPECT_EQ(CLogoLayout::TextBox(0, 10, 10, 20, 400, 300), (LogoTextBox{10, 10, 390, 22, Near, Near}));
    EXPECT_EQ(CLogoLayout::TextBox(1, 10, 10, 20, 400, 300), (LogoTextBox{0, 10, 390, 22, Far, Near}));
    EXPECT_EQ(CLogoLayout::TextBox(2, 10, 10, 20, 400, 300), (LogoTextBox{0, 268, 390, 22, Far, Far}));
    EXPECT_EQ(CLogoLayout::TextBox(3, 10, 10, 20, 400, 300), (LogoTextBox{10, 268, 390, 22, Near, Far}));
}

TEST(LogoLayout, TextBoxUsesEachMarginOnItsOwnAxis)
{
    EXPECT_EQ(CLogoLayout::TextBox(3, 7, 3, 12, 620, 342), (LogoTextBox{7, 325, 613, 14, Near, Far}));
}

TEST(LogoLayout, TextWithAnUnknownCornerGoesWhereAnImageWould)
{
    const LogoTextBox box = CLogoLayout::TextBox(7, 10, 10, 20, 400, 300);
    const LogoSpot spot = CLogoLayout::ImageSpot(7, 10, 10, 50, 30, 400, 300);
    EXPECT_EQ(box, (LogoTextBox{5, 5, 395, 22, Near, Near}));
    EXPECT_EQ((LogoSpot{box.x, box.y}), spot);
    EXPECT_EQ(CLogoLayout::TextBox(-1, 10, 10, 20, 400, 300), box);
}

TEST(LogoLayout, ImageSitsInsideItsCornerAtTheMargins)
{
    EXPECT_EQ(CLogoLayout::ImageSpot(0, 10, 20, 50, 30, 400, 300), (LogoSpot{10, 20}));
    EXPECT_EQ(CLogoLayout::ImageSpot(1, 10, 20, 50, 30, 400, 300), (LogoSpot{340, 20}));
    EXPECT_EQ(CLogoLayout::ImageSpot(2, 10, 20, 50, 30, 400, 300), (LogoSpot{340, 250}));
    EXPECT_EQ(CLogoLayout::ImageSpot(3, 10, 20, 50, 30, 400, 300), (LogoSpot{10, 250}));
    EXPECT_EQ(CLogoLayout::ImageSpot(7, 10, 20, 50, 30, 400, 300), (LogoSpot{5, 5}));
}

} // namespace pelidore
