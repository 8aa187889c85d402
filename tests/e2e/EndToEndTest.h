#pragma once
// What the whole-program tests share: Pelidore under Wine over the scene
// program, driven by pelictl, with the settings files of the test prefix put
// back afterwards and each test's work folder named outside the ANSI code
// page (every output goes through wide-character paths).
#include "CCaptureGeometry.h"
#include "CConfigFile.h"
#include "CFrameGeometry.h"
#include "CFrameStoreReader.h"
#include "CLogoFile.h"
#include "CNGdiplus.h"
#include "COptionsFile.h"
#include "CSettingsFile.h"
#include "CSettingsFolder.h"
#include "ChildProcess.h"
#include "GifFile.h"
#include "SceneFrames.h"
#include "SettingsBackup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace pelidore {

namespace fs = std::filesystem;

constexpr unsigned kCommandTimeoutMs = 60000;

struct Recording {
    float wallSeconds = 0.0f;
};

class EndToEndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_Gdiplus = std::make_unique<CNGdiplus>();
        const fs::path settings = CSettingsFolder::Default();
        s_ConfigBackup = std::make_unique<SettingsBackup>(settings / CSettingsFolder::kConfigFileName);
        s_LogoBackup = std::make_unique<SettingsBackup>(settings / CSettingsFolder::kLogoFileName);
        s_OptionsBackup = std::make_unique<SettingsBackup>(settings / COptionsFile::kFileName);
        s_Frame = StartFrame();
        s_Scene = std::make_unique<ChildProcess>();
        const std::wstring rect = std::to_wstring(s_Frame.left) + L" " + std::to_wstring(s_Frame.top) + L" " +
                                  std::to_wstring(s_Frame.Width()) + L" " + std::to_wstring(s_Frame.Height());
        s_Scene->Start(L"scene.exe", L"--rect " + rect + L" --seconds 600");
    }
    static void TearDownTestSuite()
    {
        s_Scene.reset();
        s_OptionsBackup.reset();
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
        WriteOptions(Options{});
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

    static void WriteOptions(const Options& options)
    {
        COptionsFile file;
        file.options = options;
        ASSERT_TRUE(file.Write(fs::path(CSettingsFolder::Default()) / COptionsFile::kFileName));
    }

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
    static std::unique_ptr<SettingsBackup> s_OptionsBackup;
    static std::unique_ptr<ChildProcess> s_Scene;
    static ScreenRect s_Frame;

    fs::path m_Work;
    fs::path m_Output;
    ChildProcess m_Pelidore;
};

} // namespace pelidore
