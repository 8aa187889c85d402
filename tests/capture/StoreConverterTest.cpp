#include "CFitToSizeSave.h"
#include "CFrameStoreReader.h"
#include "CFrameStoreWriter.h"
#include "CStoreConverter.h"
#include "GifFile.h"
#include "SyntheticFrames.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
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
    // delayStep: frame i lasts 0.1 + i * delayStep seconds.
    void WriteStore(int frames, bool closeStore = true, float delayStep = 0.0f)
    {
        CFrameStoreWriter writer;
        ASSERT_TRUE(writer.Create(kWidth, kHeight));
        ASSERT_TRUE(writer.OpenForWriting(m_StorePath));
        for (int i = 0; i < frames; ++i)
            ASSERT_TRUE(writer.Append(0.1f + float(i) * delayStep, Frame(i).data()));
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

    SaveOutcome Convert(const SaveOptions& options = {}, const std::vector<bool>& kept = {})
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
            m_Log, {}, kept);
    }

    std::vector<std::uint8_t> GifBytes() const
    {
        std::ifstream in(m_GifPath, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
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

TEST_F(StoreConverter, SavesOnlyTheKeptFramesEachWithItsOwnDelay)
{
    WriteStore(30, true, 0.01f); // frame i lasts 10 + i hundredths
    std::vector<bool> kept(30, false);
    for (int frame : {2, 3, 6, 7, 21, 25})
        kept[std::size_t(frame)] = true;
    ASSERT_EQ(Convert({}, kept), SaveOutcome::Saved);
    {
        GifFile gif(m_GifPath);
        ASSERT_EQ(gif.FrameCount(), 6);
        const int expected[] = {12, 13, 16, 17, 31, 35}; // hundredths, each within one of its own
        for (int i = 0; i < gif.FrameCount(); ++i)
            EXPECT_NEAR(gif.DelayOf(i), expected[i], 1) << "GIF frame " << i;
        EXPECT_NEAR(gif.TotalCentiseconds(), 124, 1);
    }
    EXPECT_EQ(m_Reports, (std::vector<int>{0, 4, 6}));
    EXPECT_EQ(m_Total, 6);

    // Keeping every frame is the whole recording, byte for byte.
    ASSERT_EQ(Convert(), SaveOutcome::Saved);
    const std::vector<std::uint8_t> whole = GifBytes();
    ASSERT_EQ(Convert({}, std::vector<bool>(30, true)), SaveOutcome::Saved);
    EXPECT_EQ(GifBytes(), whole);

    // A mask that keeps nothing of the store makes no GIF.
    fs::remove(m_GifPath);
    kept.assign(40, false);
    kept[35] = true; // past the end of the store
    EXPECT_EQ(Convert({}, kept), SaveOutcome::ExportFailed);
    EXPECT_FALSE(fs::exists(m_GifPath));
}

TEST_F(StoreConverter, FramesAfterTheLastKeptOneAreNeverRead)
{
    WriteStore(12);
    std::vector<std::uint8_t> file;
    {
        std::ifstream in(m_StorePath, std::ios::binary);
        file.assign(std::istreambuf_iterator<char>(in), {});
    }
    file.resize(file.size() - 3); // frame 11 torn
    std::ofstream(m_StorePath, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
    EXPECT_EQ(Convert(), SaveOutcome::StoreUnreadable);
    std::vector<bool> kept(12, true);
    kept[11] = false;
    EXPECT_EQ(Convert({}, kept), SaveOutcome::Saved);
    EXPECT_EQ(GifFile(m_GifPath).FrameCount(), 11);
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

    SaveOutcome Fit(std::uint64_t limit, SaveOptions options = {}, const std::vector<bool>& kept = {})
    {
        CStoreConverter converter(m_Exporter);
        CFitToSizeSave fit(converter, [this](int fps, int scale) { m_Steps.push_back(fps * 1000 + scale); });
        const SaveOutcome outcome =
            fit.Convert(m_StorePath, m_GifPath, options, limit, m_Stop, nullptr, nullptr, kept);
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

TEST_F(StoreFitToSize, DropsFramesAmongTheKeptOnesAndKeepsTheirTime)
{
    WriteDesktopStore(40);
    std::vector<bool> kept(40, false);
    for (int i = 10; i < 30; ++i)
        kept[std::size_t(i)] = i != 15;
    SaveOptions smaller;
    smaller.smallerFiles = true;
    ASSERT_EQ(Convert(smaller, kept), SaveOutcome::Saved);
    const std::uint64_t full = fs::file_size(m_GifPath);
    fs::remove(m_GifPath);
    ASSERT_EQ(Fit(full * 2 / 3, {}, kept), SaveOutcome::Saved);
    EXPECT_FALSE(m_Step.IsFullRecording());
    EXPECT_EQ(m_Steps.front() / 1000, 0) << "the first pass keeps every kept frame";
    GifFile gif(m_GifPath);
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    EXPECT_LT(gif.FrameCount(), 19);
    EXPECT_NEAR(gif.TotalCentiseconds(), 190, 1) << "the kept frames' time, and only theirs";
}
