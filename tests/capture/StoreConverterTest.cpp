#include "CFrameStoreReader.h"
#include "CFrameStoreWriter.h"
#include "CStoreConverter.h"
#include "GifFile.h"

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
