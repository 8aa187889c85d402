// The real Pelidore under Wine, driven by pelictl over the scene program:
// recordings in live and deferred mode, snapshots, quitting mid-recording,
// recovery of a crashed store, a work folder that cannot be made (and the
// panel saying so), and a frame minimised while it records.
#include "CFrameStoreWriter.h"
#include "CNBitmap.h"
#include "CNScreenDC.h"
#include "EndToEndTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pelidore;

namespace {

class RecordingEndToEnd : public EndToEndTest {
protected:
    // Pixels in the panel's red accent in the strip under its read-out box,
    // where it says why a recording did not start, as the screen shows them;
    // the whole panel's picture goes to `shot`.
    static int MessagePixels(const fs::path& shot = {})
    {
        HWND panel = FindWindowW(nullptr, L"Pelidore - Control");
        RECT place = {};
        const CNScreenDC screen;
        CNBitmap picture;
        if (!panel || !GetWindowRect(panel, &place) || !screen ||
            FAILED(picture.CreateFromDC(screen.Get(), place.left, place.top, place.right - place.left,
                                        place.bottom - place.top)))
            return -1;
        if (!shot.empty())
            EXPECT_EQ(picture.SavePng(shot.c_str()), S_OK);
        int count = 0;
        const auto* bits = static_cast<const std::uint8_t*>(picture.Bits());
        for (int y = 132; y < 151 && y < picture.Height(); ++y) {
            for (int x = 112; x < 372 && x < picture.Width(); ++x) {
                const std::uint8_t* bgr = bits + (picture.Height() - 1 - y) * picture.Stride() + x * 3;
                count += bgr[2] > 150 && bgr[1] < 130 && bgr[0] < 130 ? 1 : 0;
            }
        }
        return count;
    }
};

} // namespace

TEST_F(RecordingEndToEnd, LiveRecordingWritesTheSceneAtTheFrameRateIntoAWideCharacterFolder)
{
    WriteConfig(10, 0);
    StartPelidore();
    const Recording recording = Record(2500);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    GifFile gif(OnlyGif());
    ExpectSceneRecording(gif, recording, 10);
    EXPECT_TRUE(FilesEndingWith(L".dat").empty());
}

TEST_F(RecordingEndToEnd, DeferredRecordingSavesThroughTheStoreWithCursorAndTextLogo)
{
    WriteConfig(15, 2, true);
    CLogoFile logo;
    logo.logoKind = CLogoFile::kTextLogo;
    logo.logoText.Assign(u"PELIDORE");
    logo.fontSize = 20;
    logo.corner = CLogoFile::kTopLeft;
    WriteLogo(logo);
    StartPelidore();
    // The pointer over the scene: a cursor of another process, which Wine
    // will not describe, so the standard arrow stands in for it.
    const PixelPoint cursor{300, 240};
    ASSERT_TRUE(SetCursorPos(s_Frame.left + 8 + cursor.x, s_Frame.top + 8 + cursor.y));

    const Recording recording = Record(2000);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    EXPECT_TRUE(FilesEndingWith(L".dat").empty()) << "the store outlived a successful save";
    GifFile gif(OnlyGif());
    ExpectSceneRecording(gif, recording, 15);

    std::string handedOver;
    for (int i = 0; i < gif.FrameCount(); ++i)
        handedOver += "add frame start\nadd frame end\n";
    EXPECT_EQ(OutputText(), handedOver);
    for (int i = 0; i < gif.FrameCount(); i += 5) {
        SCOPED_TRACE(i);
        EXPECT_GT(scene::Count(gif, i, cursor.x - 1, cursor.y - 1, cursor.x + 14, cursor.y + 22, scene::IsWhite), 15);
        EXPECT_GT(scene::Count(gif, i, cursor.x - 1, cursor.y - 1, cursor.x + 14, cursor.y + 22, scene::IsBlack), 10);
        EXPECT_GT(scene::Count(gif, i, 5, 5, 200, 27, scene::IsWhite), 60);
        EXPECT_GT(scene::Count(gif, i, 5, 5, 200, 27, scene::IsBlack), 30);
        EXPECT_EQ(scene::Count(gif, i, 5, 40, 280, 100, scene::IsWhite), 0);
    }
}

TEST_F(RecordingEndToEnd, ScaledRecordingSqueezesTheWholeRegionIntoTheSmallerFrames)
{
    WriteConfig(10, 0, false, m_Work, 50);
    StartPelidore();
    Record(1500);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    GifFile gif(OnlyGif());
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    EXPECT_EQ(gif.Width(), 308);
    EXPECT_EQ(gif.Height(), 171);
    EXPECT_GE(gif.FrameCount(), 5);
    for (int i = 0; i < gif.FrameCount(); ++i) {
        SCOPED_TRACE(i);
        // The 40-pixel square and the 20-pixel marker at half their sides.
        EXPECT_NEAR(scene::Count(gif, i, 0, 0, 308, 171, scene::IsSquareRed), 20 * 20, 60);
        EXPECT_NEAR(scene::Count(gif, i, 280, 0, 308, 30, scene::IsMarkerGreen), 10 * 10, 30);
    }
}

TEST_F(RecordingEndToEnd, SnapshotsAreJpegsOfTheRegionWithoutTheFramesMarksAndNeverShareAName)
{
    WriteConfig(10, 0);
    StartPelidore();
    ASSERT_EQ(Pelictl(L"snapshot"), 0);
    ASSERT_EQ(Pelictl(L"snapshot"), 0);
    const std::vector<fs::path> jpegs = FilesEndingWith(L".jpg");
    ASSERT_EQ(jpegs.size(), 2u);
    for (const fs::path& jpeg : jpegs) {
        SCOPED_TRACE(jpeg.filename().string());
        CNBitmap picture;
        ASSERT_EQ(picture.Load(jpeg.c_str()), 0);
        EXPECT_EQ(picture.Width(), 620);
        EXPECT_EQ(picture.Height(), 342);
        // The centre and the corners show the scene's background, not marks.
        // The red square passes the centre: spots it covers (with a margin
        // for the JPEG's blur at its edges) are left out.
        auto colourAt = [&picture](int x, int y) {
            Gdiplus::Color colour;
            EXPECT_EQ(picture.Image()->GetPixel(x, y, &colour), Gdiplus::Ok);
            return colour;
        };
        int squareLeft = picture.Width(), squareRight = -1;
        for (int x = 0; x < picture.Width(); ++x) {
            const Gdiplus::Color c = colourAt(x, 171);
            if (scene::IsSquareRed(c.GetR(), c.GetG(), c.GetB())) {
                squareLeft = std::min(squareLeft, x);
                squareRight = std::max(squareRight, x);
            }
        }
        const PixelPoint spots[] = {{310, 100}, {310, 171}, {300, 171}, {2, 2}, {617, 339}, {617, 2}, {2, 339}};
        for (const PixelPoint& spot : spots) {
            if (spot.y == 171 && spot.x >= squareLeft - 6 && spot.x <= squareRight + 6)
                continue;
            const Gdiplus::Color colour = colourAt(spot.x, spot.y);
            EXPECT_NEAR(colour.GetR(), 24, 20) << spot.x << "," << spot.y;
            EXPECT_NEAR(colour.GetG(), 48, 20) << spot.x << "," << spot.y;
            EXPECT_NEAR(colour.GetB(), 96, 20) << spot.x << "," << spot.y;
        }
    }
}

TEST_F(RecordingEndToEnd, QuittingMidRecordingInLiveModeLeavesAFinishedGif)
{
    WriteConfig(10, 0);
    StartPelidore();
    ASSERT_EQ(Pelictl(L"record"), 0);
    Sleep(1200);
    ASSERT_EQ(Pelictl(L"quit"), 0);
    ASSERT_EQ(m_Pelidore.Wait(10000), 0);
    const fs::path path = OnlyGif();
    const std::string bytes = ReadWhole(path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back(), '\x3b') << "no trailer";
    GifFile gif(path);
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    EXPECT_GE(gif.FrameCount(), 5);
}

TEST_F(RecordingEndToEnd, QuittingMidRecordingInDeferredModeKeepsTheStoreAndSavesItAtTheNextStart)
{
    WriteConfig(10, 1);
    StartPelidore();
    ASSERT_EQ(Pelictl(L"record"), 0);
    Sleep(1200);
    ASSERT_EQ(Pelictl(L"quit"), 0);
    ASSERT_EQ(m_Pelidore.Wait(10000), 0);
    EXPECT_TRUE(FilesEndingWith(L".gif").empty());
    const int kept = KeptFrames();
    EXPECT_GE(kept, 5);
    ExpectSavedAtNextStart(kept);
}

TEST_F(RecordingEndToEnd, QuittingWhileSavingLosesNothingAndLeavesNoHalfGif)
{
    WriteConfig(30, 3);
    StartPelidore();
    Record(2000);
    ASSERT_EQ(Pelictl(L"quit"), 0);
    ASSERT_EQ(m_Pelidore.Wait(30000), 0);
    // Either the save was cut short (the store is kept whole, the unfinished
    // GIF is gone) or it had just finished.
    const int kept = KeptFrames();
    if (kept >= 0) {
        EXPECT_TRUE(FilesEndingWith(L".gif").empty());
        EXPECT_GE(kept, 20);
    }
    ExpectSavedAtNextStart(kept);
}

TEST_F(RecordingEndToEnd, AStoreLeftByACrashIsMendedAndSavedAtStartUp)
{
    WriteConfig(10, 2);
    ASSERT_TRUE(fs::create_directories(m_Work));
    {
        // A writer that never closes: the header still says 0 frames.
        std::vector<std::uint8_t> pixels(620 * 342 * 3, 0x40);
        CFrameStoreWriter writer;
        ASSERT_TRUE(writer.Create(620, 342));
        ASSERT_TRUE(writer.OpenForWriting(m_Work / L"temp.dat"));
        for (int i = 0; i < 6; ++i) {
            pixels[i * 3000] = 0xF0;
            ASSERT_TRUE(writer.Append(0.1f, pixels.data()));
        }
        const fs::path crashed = m_Work / L"crashed.bin";
        fs::copy_file(m_Work / L"temp.dat", crashed);
        writer.Close();
        fs::remove(m_Work / L"temp.dat");
        fs::rename(crashed, m_Work / L"temp.dat");
    }
    ExpectSavedAtNextStart(6);
    EXPECT_EQ(Occurrences(OutputText(), "add frame start\nadd frame end\n"), 6);
}

TEST_F(RecordingEndToEnd, AWorkFolderThatCannotBeMadeRefusesToRecordAndThePanelSaysWhyForAFewSeconds)
{
    ASSERT_TRUE(fs::create_directories(m_Work));
    const fs::path blocker = m_Work / L"a file";
    ASSERT_TRUE(WriteWhole(blocker, "in the way"));
    WriteConfig(10, 2, false, blocker / L"recordings");
    StartPelidore();
    EXPECT_EQ(MessagePixels(), 0);
    EXPECT_NE(Pelictl(L"record"), 0);
    EXPECT_EQ(Pelictl(L"state"), 0);
    EXPECT_EQ(Pelictl(L"wait-idle"), 0);
    EXPECT_FALSE(fs::exists(blocker / L"recordings"));
    Sleep(300);
    EXPECT_GT(MessagePixels(ChildProcess::BesideTest(L"panel-cannot-write.png")), 100);
    Sleep(6500);
    EXPECT_EQ(MessagePixels(), 0) << "the message stays too long";
}

TEST_F(RecordingEndToEnd, AMinimisedFrameGoesOnRecordingTheRegionItMarks)
{
    WriteConfig(10, 0);
    StartPelidore();
    ASSERT_EQ(Pelictl(L"record"), 0);
    Sleep(800);
    ASSERT_EQ(Pelictl(L"minimize"), 0);
    Sleep(1500);
    ASSERT_EQ(Pelictl(L"stop"), 0);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    {
        GifFile gif(OnlyGif());
        ASSERT_TRUE(gif.IsOpen()) << gif.Error();
        EXPECT_EQ(gif.Width(), 620);
        EXPECT_EQ(gif.Height(), 342);
        EXPECT_GE(gif.FrameCount(), 10);
        // The square goes on moving: frames of the region, not one image
        // left over from before.
        int moved = 0;
        for (int i = 0; i < gif.FrameCount(); ++i) {
            const int left = scene::SquareLeft(gif, i);
            EXPECT_GE(left, 0) << "no square in frame " << i;
            moved += i > 0 && left != scene::SquareLeft(gif, i - 1) ? 1 : 0;
            EXPECT_GT(scene::Count(gif, i, scene::kMarkerX - 3, scene::kMarkerY - 3, scene::kMarkerX + 3,
                                   scene::kMarkerY + 3, scene::IsMarkerGreen),
                      30)
                << "frame " << i;
        }
        EXPECT_GE(moved, (gif.FrameCount() - 1) * 3 / 4);
    }
    // Still minimised: a snapshot shows the region too.
    ASSERT_EQ(Pelictl(L"snapshot"), 0);
    const std::vector<fs::path> jpegs = FilesEndingWith(L".jpg");
    ASSERT_EQ(jpegs.size(), 1u);
    CNBitmap picture;
    ASSERT_EQ(picture.Load(jpegs.front().c_str()), 0);
    EXPECT_EQ(picture.Width(), 620);
    EXPECT_EQ(picture.Height(), 342);
    Gdiplus::Color colour;
    ASSERT_EQ(picture.Image()->GetPixel(scene::kMarkerX, scene::kMarkerY, &colour), Gdiplus::Ok);
    EXPECT_TRUE(scene::IsMarkerGreen(colour.GetR(), colour.GetG(), colour.GetB()));
}
