// The Windows side of one recorded frame, under Wine on a virtual display:
// grabbing the screen, the cursor, the text and image logos, snapshots.
#include "BgrPixels.h"
#include "CCaptureBitmap.h"
#include "CCursorPainter.h"
#include "CLogoLayout.h"
#include "CLogoPainter.h"
#include "CNBitmap.h"
#include "CNGdiplus.h"
#include "CNScreenDC.h"
#include "CSnapshot.h"
#include "SolidWindow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

using namespace pelidore;
namespace fs = std::filesystem;

namespace {

const Bgr kGrey{128, 128, 128};
const ScreenRect kFrame{200, 150, 840, 510}; // a 640 x 360 frame; region 620 x 342 at (209, 159)

class CaptureComposition : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Gdiplus.IsStarted());
        m_Folder = fs::temp_directory_path() / L"pelidore composition \u65e5\u672c";
        fs::remove_all(m_Folder);
        ASSERT_TRUE(fs::create_directories(m_Folder));
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_Folder, ignored);
    }

    static void FillGrey(CCaptureBitmap& bitmap)
    {
        FillFrame(bitmap.Pixels(), bitmap.Size().width, bitmap.Size().height, kGrey);
    }

    // The pointer at (300, 150) of the frame, over a grey window of this
    // process, drawn into a grey bitmap.
    static bool DrawCursorOverGrey(CCaptureBitmap& bitmap, int scalePercent)
    {
        SolidWindow below(kFrame.left, kFrame.top, kFrame.Width(), kFrame.Height(), RGB(128, 128, 128));
        if (!SetCursorPos(kFrame.left + 8 + 300, kFrame.top + 8 + 150))
            return false;
        SolidWindow::Pump(100);
        FillGrey(bitmap);
        const CCursorPainter::Result result = CCursorPainter::Draw(bitmap.DC(), kFrame, bitmap.Size(), scalePercent);
        GdiFlush();
        return result == CCursorPainter::Result::Drawn || result == CCursorPainter::Result::DrawnAsArrow;
    }

    int OtherThanGrey(const CCaptureBitmap& bitmap, int x0, int y0, int x1, int y1) const
    {
        return CountOther(bitmap.Pixels(), bitmap.Size().width, bitmap.Size().height, x0, y0, x1, y1, kGrey);
    }

    CNGdiplus m_Gdiplus;
    fs::path m_Folder;
};

// A 24-bit BMP of one colour, the simplest picture GDI+ reads exactly.
bool WriteBmp(const fs::path& path, int width, int height, Bgr colour)
{
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const unsigned imageBytes = static_cast<unsigned>(rowBytes * height);
    std::vector<unsigned char> file(54 + imageBytes, 0);
    auto put32 = [&file](std::size_t at, unsigned value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<unsigned>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned>(width));
    put32(22, static_cast<unsigned>(height));
    file[26] = 1;
    file[28] = 24;
    put32(34, imageBytes);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &file[54 + y * rowBytes + x * 3];
            p[0] = colour.blue;
            p[1] = colour.green;
            p[2] = colour.red;
        }
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out)
        return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

LogoSettings TextLogo(int corner, int size)
{
    LogoSettings logo;
    logo.kind = LogoSettings::kText;
    logo.corner = corner;
    logo.marginX = 10;
    logo.marginY = 10;
    logo.text = L"PELIDORE";
    logo.fontFace = L"Arial";
    logo.fontSize = size;
    logo.fillArgb = 0xFFFFFFFF;
    logo.outlineArgb = 0xFF000000;
    return logo;
}

} // namespace

TEST_F(CaptureComposition, BitmapRowsHaveNoPaddingAndRefuseUnalignedWidths)
{
    CCaptureBitmap bitmap;
    EXPECT_FALSE(bitmap.Create({0, 10}));
    EXPECT_FALSE(bitmap.Create({622, 10}));
    EXPECT_FALSE(bitmap.IsReady());
    ASSERT_TRUE(bitmap.Create({620, 342}));
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectW(GetCurrentObject(bitmap.DC(), OBJ_BITMAP), sizeof section, &section), int(sizeof section));
    EXPECT_EQ(section.dsBm.bmWidthBytes, 620 * 3);
    EXPECT_EQ(section.dsBmih.biHeight, 342);
    EXPECT_EQ(section.dsBmih.biBitCount, 24);
    EXPECT_EQ(GetStretchBltMode(bitmap.DC()), HALFTONE);
}

TEST_F(CaptureComposition, GrabCopiesTheScreenUnderTheRegionOneToOneAndScaled)
{
    SolidWindow below(kFrame.left, kFrame.top, kFrame.Width(), kFrame.Height(), RGB(200, 40, 10));
    SolidWindow marker(kFrame.left + 9, kFrame.top + 9, 20, 20, RGB(10, 220, 30));
    ASSERT_NE(below.Handle(), nullptr);
    const CNScreenDC screen;
    ASSERT_TRUE(screen);

    CCaptureBitmap full;
    ASSERT_TRUE(full.Create({620, 342}));
    ASSERT_TRUE(full.Grab(screen.Get(), {209, 159}, {620, 342}, false, CCaptureBitmap::kLayeredCopy));
    EXPECT_EQ(PixelAt(full.Pixels(), 620, 342, 0, 0), (Bgr{30, 220, 10}));
    EXPECT_EQ(PixelAt(full.Pixels(), 620, 342, 19, 19), (Bgr{30, 220, 10}));
    EXPECT_EQ(PixelAt(full.Pixels(), 620, 342, 20, 20), (Bgr{10, 40, 200}));
    EXPECT_EQ(PixelAt(full.Pixels(), 620, 342, 619, 341), (Bgr{10, 40, 200}));

    CCaptureBitmap half;
    ASSERT_TRUE(half.Create({308, 171}));
    ASSERT_TRUE(half.Grab(screen.Get(), {209, 159}, {620, 342}, true, CCaptureBitmap::kLayeredCopy));
    EXPECT_EQ(PixelAt(half.Pixels(), 308, 171, 4, 4), (Bgr{30, 220, 10}));
    EXPECT_EQ(PixelAt(half.Pixels(), 308, 171, 200, 100), (Bgr{10, 40, 200}));
}

TEST_F(CaptureComposition, CursorIsDrawnWithItsHotSpotAtThePointer)
{
    CCaptureBitmap bitmap;
    ASSERT_TRUE(bitmap.Create({620, 342}));
    ASSERT_TRUE(DrawCursorOverGrey(bitmap, 100));
    // The arrow's tip is its hot spot: ink right and below it, none far away.
    EXPECT_GT(OtherThanGrey(bitmap, 298, 148, 330, 182), 50);
    EXPECT_EQ(OtherThanGrey(bitmap, 0, 0, 290, 342), 0);
    EXPECT_EQ(OtherThanGrey(bitmap, 340, 0, 620, 342), 0);
    EXPECT_EQ(OtherThanGrey(bitmap, 0, 0, 620, 140), 0);
}

TEST_F(CaptureComposition, ScaledCursorLandsAtTheScaledPositionAndSize)
{
    CCaptureBitmap bitmap;
    ASSERT_TRUE(bitmap.Create({308, 171}));
    ASSERT_TRUE(DrawCursorOverGrey(bitmap, 50));
    const int x = 300 * 308 / 622;
    const int y = 171 * 150 / 342;
    EXPECT_GT(OtherThanGrey(bitmap, x - 2, y - 2, x + 17, y + 17), 15);
    EXPECT_EQ(OtherThanGrey(bitmap, x + 20, 0, 308, 171), 0);
    EXPECT_EQ(OtherThanGrey(bitmap, 0, y + 20, 308, 171), 0);
}

TEST_F(CaptureComposition, TextLogoInksOnlyItsLayoutBoxInEveryCorner)
{
    for (int corner = 0; corner <= 3; ++corner) {
        SCOPED_TRACE(corner);
        CCaptureBitmap bitmap;
        ASSERT_TRUE(bitmap.Create({400, 300}));
        FillGrey(bitmap);
        CLogoPainter painter;
        ASSERT_TRUE(painter.Draw(bitmap.DC(), TextLogo(corner, 20), {400, 300}));
        GdiFlush();
        const LogoTextBox box = CLogoLayout::TextBox(corner, 10, 10, 20, 400, 300);
        EXPECT_GT(OtherThanGrey(bitmap, box.x, box.y, box.x + box.width, box.y + box.height), 100);
        // The 2-pixel outline may reach a little past the box, nothing more.
        const int nearBox = OtherThanGrey(bitmap, box.x - 3, box.y - 3, box.x + box.width + 3, box.y + box.height + 3);
        EXPECT_EQ(OtherThanGrey(bitmap, 0, 0, 400, 300), nearBox);
        // Right-aligned corners put the ink against the right margin.
        const bool rightAligned = box.horizontal == LogoAlignment::Far;
        EXPECT_EQ(OtherThanGrey(bitmap, rightAligned ? 0 : 200, 0, rightAligned ? 200 : 400, 300), 0);
    }
}

TEST_F(CaptureComposition, TextLogoUsesTheFillAndOutlineColours)
{
    CCaptureBitmap bitmap;
    ASSERT_TRUE(bitmap.Create({400, 300}));
    FillGrey(bitmap);
    CLogoPainter painter;
    LogoSettings logo = TextLogo(0, 32);
    logo.fillArgb = 0xFF00FF00;
    logo.outlineArgb = 0xFFFF0000;
    ASSERT_TRUE(painter.Draw(bitmap.DC(), logo, {400, 300}));
    GdiFlush();
    int fill = 0;
    int outline = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 400; ++x) {
            const Bgr p = PixelAt(bitmap.Pixels(), 400, 300, x, y);
            fill += p == Bgr{0, 255, 0} ? 1 : 0;
            outline += p == Bgr{0, 0, 255} ? 1 : 0;
        }
    EXPECT_GT(fill, 100);
    EXPECT_GT(outline, 50);
}

TEST_F(CaptureComposition, AChangedFontSizeIsNotHiddenByTheCachedFont)
{
    CLogoPainter painter;
    int inked[2] = {};
    const int sizes[2] = {12, 32};
    for (int i = 0; i < 2; ++i) {
        CCaptureBitmap bitmap;
        ASSERT_TRUE(bitmap.Create({400, 300}));
        FillGrey(bitmap);
        ASSERT_TRUE(painter.Draw(bitmap.DC(), TextLogo(0, sizes[i]), {400, 300}));
        GdiFlush();
        inked[i] = OtherThanGrey(bitmap, 0, 0, 400, 300);
        EXPECT_TRUE(painter.HasCachedFont());
    }
    EXPECT_GT(inked[1], inked[0] * 3);
    painter.ReleaseCache();
    EXPECT_FALSE(painter.HasCachedFont());
}

TEST_F(CaptureComposition, EmptyTextOrNoLogoDrawsNothing)
{
    CCaptureBitmap bitmap;
    ASSERT_TRUE(bitmap.Create({400, 300}));
    FillGrey(bitmap);
    CLogoPainter painter;
    LogoSettings logo = TextLogo(0, 20);
    logo.text.clear();
    EXPECT_TRUE(painter.Draw(bitmap.DC(), logo, {400, 300}));
    logo = TextLogo(0, 20);
    logo.kind = LogoSettings::kNone;
    EXPECT_TRUE(painter.Draw(bitmap.DC(), logo, {400, 300}));
    GdiFlush();
    EXPECT_EQ(OtherThanGrey(bitmap, 0, 0, 400, 300), 0);
}

TEST_F(CaptureComposition, ImageLogoSitsAtItsCornerAndAnUnknownCornerAtFiveFive)
{
    const fs::path picture = m_Folder / L"logo \u00e9\u65e5.bmp";
    ASSERT_TRUE(WriteBmp(picture, 30, 20, Bgr{255, 0, 0}));
    const int corners[] = {0, 2, 7};
    for (int corner : corners) {
        SCOPED_TRACE(corner);
        CCaptureBitmap bitmap;
        ASSERT_TRUE(bitmap.Create({400, 300}));
        FillGrey(bitmap);
        LogoSettings logo;
        logo.kind = LogoSettings::kImage;
        logo.corner = corner;
        logo.marginX = 10;
        logo.marginY = 20;
        logo.imagePath = picture;
        CLogoPainter painter;
        ASSERT_TRUE(painter.Draw(bitmap.DC(), logo, {400, 300}));
        GdiFlush();
        const LogoSpot spot = CLogoLayout::ImageSpot(corner, 10, 20, 30, 20, 400, 300);
        EXPECT_EQ(PixelAt(bitmap.Pixels(), 400, 300, spot.x, spot.y), (Bgr{255, 0, 0}));
        EXPECT_EQ(PixelAt(bitmap.Pixels(), 400, 300, spot.x + 29, spot.y + 19), (Bgr{255, 0, 0}));
        EXPECT_EQ(OtherThanGrey(bitmap, 0, 0, 400, 300), 30 * 20);
    }
}

TEST_F(CaptureComposition, AnImageThatCannotBeLoadedDrawsNothingAndIsNotRetriedEachFrame)
{
    CCaptureBitmap bitmap;
    ASSERT_TRUE(bitmap.Create({400, 300}));
    FillGrey(bitmap);
    LogoSettings logo;
    logo.kind = LogoSettings::kImage;
    logo.imagePath = m_Folder / L"gone.png";
    CLogoPainter painter;
    EXPECT_FALSE(painter.Draw(bitmap.DC(), logo, {400, 300}));
    EXPECT_FALSE(painter.Draw(bitmap.DC(), logo, {400, 300}));
    EXPECT_FALSE(painter.HasCachedImage());
    EXPECT_EQ(OtherThanGrey(bitmap, 0, 0, 400, 300), 0);
}

TEST_F(CaptureComposition, SnapshotWritesAJpegOfTheRegionUnderAWideCharacterPath)
{
    SolidWindow below(kFrame.left, kFrame.top, kFrame.Width(), kFrame.Height(), RGB(20, 160, 220));
    const fs::path jpeg = m_Folder / L"2024_1_2_3_4.jpg";
    ASSERT_TRUE(CSnapshot::Take(kFrame, jpeg));
    CNBitmap loaded;
    ASSERT_EQ(loaded.Load(jpeg.c_str()), 0);
    EXPECT_EQ(loaded.Width(), 620);
    EXPECT_EQ(loaded.Height(), 342);
    EXPECT_FALSE(CSnapshot::Take(ScreenRect{0, 0, 20, 20}, m_Folder / L"empty.jpg"));
    EXPECT_FALSE(CSnapshot::Take(kFrame, m_Folder / L"no such folder" / L"x.jpg"));
}
