#include "COptionsFile.h"
#include "CSettingsFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace pelidore {

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::string TextOf(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

Options Loaded(const std::string& text)
{
    COptionsFile file;
    file.Load(BytesOf(text));
    return file.options;
}

class OptionsStorage : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_Root = fs::temp_directory_path() / ("pelidore-options-" + std::to_string(stamp));
        ASSERT_TRUE(fs::create_directories(m_Root));
        m_File = m_Root / COptionsFile::kFileName;
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_Root, error);
    }

    void WriteRaw(const std::string& content) const
    {
        std::ofstream stream(m_File, std::ios::binary);
        stream << content;
    }

    std::string ReadRaw() const
    {
        std::ifstream stream(m_File, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }

    fs::path m_Root;
    fs::path m_File;
};

TEST(OptionsFile, DefaultsAreThoseOfTheProgramWithoutTheFile)
{
    const Options options;
    EXPECT_EQ(options.recordHotkey.Text(), "Ctrl+Shift+F9");
    EXPECT_EQ(options.pauseHotkey.Text(), "Ctrl+Shift+F10");
    EXPECT_EQ(options.snapshotHotkey.Text(), "Ctrl+Shift+F11");
    EXPECT_EQ(options.countdownSeconds, 0);
    EXPECT_FALSE(options.highlightClicks || options.copyAfterSave || options.showAfterSave ||
                 options.reviewBeforeSaving || options.smallerFiles);
    EXPECT_EQ(options.fitToMb, 0);
    EXPECT_TRUE(COptionsFile::Same(Loaded(""), options));
    EXPECT_TRUE(COptionsFile::Same(Loaded("\xEF\xBB\xBF"), options));
}

TEST(OptionsFile, ReadsEveryKeyWhateverTheLineEndsCaseAndComments)
{
    const std::string lines[] = {
        "# hand-edited",
        "  record_hotkey=ctrl + alt + r   # trailing comment",
        "pause_hotkey = none",
        "Snapshot_Hotkey\t=\tF12",
        "countdown_seconds = 10",
        "highlight_clicks = 1",
        "copy_after_save = 1",
        "show_after_save = 1",
        "review_before_saving = 1",
        "smaller_files = 1",
        "fit_to_mb = 999",
    };
    for (const std::string end : {"\n", "\r\n"}) {
        std::string text = "\xEF\xBB\xBF";
        for (const std::string& line : lines)
            text += line + end;
        const Options options = Loaded(text);
        EXPECT_EQ(options.recordHotkey.Text(), "Ctrl+Alt+R");
        EXPECT_TRUE(options.pauseHotkey.IsNone());
        EXPECT_EQ(options.snapshotHotkey.Text(), "F12");
        EXPECT_EQ(options.countdownSeconds, 10);
        EXPECT_TRUE(options.highlightClicks && options.copyAfterSave && options.showAfterSave &&
                    options.reviewBeforeSaving && options.smallerFiles);
        EXPECT_EQ(options.fitToMb, 999);
    }
}

TEST(OptionsFile, AValueThatDoesNotParseLeavesTheDefault)
{
    const std::string bad[] = {
        "countdown_seconds = 4",
        "countdown_seconds = -3",
        "countdown_seconds = 3s",
        "countdown_seconds =",
        "fit_to_mb = 1000",
        "fit_to_mb = -1",
        "fit_to_mb = 99999999999999999999",
        "fit_to_mb = 0x10",
        "highlight_clicks = 2",
        "highlight_clicks = yes",
        "smaller_files = 1 1",
        "record_hotkey = Ctrl+Shift",
        "record_hotkey = A",
        "record_hotkey = Ctrl+F25",
        "record_hotkey",
        "= 1",
    };
    for (const std::string& line : bad)
        EXPECT_TRUE(COptionsFile::Same(Loaded(line + "\n"), Options{})) << line;
    // The last value that parses counts.
    EXPECT_EQ(Loaded("fit_to_mb = 5\nfit_to_mb = 7\nfit_to_mb = x\n").fitToMb, 7);
}

TEST(OptionsFile, ARewriteKeepsForeignLinesAndTouchesOnlyChangedValues)
{
    COptionsFile file;
    file.Load(BytesOf("# Pelidore\r\n"
                      "future_key = keep me\r\n"
                      "\r\n"
                      "record_hotkey = ctrl+shift+f9\r\n"
                      "countdown_seconds = 3 # before recording\r\n"
                      "fit_to_mb = lots\r\n"
                      "copy_after_save=\r\n"));
    file.options.countdownSeconds = 5;
    file.options.copyAfterSave = true;
    EXPECT_EQ(TextOf(file.Serialise()), "# Pelidore\r\n"
                                        "future_key = keep me\r\n"
                                        "\r\n"
                                        "record_hotkey = ctrl+shift+f9\r\n"
                                        "countdown_seconds = 5 # before recording\r\n"
                                        "fit_to_mb = 0\r\n"
                                        "copy_after_save= 1\r\n"
                                        "pause_hotkey = Ctrl+Shift+F10\r\n"
                                        "snapshot_hotkey = Ctrl+Shift+F11\r\n"
                                        "highlight_clicks = 0\r\n"
                                        "show_after_save = 0\r\n"
                                        "review_before_saving = 0\r\n"
                                        "smaller_files = 0\r\n");
}

TEST(OptionsFile, WhatIsWrittenReadsBackTheSameAndRewritesUnchanged)
{
    COptionsFile file;
    file.Load(BytesOf("\xEF\xBB\xBFunknown = 1\nfit_to_mb = 3\n"));
    Options& options = file.options;
    options.recordHotkey = CHotkey(CHotkey::kWin | CHotkey::kAlt, 'G');
    options.pauseHotkey = CHotkey();
    options.countdownSeconds = 3;
    options.showAfterSave = true;
    options.fitToMb = 25;
    const Bytes first = file.Serialise();

    COptionsFile again;
    again.Load(first);
    EXPECT_TRUE(COptionsFile::Same(again.options, options));
    EXPECT_EQ(again.Serialise(), first);
    EXPECT_EQ(TextOf(first).rfind("\xEF\xBB\xBFunknown = 1\n", 0), 0u) << "mark, line end and foreign line kept";
}

TEST_F(OptionsStorage, AMissingFileReadsAsDefaultsAndAFirstWriteListsEveryKey)
{
    COptionsFile file;
    file.options.highlightClicks = true;
    EXPECT_FALSE(file.Read(m_File));
    EXPECT_TRUE(COptionsFile::Same(file.options, Options{}));

    file.options.highlightClicks = true;
    ASSERT_TRUE(file.Write(m_Root / "new" / COptionsFile::kFileName));
    COptionsFile again;
    EXPECT_TRUE(again.Read(m_Root / "new" / COptionsFile::kFileName));
    EXPECT_TRUE(again.options.highlightClicks);
    EXPECT_EQ(TextOf(again.Serialise()), TextOf(file.Serialise()));
}

TEST_F(OptionsStorage, AnOverlongFileCountsOnlyTheWholeLinesWithinTheCap)
{
    // The cap falls between "12" and "5" of the last line.
    const std::string head = "countdown_seconds = 5\n# ";
    const std::string last = "\nfit_to_mb = 12";
    const std::string filler(COptionsFile::kMaxBytes - head.size() - last.size(), 'x');
    WriteRaw(head + filler + last + "5\nsmaller_files = 1\n");

    COptionsFile file;
    EXPECT_TRUE(file.Read(m_File));
    EXPECT_EQ(file.options.countdownSeconds, 5);
    EXPECT_EQ(file.options.fitToMb, 0);
    EXPECT_FALSE(file.options.smallerFiles);
}

TEST_F(OptionsStorage, AWriteThatCannotReplaceTheFileLeavesTheOldOneWhole)
{
    COptionsFile file;
    ASSERT_TRUE(file.Write(m_File));
    const std::string old = ReadRaw();
    file.options.countdownSeconds = 10;
    {
        // Windows refuses to replace a file another program holds open
        // without delete sharing, as an editor or a scanner may.
        std::ifstream holder(m_File, std::ios::binary);
        ASSERT_TRUE(holder.is_open());
        const bool written = file.Write(m_File);
        const std::string now = ReadRaw();
        EXPECT_TRUE(written ? now == TextOf(file.Serialise()) : now == old) << "never a mix of the two";
#ifdef _WIN32
        EXPECT_FALSE(written);
#endif
    }
    // Nor may the temporary file be written.
    fs::create_directory(CSettingsFile::TemporaryPathFor(m_File));
    file.options.countdownSeconds = 3;
    EXPECT_FALSE(file.Write(m_File));
    COptionsFile reread;
    reread.Read(m_File);
    EXPECT_NE(reread.options.countdownSeconds, 3);
}

} // namespace

} // namespace pelidore
