#include "CNBitmap.h"
#include "CNColor.h"
#include "CNFont.h"
#include "CNGdiObject.h"
#include "CNScreen.h"
#include "WineDetection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace pelidore {

namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kBlue = 0xFF0000FFu;

// An off-screen surface of the given size, filled opaque blue.
class ScreenTest : public ::testing::Test {
protected:
    void Make(int width, int height)
    {
        ASSERT_EQ(m_Screen.InitOffscreen(width, height), 0);
        m_Screen.FillRect(0, 0, 255, 255, 0, 0, width, height);
        ASSERT_EQ(m_Screen.PixelAt(width - 1, height - 1), kBlue);
    }
    std::vector<uint32_t> Snapshot() const
    {
        return std::vector<uint32_t>(m_Screen.Pixels(), m_Screen.Pixels() + m_Screen.Width() * m_Screen.Height());
    }
    // Pixels of the surface that differ from value, as window coordinates.
    int CountOther(uint32_t value, int x0, int y0, int x1, int y1) const
    {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                count += m_Screen.PixelAt(x, y) != value;
        return count;
    }

    CNScreen m_Screen;
};

// A bitmap made from a 4 x 4 surface: left half opaque red, right half transparent.
void MakeHalfRedBitmap(CNBitmap& bitmap)
{
    CNScreen source;
    ASSERT_EQ(source.InitOffscreen(4, 4), 0);
    source.FillRect(255, 0, 0, 255, 0, 0, 2, 4);
    CNGdiObject<HBITMAP> copy(source.CopyRectToBitmap());
    ASSERT_TRUE(copy);
    ASSERT_EQ(bitmap.Load(copy.Get()), 0);
}

TEST_F(ScreenTest, RowsAreStoredBottomUp)
{
    Make(5, 3);
    m_Screen.ClearRect(0, 0, 1, 1);
    EXPECT_EQ(m_Screen.Pixels()[2 * 5], 0u);
    EXPECT_EQ(m_Screen.Pixels()[0], kBlue);
    EXPECT_EQ(m_Screen.PixelAt(0, 0), 0u);
}

TEST_F(ScreenTest, FillBlendsPremultiplied)
{
    Make(4, 4);
    m_Screen.ClearRect(0, 0, 4, 4);
    m_Screen.FillRect(255, 0, 0, 255, 0, 0, 2, 2);
    m_Screen.FillRect(0, 255, 0, 128, 1, 1, 2, 2);
    EXPECT_EQ(m_Screen.PixelAt(0, 0), kRed);
    const uint32_t mixed = m_Screen.PixelAt(1, 1);
    EXPECT_EQ(mixed >> 24, 0xFFu);
    EXPECT_NEAR(static_cast<int>((mixed >> 16) & 0xFF), 127, 1);
    EXPECT_NEAR(static_cast<int>((mixed >> 8) & 0xFF), 128, 1);
    const uint32_t alone = m_Screen.PixelAt(2, 2);
    EXPECT_NEAR(static_cast<int>(alone >> 24), 128, 1);
    EXPECT_NEAR(static_cast<int>((alone >> 8) & 0xFF), 128, 1);
    EXPECT_EQ(alone & 0xFF00FF, 0u);
}

TEST_F(ScreenTest, ClearRectIsClippedNotShifted)
{
    Make(10, 8);
    m_Screen.ClearRect(-2, -3, 4, 5);
    EXPECT_EQ(CountOther(0, 0, 0, 2, 2), 0);
    EXPECT_EQ(m_Screen.PixelAt(2, 0), kBlue);
    EXPECT_EQ(m_Screen.PixelAt(0, 2), kBlue);
    m_Screen.ClearRect(8, 7, 10, 10);
    EXPECT_EQ(CountOther(0, 8, 7, 10, 8), 0);
    EXPECT_EQ(m_Screen.PixelAt(7, 7), kBlue);
    EXPECT_EQ(m_Screen.PixelAt(9, 6), kBlue);
    EXPECT_EQ(CountOther(kBlue, 2, 2, 8, 7), 0);
}

TEST_F(ScreenTest, ClearRectOutsideOrEmptyChangesNothing)
{
    Make(10, 8);
    const std::vector<uint32_t> before = Snapshot();
    m_Screen.ClearRect(10, 0, 5, 5);
    m_Screen.ClearRect(0, 8, 5, 5);
    m_Screen.ClearRect(-10, -10, 5, 5);
    m_Screen.ClearRect(2, 2, 0, 4);
    m_Screen.ClearRect(2, 2, 4, -1);
    m_Screen.ClearRect(0x7FFFFFF0, 0x7FFFFFF0, 0x7FFFFFF0, 0x7FFFFFF0);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ScreenTest, SaveRectClipsAndKeepsRowsTopFirst)
{
    Make(6, 5);
    m_Screen.FillRect(255, 0, 0, 255, 0, 0, 6, 1);
    CNSavedRect saved;
    ASSERT_EQ(m_Screen.SaveRect(CNRect{-1, -2, 4, 5}, saved), 0);
    EXPECT_EQ(saved.saved, 1);
    EXPECT_EQ(saved.x, 0);
    EXPECT_EQ(saved.y, 0);
    EXPECT_EQ(saved.width, 3);
    EXPECT_EQ(saved.height, 3);
    ASSERT_EQ(saved.pixels.size(), 9u);
    EXPECT_EQ(saved.pixels[0], kRed);
    EXPECT_EQ(saved.pixels[3], kBlue);
}

TEST_F(ScreenTest, SaveRectOutsideFailsAndEmptiesTheRecord)
{
    Make(6, 5);
    CNSavedRect saved;
    ASSERT_EQ(m_Screen.SaveRect(CNRect{1, 1, 2, 2}, saved), 0);
    EXPECT_EQ(m_Screen.SaveRect(CNRect{6, 0, 3, 3}, saved), E_FAIL);
    EXPECT_EQ(saved.saved, 0);
    EXPECT_TRUE(saved.pixels.empty());
    EXPECT_EQ(m_Screen.SaveRect(CNRect{-5, -5, 5, 5}, saved), E_FAIL);
    EXPECT_EQ(m_Screen.SaveRect(CNRect{1, 1, 0, 3}, saved), E_FAIL);
}

TEST_F(ScreenTest, RestoreRectPutsSavedPixelsBack)
{
    Make(12, 9);
    m_Screen.FillRect(255, 0, 0, 255, 3, 2, 4, 3);
    m_Screen.FillRect(0, 255, 0, 128, 5, 1, 4, 6);
    const std::vector<uint32_t> before = Snapshot();
    CNSavedRect saved;
    ASSERT_EQ(m_Screen.SaveRect(CNRect{2, 1, 8, 6}, saved), 0);
    m_Screen.ClearRect(0, 0, 12, 9);
    m_Screen.RestoreRect(saved);
    EXPECT_EQ(CountOther(0, 0, 0, 12, 1), 0);
    m_Screen.FillRect(0, 0, 255, 255, 0, 0, 12, 1);
    m_Screen.FillRect(0, 0, 255, 255, 0, 7, 12, 2);
    m_Screen.FillRect(0, 0, 255, 255, 0, 1, 2, 6);
    m_Screen.FillRect(0, 0, 255, 255, 10, 1, 2, 6);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ScreenTest, RestoreIntoASmallerBufferIsClipped)
{
    Make(20, 20);
    CNSavedRect saved;
    ASSERT_EQ(m_Screen.SaveRect(CNRect{4, 4, 12, 12}, saved), 0);
    ASSERT_EQ(m_Screen.InitOffscreen(8, 6), 0);
    m_Screen.RestoreRect(saved);
    EXPECT_EQ(CountOther(0, 0, 0, 4, 6), 0);
    EXPECT_EQ(CountOther(kBlue, 4, 4, 8, 6), 0);
    EXPECT_EQ(CountOther(0, 4, 0, 8, 4), 0);
    CNSavedRect broken = saved;
    broken.pixels.resize(3);
    m_Screen.RestoreRect(broken);
}

TEST_F(ScreenTest, CopyRectToBitmapKeepsOrientation)
{
    Make(6, 4);
    m_Screen.FillRect(255, 0, 0, 255, 1, 1, 2, 1);
    CNRect area{1, 1, 3, 2};
    CNGdiObject<HBITMAP> copy(m_Screen.CopyRectToBitmap(&area));
    ASSERT_TRUE(copy);
    CNBitmap bitmap;
    ASSERT_EQ(bitmap.Load(copy.Get()), 0);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    Gdiplus::Color colour;
    bitmap.Image()->GetPixel(0, 0, &colour);
    EXPECT_EQ(colour.GetValue(), kRed);
    bitmap.Image()->GetPixel(2, 0, &colour);
    EXPECT_EQ(colour.GetValue(), kBlue);
    bitmap.Image()->GetPixel(0, 1, &colour);
    EXPECT_EQ(colour.GetValue(), kBlue);
    CNRect outside{6, 0, 2, 2};
    EXPECT_EQ(m_Screen.CopyRectToBitmap(&outside), nullptr);
    CNGdiObject<HBITMAP> whole(m_Screen.CopyRectToBitmap());
    BITMAP description = {};
    ASSERT_EQ(GetObjectW(whole.Get(), sizeof(description), &description), static_cast<int>(sizeof(description)));
    EXPECT_EQ(description.bmWidth, 6);
    EXPECT_EQ(description.bmHeight, 4);
}

TEST_F(ScreenTest, DrawImageAlphaAtOneIsDrawImage)
{
    CNBitmap image;
    MakeHalfRedBitmap(image);
    Make(8, 8);
    m_Screen.ClearRect(0, 0, 8, 8);
    m_Screen.DrawImage(image, 2, 3);
    const std::vector<uint32_t> plain = Snapshot();
    EXPECT_EQ(m_Screen.PixelAt(2, 3), kRed);
    EXPECT_EQ(m_Screen.PixelAt(3, 6), kRed);
    EXPECT_EQ(m_Screen.PixelAt(4, 3), 0u);
    EXPECT_EQ(CountOther(0, 0, 0, 8, 3), 0);
    m_Screen.ClearRect(0, 0, 8, 8);
    m_Screen.DrawImageAlpha(1.0f, image, 2, 3);
    EXPECT_EQ(Snapshot(), plain);
}

TEST_F(ScreenTest, DrawImageAlphaAtHalfHalvesAlpha)
{
    CNBitmap image;
    MakeHalfRedBitmap(image);
    Make(8, 8);
    m_Screen.ClearRect(0, 0, 8, 8);
    m_Screen.DrawImageAlpha(0.5f, image, 2, 3);
    for (int y = 3; y < 7; ++y) {
        for (int x = 2; x < 4; ++x) {
            const uint32_t pixel = m_Screen.PixelAt(x, y);
            EXPECT_NEAR(static_cast<int>(pixel >> 24), 128, 1);
            EXPECT_NEAR(static_cast<int>((pixel >> 16) & 0xFF), 128, 1);
            EXPECT_EQ(pixel & 0xFFFF, 0u);
        }
    }
    EXPECT_EQ(CountOther(0, 4, 3, 8, 7), 0);
}

TEST_F(ScreenTest, DrawImageUsesTheSourceRectangle)
{
    CNBitmap image;
    MakeHalfRedBitmap(image);
    Make(8, 8);
    m_Screen.ClearRect(0, 0, 8, 8);
    m_Screen.DrawImage(image, 0, 0, 2, 2, 1, 0);
    EXPECT_EQ(m_Screen.PixelAt(0, 0), kRed);
    EXPECT_EQ(m_Screen.PixelAt(1, 1), 0u);
    EXPECT_EQ(CountOther(0, 2, 0, 8, 8), 0);
}

TEST_F(ScreenTest, SolidFrameIsOnePixelAndIgnoresTheOffset)
{
    Make(12, 8);
    m_Screen.ClearRect(0, 0, 12, 8);
    m_Screen.DrawDashRect(3.0f, 0, 255, 0, 0, 1, 1, 8, 4);
    for (int x = 1; x <= 9; ++x) {
        EXPECT_EQ(m_Screen.PixelAt(x, 1), kRed) << x;
        EXPECT_EQ(m_Screen.PixelAt(x, 5), kRed) << x;
    }
    for (int y = 1; y <= 5; ++y) {
        EXPECT_EQ(m_Screen.PixelAt(1, y), kRed) << y;
        EXPECT_EQ(m_Screen.PixelAt(9, y), kRed) << y;
    }
    EXPECT_EQ(CountOther(0, 2, 2, 9, 5), 0);
    EXPECT_EQ(CountOther(0, 0, 0, 12, 1), 0);
    EXPECT_EQ(CountOther(0, 10, 0, 12, 8), 0);
}

// Whether each pixel of the frame's top edge is drawn.
std::vector<bool> TopEdge(const CNScreen& screen, int length)
{
    std::vector<bool> drawn;
    for (int x = 0; x < length; ++x)
        drawn.push_back(screen.PixelAt(x, 0) != 0);
    return drawn;
}

TEST_F(ScreenTest, DashedFrameRunsEightOnEightOffFromTheOffset)
{
    Make(64, 4);
    m_Screen.ClearRect(0, 0, 64, 4);
    m_Screen.DrawDashRect(0.0f, Gdiplus::DashStyleDash, 255, 255, 255, 0, 0, 60, 2);
    const std::vector<bool> plain = TopEdge(m_Screen, 48);
    for (int x = 0; x < 48; ++x)
        EXPECT_EQ(plain[x], (x / 8) % 2 == 0) << x;
    if (RunningUnderWine())
        GTEST_SKIP() << "Wine's GDI+ ignores the pen's dash offset";
    m_Screen.ClearRect(0, 0, 64, 4);
    m_Screen.DrawDashRect(4.0f, Gdiplus::DashStyleDash, 255, 255, 255, 0, 0, 60, 2);
    const std::vector<bool> shifted = TopEdge(m_Screen, 48);
    for (int x = 0; x + 4 < 48; ++x)
        EXPECT_EQ(shifted[x], plain[x + 4]) << x;
}

TEST_F(ScreenTest, TextIsMeasuredAndDrawnInsideItsRectangle)
{
    CNFont font;
    ASSERT_EQ(font.Create(-14, FW_NORMAL, L"Arial"), 0);
    Make(120, 40);
    m_Screen.ClearRect(0, 0, 120, 40);
    EXPECT_EQ(m_Screen.MeasureText(font, L"", -1).Width, 0.0f);
    EXPECT_EQ(m_Screen.MeasureText(font, L"", -1).Height, 0.0f);
    EXPECT_EQ(m_Screen.MeasureText(font, L"abc", 0).Width, 0.0f);
    EXPECT_EQ(m_Screen.MeasureText(font, nullptr, -1).Height, 0.0f);
    const Gdiplus::SizeF one = m_Screen.MeasureText(font, L"W", -1);
    const Gdiplus::SizeF three = m_Screen.MeasureText(font, L"WWW", -1);
    EXPECT_GT(one.Width, 0.0f);
    EXPECT_GT(one.Height, 0.0f);
    EXPECT_GT(three.Width, 2.0f * one.Width);
    EXPECT_EQ(m_Screen.MeasureText(font, L"WWW", 1).Width, one.Width);

    const RECT area = {10, 5, 90, 30};
    m_Screen.DrawText(font, area, CNColor(255, 255, 255, 255), L"Pelidore text that is far too long", 0, 0, 1, true);
    EXPECT_GT(CountOther(0, 10, 5, 90, 30), 0);
    EXPECT_EQ(CountOther(0, 0, 0, 120, 5), 0);
    EXPECT_EQ(CountOther(0, 90, 0, 120, 40), 0);
    EXPECT_EQ(CountOther(0, 0, 30, 120, 40), 0);
}

TEST_F(ScreenTest, OutlinedTextHasFillOutlineAndShadow)
{
    CNFont font;
    ASSERT_EQ(font.Create(-24, FW_BOLD, L"Arial"), 0);
    Make(80, 40);
    m_Screen.ClearRect(0, 0, 80, 40);
    const RECT area = {0, 0, 80, 40};
    m_Screen.DrawOutlinedText(font, area, CNColor(255, 255, 0, 0), L"HI", 1, true, true, 0);
    int red = 0;
    int dark = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 80; ++x) {
            const uint32_t pixel = m_Screen.PixelAt(x, y);
            red += pixel == kRed;
            dark += (pixel >> 24) >= 0xC0 && (pixel & 0xFFFFFF) == 0;
        }
    }
    EXPECT_GT(red, 20);
    EXPECT_GT(dark, 20);
    m_Screen.ClearRect(0, 0, 80, 40);
    m_Screen.DrawOutline(font, area, CNColor(255, 255, 0, 0), L"HI", 1, 1, 0);
    EXPECT_EQ(CountOther(0, 0, 0, 80, 40) > 0, true);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            EXPECT_EQ(m_Screen.PixelAt(x, y) & 0xFF0000, 0u);
}

TEST_F(ScreenTest, NumberIsDrawnAsText)
{
    CNFont font;
    ASSERT_EQ(font.Create(-14, FW_NORMAL, L"Arial"), 0);
    Make(60, 20);
    m_Screen.ClearRect(0, 0, 60, 20);
    m_Screen.DrawNumber(font, RECT{0, 0, 60, 20}, CNColor(255, 255, 255, 255), -1234, 0, 0, true);
    const std::vector<uint32_t> number = Snapshot();
    m_Screen.ClearRect(0, 0, 60, 20);
    m_Screen.DrawText(font, RECT{0, 0, 60, 20}, CNColor(255, 255, 255, 255), L"-1234", 0, 0, 0, true);
    EXPECT_EQ(Snapshot(), number);
    EXPECT_GT(CountOther(0, 0, 0, 60, 20), 0);
}

TEST_F(ScreenTest, FillAndTextReachABitmapsGdiImage)
{
    CNBitmap bitmap;
    ASSERT_EQ(bitmap.Create(32, 32), 0);
    Make(4, 4);
    m_Screen.FillBitmapRect(bitmap, 255, 0, 255, 0, 0, 0, 32, 2);
    // The bitmap's DIB is bottom-up: its last memory row is the top line.
    const auto* words = static_cast<const uint32_t*>(bitmap.Bits());
    EXPECT_EQ(words[31 * 32], kGreen);
    EXPECT_EQ(words[29 * 32], 0u);
    CNFont font;
    ASSERT_EQ(font.Create(-16, FW_BOLD, L"Arial"), 0);
    m_Screen.DrawTextToBitmap(bitmap, font, RECT{0, 8, 32, 32}, CNColor(255, 255, 255, 255), L"W", 0, 1, 1, true);
    int drawn = 0;
    for (int i = 0; i < 24 * 32; ++i)
        drawn += words[i] != 0;
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(m_Screen.PixelAt(0, 0), kBlue);
}

TEST(CNScreenInertTest, SurfaceWithoutBufferDoesNothing)
{
    CNScreen screen;
    EXPECT_FALSE(screen.IsReady());
    EXPECT_EQ(screen.InitOffscreen(0, 5), E_FAIL);
    EXPECT_EQ(screen.InitOffscreen(100000, 100000), E_FAIL);
    EXPECT_FALSE(screen.IsReady());
    EXPECT_EQ(screen.Pixels(), nullptr);
    screen.ClearRect(0, 0, 10, 10);
    screen.FillRect(1, 2, 3, 4, 0, 0, 10, 10);
    screen.DrawDashRect(0, 1, 1, 2, 3, 0, 0, 5, 5);
    CNBitmap bitmap;
    screen.DrawImage(bitmap, 0, 0);
    CNSavedRect saved;
    saved.saved = 1;
    saved.width = saved.height = 2;
    saved.pixels.assign(4, 1);
    screen.RestoreRect(saved);
    EXPECT_EQ(screen.SaveRect(CNRect{0, 0, 2, 2}, saved), E_FAIL);
    EXPECT_EQ(screen.CopyRectToBitmap(), nullptr);
    EXPECT_EQ(screen.Present(), 0);
    EXPECT_EQ(screen.PresentRect(0, 0, 1, 1), 0);
    EXPECT_EQ(screen.Resize(), E_FAIL);
    EXPECT_EQ(screen.PixelAt(0, 0), 0u);
}

} // namespace

} // namespace pelidore
