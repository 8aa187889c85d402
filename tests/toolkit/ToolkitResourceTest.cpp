#include "CNBitmap.h"
#include "CNFont.h"
#include "CNGdiObject.h"
#include "CNMemoryDC.h"
#include "LogCapture.h"
#include "SourceLine.h"
#include "TestFiles.h"
#include "WineDetection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace pelidore {

namespace {

constexpr uint32_t kOpaqueRed = 0xFFFF0000u;
constexpr uint32_t kOpaqueGreen = 0xFF00FF00u;

HINSTANCE Module()
{
    return GetModuleHandleW(nullptr);
}

std::string LoadLine(const char* literal)
{
    return "[CNBitmap::Load, " + std::to_string(SourceLineOf("toolkit/CNBitmap.cpp", literal)) + "]   ";
}

// The 32-bit word at (x, y) of a DIB whose rows run in the stored direction.
uint32_t DibWord(const CNBitmap& bitmap, int x, int y)
{
    const int row = bitmap.Header().biHeight < 0 ? y : bitmap.Height() - 1 - y;
    const auto* bytes = static_cast<const unsigned char*>(bitmap.Bits()) + row * bitmap.Stride();
    uint32_t word = 0;
    std::memcpy(&word, bytes + x * 4, sizeof(word));
    return word;
}

uint32_t ImageArgb(const CNBitmap& bitmap, int x, int y)
{
    Gdiplus::Color colour;
    EXPECT_EQ(bitmap.Image()->GetPixel(x, y, &colour), Gdiplus::Ok);
    return colour.GetValue();
}

// A 24-bit DIB of width x height where row y (from the top) is filled with colour[y].
HBITMAP MakeStripes(int width, int height, const COLORREF* colours)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    CNMemoryDC dc;
    dc.SelectBitmap(dib);
    for (int y = 0; y < height; ++y) {
        CNGdiObject<HBRUSH> brush(CreateSolidBrush(colours[y]));
        RECT line = {0, y, width, y + 1};
        ::FillRect(dc.Get(), &line, brush.Get());
    }
    GdiFlush();
    return dib;
}

// Every quantization value of every DQT segment of a JPEG file; empty if none.
std::string QuantizationValues(const std::string& jpeg)
{
    std::string values;
    for (size_t at = 2; at + 4 <= jpeg.size();) {
        if (static_cast<unsigned char>(jpeg[at]) != 0xFF)
            break;
        const unsigned char marker = static_cast<unsigned char>(jpeg[at + 1]);
        const size_t length =
            (static_cast<unsigned char>(jpeg[at + 2]) << 8) | static_cast<unsigned char>(jpeg[at + 3]);
        if (marker == 0xDA)
            break;
        if (marker == 0xDB) {
            for (size_t table = at + 4; table < at + 2 + length && table < jpeg.size();) {
                const bool wide = (static_cast<unsigned char>(jpeg[table]) >> 4) != 0;
                const size_t count = 64 * (wide ? 2 : 1);
                values.append(jpeg, table + 1, count);
                table += 1 + count;
            }
        }
        at += 2 + length;
    }
    return values;
}

TEST(CNBitmapResourceTest, RgbaPngLoadsIntoBothImages)
{
    CNBitmap bitmap;
    ASSERT_EQ(bitmap.Load(Module(), L"RGBA_IMAGE"), 0);
    ASSERT_TRUE(bitmap.IsLoaded());
    EXPECT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.Height(), 3);
    EXPECT_EQ(bitmap.BitsPerPixel(), 32);
    EXPECT_EQ(DibWord(bitmap, 0, 0), kOpaqueRed);
    EXPECT_EQ(DibWord(bitmap, 1, 0), kOpaqueGreen);
    EXPECT_EQ(DibWord(bitmap, 0, 1), 0x80FF0000u);
    EXPECT_EQ(ImageArgb(bitmap, 2, 0), 0xFF0000FFu);
    EXPECT_EQ(ImageArgb(bitmap, 3, 2) >> 24, 0u);
}

TEST(CNBitmapResourceTest, RgbPngAndIntegerIdsLoad)
{
    CNBitmap rgb;
    ASSERT_EQ(rgb.Load(Module(), L"RGB_IMAGE"), 0);
    EXPECT_EQ(rgb.BitsPerPixel(), 24);
    EXPECT_EQ(ImageArgb(rgb, 3, 1), 0xFF0A141Eu);
    CNBitmap byId;
    ASSERT_EQ(byId.LoadResource(Module(), 201), 0);
    EXPECT_EQ(byId.Width(), 4);
}

TEST(CNBitmapResourceTest, PalettedAndGreyPngsAreRefused)
{
    for (const wchar_t* name : {L"PALETTE_IMAGE", L"GREY_IMAGE"}) {
        LogCapture log;
        CNBitmap bitmap;
        EXPECT_EQ(bitmap.Load(Module(), name), E_FAIL);
        EXPECT_FALSE(bitmap.IsLoaded());
        EXPECT_EQ(bitmap.Image(), nullptr);
        ASSERT_EQ(log.Lines().size(), 1u);
        EXPECT_TRUE(log.Contains("unsupported pixel format"));
    }
}

TEST(CNBitmapResourceTest, MissingOrNonPngResourceLogsItsName)
{
    LogCapture log;
    CNBitmap bitmap;
    EXPECT_EQ(bitmap.Load(Module(), L"NOT_A_PNG"), E_FAIL);
    EXPECT_EQ(bitmap.LoadResource(Module(), 999), E_FAIL);
    EXPECT_FALSE(bitmap.IsLoaded());
    ASSERT_EQ(log.Lines().size(), 2u);
    EXPECT_EQ(log.Lines()[0],
              LoadLine("L\"cannot find resource by name : %ls\"") + "cannot find resource by name : NOT_A_PNG\n");
    EXPECT_EQ(log.Lines()[1],
              LoadLine("\"cannot find resource by name : #%u\"") + "cannot find resource by name : #999\n");
}

TEST(CNBitmapFileTest, PngFileLoadsAsBottomUpDib)
{
    CNBitmap bitmap;
    ASSERT_EQ(bitmap.Load(RepositoryFile("tests/toolkit/data/rgba.png").c_str()), 0);
    EXPECT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.Height(), 3);
    EXPECT_EQ(bitmap.BitsPerPixel(), 32);
    EXPECT_GT(bitmap.Header().biHeight, 0);
    EXPECT_EQ(DibWord(bitmap, 0, 0), kOpaqueRed);
    EXPECT_EQ(DibWord(bitmap, 1, 0), kOpaqueGreen);
    EXPECT_EQ(DibWord(bitmap, 0, 2), 0u);
}

TEST(CNBitmapFileTest, PalettedFileIsHeldAs32Bit)
{
    CNBitmap bitmap;
    ASSERT_EQ(bitmap.Load(RepositoryFile("tests/toolkit/data/palette.png").c_str()), 0);
    EXPECT_EQ(bitmap.BitsPerPixel(), 32);
    EXPECT_EQ(DibWord(bitmap, 0, 0), kOpaqueRed);
    EXPECT_EQ(DibWord(bitmap, 1, 1), kOpaqueGreen);
}

TEST(CNBitmapFileTest, MissingFileFailsWithItsPath)
{
    LogCapture log;
    CNBitmap bitmap;
    const std::wstring path = TemporaryFile(L"missing.png");
    EXPECT_EQ(bitmap.Load(path.c_str()), E_FAIL);
    EXPECT_FALSE(bitmap.IsLoaded());
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], LoadLine("L\"cannot load file : %ls\"") +
                                  "cannot load file : " + std::string(path.begin(), path.end()) + "\n");
}

TEST(CNBitmapGdiTest, GdiBitmapCopyKeepsRowOrder)
{
    const COLORREF rows[2] = {RGB(255, 0, 0), RGB(0, 0, 255)};
    CNGdiObject<HBITMAP> source(MakeStripes(4, 2, rows));
    ASSERT_TRUE(source);
    CNBitmap bitmap;
    ASSERT_EQ(bitmap.Load(source.Get()), 0);
    EXPECT_EQ(bitmap.BitsPerPixel(), 24);
    EXPECT_NE(bitmap.Handle(), source.Get());
    EXPECT_EQ(ImageArgb(bitmap, 0, 0), kOpaqueRed);
    EXPECT_EQ(ImageArgb(bitmap, 3, 1), 0xFF0000FFu);
}

TEST(CNBitmapGdiTest, NullBitmapIsRefused)
{
    LogCapture log;
    CNBitmap bitmap;
    EXPECT_EQ(bitmap.Load(static_cast<HBITMAP>(nullptr)), E_FAIL);
    EXPECT_TRUE(log.Contains("]   img is NULL\n"));
}

TEST(CNBitmapGdiTest, CreateFromDCCopiesTheRectangle)
{
    const COLORREF rows[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    CNGdiObject<HBITMAP> source(MakeStripes(8, 3, rows));
    CNMemoryDC dc;
    ASSERT_TRUE(dc.SelectBitmap(source.Get()));
    CNBitmap bitmap;
    ASSERT_EQ(bitmap.CreateFromDC(dc.Get(), 2, 1, 4, 2), 0);
    EXPECT_EQ(bitmap.Width(), 4);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.BitsPerPixel(), 24);
    EXPECT_EQ(ImageArgb(bitmap, 0, 0), kOpaqueGreen);
    EXPECT_EQ(ImageArgb(bitmap, 3, 1), 0xFF0000FFu);
}

TEST(CNBitmapGdiTest, AbsurdSizesAreRefused)
{
    LogCapture log;
    CNBitmap bitmap;
    EXPECT_EQ(bitmap.Create(0, 10), E_FAIL);
    EXPECT_EQ(bitmap.Create(10, -1), E_FAIL);
    EXPECT_EQ(bitmap.Create(100000, 100000), E_FAIL);
    EXPECT_EQ(bitmap.CreateFromDC(nullptr, 0, 0, -4, 4), E_FAIL);
    EXPECT_FALSE(bitmap.IsLoaded());
    EXPECT_EQ(log.Lines().size(), 4u);
    ASSERT_EQ(bitmap.Create(16, 8), 0);
    EXPECT_EQ(bitmap.BitsPerPixel(), 32);
    EXPECT_EQ(ImageArgb(bitmap, 15, 7), 0u);
}

// A saved JPEG of a flat (10, 20, 30) picture.
std::string SaveFlatJpeg(const wchar_t* name)
{
    CNBitmap bitmap;
    EXPECT_EQ(bitmap.Load(Module(), L"RGB_IMAGE"), 0);
    const std::wstring path = TemporaryFile(name);
    EXPECT_EQ(bitmap.Save(path.c_str()), 0);
    CNBitmap reread;
    EXPECT_EQ(reread.Load(path.c_str()), 0);
    if (reread.IsLoaded()) {
        const uint32_t pixel = ImageArgb(reread, 1, 1);
        EXPECT_NEAR(static_cast<int>((pixel >> 16) & 0xFF), 10, 3);
        EXPECT_NEAR(static_cast<int>((pixel >> 8) & 0xFF), 20, 3);
        EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 30, 3);
    }
    reread.Release();
    const std::string jpeg = ReadWholeFile(path);
    DeleteFileW(path.c_str());
    return jpeg;
}

TEST(CNBitmapSaveTest, SavedJpegReadsBackAsThePicture)
{
    const std::string jpeg = SaveFlatJpeg(L"save.jpg");
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[1]), 0xD8);
}

TEST(CNBitmapSaveTest, JpegIsWrittenAtQuality100)
{
    if (RunningUnderWine())
        GTEST_SKIP() << "Wine's GDI+ JPEG encoder ignores EncoderQuality";
    // At quality 100 every quantization step is 1.
    const std::string steps = QuantizationValues(SaveFlatJpeg(L"quality.jpg"));
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.find_first_not_of('\x01'), std::string::npos);
}

TEST(CNBitmapSaveTest, PngKeepsPixelsExactly)
{
    CNBitmap bitmap;
    ASSERT_EQ(bitmap.Load(Module(), L"RGBA_IMAGE"), 0);
    const std::wstring path = TemporaryFile(L"save.png");
    ASSERT_EQ(bitmap.SavePng(path.c_str()), 0);
    CNBitmap reread;
    ASSERT_EQ(reread.Load(path.c_str()), 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(ImageArgb(reread, x, y), ImageArgb(bitmap, x, y)) << x << "," << y;
    reread.Release();
    DeleteFileW(path.c_str());
}

TEST(CNBitmapSaveTest, NothingLoadedOrUnwritablePathFails)
{
    LogCapture log;
    CNBitmap empty;
    EXPECT_EQ(empty.Save(TemporaryFile(L"empty.jpg").c_str()), E_FAIL);
    CNBitmap bitmap;
    ASSERT_EQ(bitmap.Create(4, 4), 0);
    EXPECT_EQ(bitmap.Save(TemporaryFile(L"no_such_folder\\x.jpg").c_str()), E_FAIL);
    EXPECT_EQ(bitmap.SavePng(TemporaryFile(L"no_such_folder\\x.png").c_str()), E_FAIL);
    EXPECT_EQ(empty.SavePng(TemporaryFile(L"empty.png").c_str()), E_FAIL);
}

TEST(CNFontTest, UnknownFaceFallsBackToArial)
{
    CNFont font;
    ASSERT_EQ(font.Create(16, FW_NORMAL, L"No Such Face Anywhere"), 0);
    EXPECT_NE(font.Handle(), nullptr);
    EXPECT_STREQ(font.FaceName(), L"Arial");
}

TEST(CNFontTest, InstalledAndReplacedFacesAreKept)
{
    // Wine reports a replaced face under its requested name.
    for (const wchar_t* face : {L"Tahoma", L"Arial", L"Franklin Gothic Medium"}) {
        CNFont font;
        ASSERT_EQ(font.Create(-12, FW_BOLD, face), 0);
        EXPECT_STREQ(font.FaceName(), face);
        LOGFONTW description = {};
        ASSERT_EQ(GetObjectW(font.Handle(), sizeof(description), &description), static_cast<int>(sizeof(description)));
        EXPECT_EQ(description.lfHeight, -12);
        EXPECT_EQ(description.lfWeight, FW_BOLD);
        EXPECT_EQ(description.lfQuality, ANTIALIASED_QUALITY);
    }
}

TEST(CNFontTest, OverlongFaceIsCutAndRecreatingReplacesTheFont)
{
    CNFont font;
    const std::wstring longFace(200, L'x');
    ASSERT_EQ(font.Create(12, FW_NORMAL, longFace.c_str()), 0);
    EXPECT_STREQ(font.FaceName(), L"Arial");
    ASSERT_EQ(font.Create(14, FW_NORMAL, L"Tahoma"), 0);
    EXPECT_STREQ(font.FaceName(), L"Tahoma");
    font.Release();
    EXPECT_FALSE(font.IsCreated());
}

} // namespace

} // namespace pelidore
