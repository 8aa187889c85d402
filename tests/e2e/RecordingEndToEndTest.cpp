// The real Pelidore under Wine, driven by pelictl over the scene program:
// recordings in live and deferred mode, snapshots, quitting mid-recording,
// recovery of a crashed store, a work folder that cannot be made, and a
// frame minimised while it records.
#include "CCaptureGeometry.h"
#include "CConfigFile.h"
#include "CFrameGeometry.h"
#include "CFrameStoreReader.h"
#include "CFrameStoreWriter.h"
#include "CLogoFile.h"
#include "CNBitmap.h"
#include "CNGdiplus.h"
#include "CSettingsFile.h"
#include "CSettingsFolder.h"
#include "ChildProcess.h"
#include "GifFile.h"
#include "SceneFrames.h"
#include "SettingsBackup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace pelidore;
namespace fs = std::filesystem;

namespace {

constexpr unsigned kCommandTimeoutMs = 60000;

struct Recording {
    float wallSeconds = 0.0f;
};

class RecordingEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_Gdiplus = std::make_unique<CNGdiplus>();
        const fs::path settings = CSettingsFolder::Default();
        s_ConfigBackup = std::make_unique<SettingsBackup>(settings / CSettingsFolder::kConfigFileName);
        s_LogoBackup = std::make_unique<SettingsBackup>(settings / CSettingsFolder::kLogoFileName);
        s_Frame = StartFrame();
        s_Scene = std::make_unique<ChildProcess>();
        const std::wstring rect = std::to_wstring(s_Frame.left) + L" " + std::to_wstring(s_Frame.top) + L" " +
                                  std::to_wstring(s_Frame.Width()) + L" " + std::to_wstring(s_Frame.Height());
        s_Scene->Start(L"scene.exe", L"--rect " + rect + L" --seconds 600");
    }
    static void TearDownTestSuite()
    {
        s_Scene.reset();
        s_LogoBackup.reset();
        s_ConfigBackup.reset();
        s_Gdiplus.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_Scene && s_Scene->IsRunning()) << "the scene program did not start";
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        // Outside the ANSI code page on purpose: every output goes through
        // wide-character paths.
        m_Work = fs::temp_directory_path() / L"pelidore e2e \u9332\u753b \u03a9\u03bc\u03ad\u03b3\u03b1" /
                 std::wstring(name.begin(), name.end());
        std::error_code ignored;
        fs::remove_all(m_Work, ignored);
        fs::create_directories(m_Work.parent_path(), ignored);
        m_Output = m_Work.parent_path() / (std::wstring(name.begin(), name.end()) + L".out");
        WriteLogo(CLogoFile{});
    }
    void TearDown() override
    {
        Quit();
        std::error_code ignored;
        fs::remove_all(m_Work, ignored);
        fs::remove(m_Output, ignored);
    }

    static ScreenRect StartFrame()
    {
        HMONITOR monitor = MonitorFromPoint(
            POINT{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)}, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        GetMonitorInfoW(monitor, &info);
        const PixelPoint at = CFrameGeometry::StartOrigin(
            {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)},
            {info.rcMonitor.right - info.rcMonitor.left, info.rcMonitor.bottom - info.rcMonitor.top});
        return {at.x, at.y, at.x + CFrameGeometry::kStartWidth, at.y + CFrameGeometry::kStartHeight};
    }

    void WriteConfig(int fps, int quality, bool cursor, const fs::path& workFolder, int scalePercent = 100)
    {
        CConfigFile config;
        config.fpsStep = fps - 1;
        config.scaleStep = scalePercent - 30;
        config.qualityIndex = quality;
        config.cursorCapture = cursor;
        config.workFolder.AssignUnits(workFolder.c_str(), CFixedText::kUnits);
        ASSERT_TRUE(CSettingsFile::Write(fs::path(CSettingsFolder::Default()) / CSettingsFolder::kConfigFileName,
                                         config.Serialise()));
    }
    void WriteConfig(int fps, int quality, bool cursor = false) { WriteConfig(fps, quality, cursor, m_Work); }

    static void WriteLogo(const CLogoFile& logo)
    {
        ASSERT_TRUE(CSettingsFile::Write(fs::path(CSettingsFolder::Default()) / CSettingsFolder::kLogoFileName,
                                         logo.Serialise()));
    }

    void StartPelidore()
    {
        ASSERT_TRUE(m_Pelidore.Start(L"Pelidore.exe", L"", m_Output));
        ASSERT_EQ(Pelictl(L"state"), 0) << "Pelidore did not come up";
    }

    void Quit()
    {
        if (!m_Pelidore.IsRunning())
            return;
        EXPECT_EQ(Pelictl(L"quit"), 0);
        if (m_Pelidore.Wait(10000) == -1)
            m_Pelidore.Kill();
    }

    static int Pelictl(const std::wstring& action)
    {
        return ChildProcess::Run(L"pelictl.exe", L"--timeout 60 " + action, kCommandTimeoutMs + 5000);
    }

    Recording Record(unsigned milliseconds)
    {
        Recording recording;
        EXPECT_EQ(Pelictl(L"record"), 0);
        const ULONGLONG started = GetTickCount64();
        Sleep(milliseconds);
        EXPECT_EQ(Pelictl(L"stop"), 0);
        recording.wallSeconds = static_cast<float>(GetTickCount64() - started) / 1000.0f;
        return recording;
    }

    std::vector<fs::path> FilesEndingWith(const wchar_t* extension) const
    {
        std::vector<fs::path> found;
        std::error_code error;
        for (fs::directory_iterator entry(m_Work, error), end; !error && entry != end; entry.increment(error)) {
            if (entry->path().extension() == extension)
                found.push_back(entry->path());
        }
        return found;
    }

    fs::path OnlyGif() const
    {
        const std::vector<fs::path> gifs = FilesEndingWith(L".gif");
        EXPECT_EQ(gifs.size(), 1u);
        return gifs.empty() ? fs::path() : gifs.front();
    }

    // Frames the header of the kept store counts, -1 when there is none.
    int KeptFrames() const
    {
        CFrameStoreReader store;
        return store.OpenForReading(m_Work / L"temp.dat") ? store.HeaderFrameCount() : -1;
    }

    // The next start saves what the work folder kept: one GIF of `frames`
    // frames (any number when negative), and no store left.
    void ExpectSavedAtNextStart(int frames)
    {
        StartPelidore();
        ASSERT_EQ(Pelictl(L"wait-idle"), 0);
        EXPECT_TRUE(FilesEndingWith(L".dat").empty());
        GifFile gif(OnlyGif());
        ASSERT_TRUE(gif.IsOpen()) << gif.Error();
        if (frames >= 0) {
            EXPECT_EQ(gif.FrameCount(), frames);
        }
    }

    // Through _wfopen: the folders' names are outside the ANSI code page.
    static std::string ReadWhole(const fs::path& path)
    {
        std::string bytes;
        FILE* file = _wfopen(path.c_str(), L"rb");
        if (!file)
            return bytes;
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, got);
        std::fclose(file);
        return bytes;
    }

    static bool WriteWhole(const fs::path& path, const std::string& bytes)
    {
        FILE* file = _wfopen(path.c_str(), L"wb");
        if (!file)
            return false;
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return std::fclose(file) == 0 && written;
    }

    // Standard output is in text mode, as Windows programs' are: the lines
    // end in CR LF there.
    std::string OutputText() const
    {
        std::string text = ReadWhole(m_Output);
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return text;
    }

    static int Occurrences(const std::string& text, const std::string& what)
    {
        int count = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
            ++count;
        return count;
    }

    // Frame count, delays and motion of a recording of the scene.
    static void ExpectSceneRecording(const GifFile& gif, const Recording& recording, int fps)
    {
        ASSERT_TRUE(gif.IsOpen()) << gif.Error();
        EXPECT_EQ(gif.Width(), 620);
        EXPECT_EQ(gif.Height(), 342);
        const int frames = gif.FrameCount();
        std::string delays;
        for (int i = 0; i < frames; ++i)
            delays += std::to_string(gif.DelayOf(i)) + " ";
        SCOPED_TRACE("delays: " + delays);
        const float recorded = static_cast<float>(gif.TotalCentiseconds()) / 100.0f;
        // Slow passes make fewer, longer frames; never more than the rate allows.
        // One pass may start late and the next on time, so single delays
        // vary; over the recording the passes keep to the frame rate.
        EXPECT_LE(frames, static_cast<int>(recorded * fps * 1.1f) + 2);
        EXPECT_GE(frames, static_cast<int>(recorded * fps * 0.5f));
        EXPECT_NEAR(recorded, recording.wallSeconds, 0.8f);

        // The frame's corner marks, gone while recording, are in no frame
        // (the bottom ones: a logo may sit at the top).
        for (int i = 0; i < frames; ++i) {
            EXPECT_EQ(scene::Count(gif, i, 0, 322, 20, 342, scene::IsBlack), 0) << "frame " << i;
            EXPECT_EQ(scene::Count(gif, i, 600, 322, 620, 342, scene::IsBlack), 0) << "frame " << i;
        }
        int moved = 0;
        long long travelled = 0;
        int previous = scene::SquareLeft(gif, 0);
        for (int i = 1; i < frames; ++i) {
            const int left = scene::SquareLeft(gif, i);
            ASSERT_GE(left, 0) << "no square in frame " << i;
            int step = left - previous;
            if (step < -scene::kTravel / 2)
                step += scene::kTravel;
            moved += step != 0 ? 1 : 0;
            travelled += step;
            previous = left;
            EXPECT_GT(scene::Count(gif, i, scene::kMarkerX - 3, scene::kMarkerY - 3, scene::kMarkerX + 3,
                                   scene::kMarkerY + 3, scene::IsMarkerGreen),
                      30)
                << "frame " << i;
        }
        EXPECT_GE(moved, (frames - 1) * 3 / 4);
        // The square covers in the GIF the distance its delays say it should.
        const float expected =
            static_cast<float>(gif.TotalCentiseconds() - gif.DelayOf(0)) / 100.0f * scene::kPixelsPerSecond;
        EXPECT_NEAR(static_cast<float>(travelled), expected, expected * 0.3f + 30.0f);
    }

    static std::unique_ptr<CNGdiplus> s_Gdiplus;
    static std::unique_ptr<SettingsBackup> s_ConfigBackup;
    static std::unique_ptr<SettingsBackup> s_LogoBackup;
    static std::unique_ptr<ChildProcess> s_Scene;
    static ScreenRect s_Frame;

    fs::path m_Work;
    fs::path m_Output;
    ChildProcess m_Pelidore;
};

std::unique_ptr<CNGdiplus> RecordingEndToEnd::s_Gdiplus;
std::unique_ptr<SettingsBackup> RecordingEndToEnd::s_ConfigBackup;
std::unique_ptr<SettingsBackup> RecordingEndToEnd::s_LogoBackup;
std::unique_ptr<ChildProcess> RecordingEndToEnd::s_Scene;
ScreenRect RecordingEndToEnd::s_Frame;

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

TEST_F(RecordingEndToEnd, AWorkFolderThatCannotBeMadeRefusesToRecordInsteadOfDroppingFrames)
{
    ASSERT_TRUE(fs::create_directories(m_Work));
    const fs::path blocker = m_Work / L"a file";
    ASSERT_TRUE(WriteWhole(blocker, "in the way"));
    WriteConfig(10, 2, false, blocker / L"recordings");
    StartPelidore();
    EXPECT_NE(Pelictl(L"record"), 0);
    EXPECT_EQ(Pelictl(L"state"), 0);
    EXPECT_EQ(Pelictl(L"wait-idle"), 0);
    EXPECT_FALSE(fs::exists(blocker / L"recordings"));
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
