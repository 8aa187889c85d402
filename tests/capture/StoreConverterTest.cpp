#include "CFitToSizeSave.h"
#include "CFrameStoreReader.h"
#include "CFrameStoreWriter.h"
#include "CStoreConverter.h"
#include "GifFile.h"
#include "SyntheticFrames.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using namespace pelidore;
namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 32;

std::vector<std::uint8_t> Frame(int index)
{
    std::vector<std::uint8_t> pixels(kWidth * kHeight * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>((i / 3 + index * 7) % 200);
    return pixels;
}

class StoreConverter : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder =
            fs::temp_directory_path() /
            ("pelidore-converter-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_Folder);
        fs::create_directories(m_Folder);
        m_StorePath = m_Folder / "temp.dat";
        m_GifPath = m_Folder / "2024_1_1_1.gif";
        m_Log = std::tmpfile();
        ASSERT_NE(m_Log, nullptr);
    }
    void TearDown() override
    {
        std::fclose(m_Log);
        std::error_code ignored;
        fs::remove_all(m_Folder, ignored);
    }

    // closeStore false leaves the header count at 0, as a crash does.
    void WriteStore(int frames, bool closeStore = true)
    {
        CFrameStoreWriter writer;
        ASSERT_TRUE(writer.Create(kWidth, kHeight));
        ASSERT_TRUE(writer.OpenForWriting(m_StorePath));
        for (int i = 0; i < frames; ++i)
            ASSERT_TRUE(writer.Append(0.1f, Frame(i).data()));
        if (closeStore) {
            ASSERT_TRUE(writer.Close());
        } else {
            // Copy what a crash leaves: the records, the header still at 0.
            const fs::path copy = m_Folder / "crashed.dat";
            fs::copy_file(m_StorePath, copy);
            writer.Close();
            fs::remove(m_StorePath);
            fs::rename(copy, m_StorePath);
        }
    }

    SaveOutcome Convert(const SaveOptions& options = {})
    {
        CStoreConverter converter(m_Exporter);
        return converter.Convert(
            m_StorePath, m_GifPath, options, m_Stop,
            [this](int done, int total) {
                m_Reports.push_back(done);
                m_Total = total;
                if (done >= m_StopAfter)
                    m_Stop.store(static_cast<int>(m_StopWith));
            },
            m_Log);
    }

    std::string LogText()
    {
        std::rewind(m_Log);
        std::string text;
        for (int c; (c = std::fgetc(m_Log)) != EOF;)
            text += static_cast<char>(c);
        return text;
    }

    fs::path m_Folder;
    fs::path m_StorePath;
    fs::path m_GifPath;
    std::FILE* m_Log = nullptr;
    GifExporter m_Exporter;
    std::atomic<int> m_Stop{0};
    int m_StopAfter = 1 << 30;
    SaveStop m_StopWith = SaveStop::None;
    std::vector<int> m_Reports;
    int m_Total = 0;
};

} // namespace

TEST_F(StoreConverter, SavesEveryFrameWithItsDelayAndMarksEachHandOver)
{
    WriteStore(10);
    ASSERT_EQ(Convert(), SaveOutcome::Saved);
    GifFile gif(m_GifPath);
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    EXPECT_EQ(gif.Width(), kWidth);
    EXPECT_EQ(gif.Height(), kHeight);
    EXPECT_EQ(gif.FrameCount(), 10);
    EXPECT_NEAR(gif.TotalCentiseconds(), 100, 1);
    std::string expected;
    for (int i = 0; i < 10; ++i)
        expected += "add frame start\nadd frame end\n";
    EXPECT_EQ(LogText(), expected);
    EXPECT_EQ(m_Reports, (std::vector<int>{0, 4, 8, 10}));
    EXPECT_EQ(m_Total, 10);
    EXPECT_TRUE(CStoreConverter::Finish(SaveOutcome::Saved, m_StorePath, m_GifPath));
    EXPECT_FALSE(fs::exists(m_StorePath));
    EXPECT_TRUE(fs::exists(m_GifPath));
}

TEST_F(StoreConverter, AFailedExportKeepsTheStore)
{
    WriteStore(5);
    m_GifPath = m_Folder / "missing folder" / "x.gif";
    EXPECT_EQ(Convert(), SaveOutcome::ExportFailed);
    EXPECT_FALSE(CStoreConverter::Finish(SaveOutcome::ExportFailed, m_StorePath, m_GifPath));
    EXPECT_TRUE(fs::exists(m_StorePath));
    EXPECT_EQ(LogText(), "");
    // The kept store converts once the GIF can be written.
    m_GifPath = m_Folder / "second.gif";
    EXPECT_EQ(Convert(), SaveOutcome::Saved);
    EXPECT_EQ(GifFile(m_GifPath).FrameCount(), 5);
}

TEST_F(StoreConverter, ACancelKeepsTheFramesSoFarAndDropsTheStore)
{
    WriteStore(12);
    m_StopAfter = 4;
    m_StopWith = SaveStop::Cancel;
    ASSERT_EQ(Convert(), SaveOutcome::Cancelled);
    EXPECT_EQ(GifFile(m_GifPath).FrameCount(), 4);
    EXPECT_TRUE(CStoreConverter::Finish(SaveOutcome::Cancelled, m_StorePath, m_GifPath));
    EXPECT_FALSE(fs::exists(m_StorePath));
    EXPECT_TRUE(fs::exists(m_GifPath));
}

TEST_F(StoreConverter, QuittingWhileSavingKeepsTheStoreAndDropsTheUnfinishedGif)
{
    WriteStore(12);
    m_StopAfter = 4;
    m_StopWith = SaveStop::Quit;
    ASSERT_EQ(Convert(), SaveOutcome::Interrupted);
    EXPECT_FALSE(CStoreConverter::Finish(SaveOutcome::Interrupted, m_StorePath, m_GifPath));
    EXPECT_TRUE(fs::exists(m_StorePath));
    EXPECT_FALSE(fs::exists(m_GifPath));
    m_Stop.store(0);
    m_StopAfter = 1 << 30;
    EXPECT_EQ(Convert(), SaveOutcome::Saved);
    EXPECT_EQ(GifFile(m_GifPath).FrameCount(), 12);
}

TEST_F(StoreConverter, NoStoreMeansNothingToSaveAndNoGif)
{
    EXPECT_EQ(Convert(), SaveOutcome::StoreUnreadable);
    EXPECT_FALSE(fs::exists(m_GifPath));
    EXPECT_FALSE(CStoreConverter::Finish(SaveOutcome::StoreUnreadable, m_StorePath, m_GifPath));
}

TEST_F(StoreConverter, ACrashedStoreIsMendedAndSavedWhole)
{
    WriteStore(7, false);
    {
        CFrameStoreReader reader;
        ASSERT_TRUE(reader.OpenForReading(m_StorePath));
        EXPECT_EQ(reader.HeaderFrameCount(), 0);
    }
    ASSERT_EQ(CStoreConverter::RecoverKept(m_StorePath), KeptStoreAction::Save);
    ASSERT_EQ(Convert(), SaveOutcome::Saved);
    EXPECT_EQ(GifFile(m_GifPath).FrameCount(), 7);
}

TEST_F(StoreConverter, KeptStoresWithoutFramesAreDroppedAndStrangeFilesLeftAlone)
{
    WriteStore(0);
    EXPECT_EQ(CStoreConverter::RecoverKept(m_StorePath), KeptStoreAction::DiscardEmpty);
    EXPECT_FALSE(fs::exists(m_StorePath));
    std::ofstream(m_StorePath, std::ios::binary) << "not a frame store at all";
    EXPECT_EQ(CStoreConverter::RecoverKept(m_StorePath), KeptStoreAction::Leave);
    EXPECT_TRUE(fs::exists(m_StorePath));
}

class StoreFitToSize : public StoreConverter {
protected:
    // A desktop-like recording at 10 frames a second.
    void WriteDesktopStore(int frames)
    {
        const synth::DesktopSequence desktop(kDesktopWidth, kDesktopHeight, 3, false, true);
        CFrameStoreWriter writer;
        ASSERT_TRUE(writer.Create(kDesktopWidth, kDesktopHeight));
        ASSERT_TRUE(writer.OpenForWriting(m_StorePath));
        for (int i = 0; i < frames; ++i)
            ASSERT_TRUE(writer.Append(0.1f, desktop.Frame(i).data()));
        ASSERT_TRUE(writer.Close());
    }

    SaveOutcome Fit(std::uint64_t limit, SaveOptions options = {})
    {
        CStoreConverter converter(m_Exporter);
        CFitToSizeSave fit(converter, [this](int fps, int scale) { m_Steps.push_back(fps * 1000 + scale); });
        const SaveOutcome outcome = fit.Convert(m_StorePath, m_GifPath, options, limit, m_Stop, nullptr, nullptr);
        m_Step = fit.Step();
        return outcome;
    }

    static constexpr int kDesktopWidth = 320;
    static constexpr int kDesktopHeight = 180;
    std::vector<int> m_Steps;
    FitStep m_Step;
};

TEST_F(StoreFitToSize, LandsBetweenFourFifthsAndTheLimitWithTheTimeKept)
{
    WriteDesktopStore(40);
    SaveOptions smaller;
    smaller.smallerFiles = true;
    ASSERT_EQ(Convert(smaller), SaveOutcome::Saved);
    const std::uint64_t full = fs::file_size(m_GifPath);
    fs::remove(m_GifPath);
    for (int over : {2, 4}) {
        SCOPED_TRACE(over);
        const std::uint64_t limit = full / over;
        ASSERT_EQ(Fit(limit), SaveOutcome::Saved);
        const std::uint64_t size = fs::file_size(m_GifPath);
        EXPECT_LE(size, limit);
        EXPECT_GE(size, limit * 8 / 10);
        EXPECT_FALSE(m_Step.IsFullRecording());
        {
            GifFile gif(m_GifPath); // closed before the file goes
            ASSERT_TRUE(gif.IsOpen()) << gif.Error();
            EXPECT_NEAR(gif.TotalCentiseconds(), 400, 1);
        }
        EXPECT_FALSE(fs::exists(m_GifPath.string() + ".part"));
        fs::remove(m_GifPath);
    }
    EXPECT_EQ(FitStep::Describe(8, 80), L"8 fps, 80 %");
    EXPECT_EQ(FitStep::Describe(0, 100), L"");
}

TEST_F(StoreFitToSize, TooLargeForAnyStepLeavesNoGifAndTheStore)
{
    WriteDesktopStore(6);
    EXPECT_EQ(Fit(300), SaveOutcome::TooLarge);
    EXPECT_FALSE(fs::exists(m_GifPath));
    EXPECT_FALSE(fs::exists(m_GifPath.string() + ".part"));
    EXPECT_FALSE(CStoreConverter::Finish(SaveOutcome::TooLarge, m_StorePath, m_GifPath));
    EXPECT_TRUE(fs::exists(m_StorePath));
}
