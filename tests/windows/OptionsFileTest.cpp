#include "COptionsFile.h"
#include "CSettingsFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace pelidore {

namespace fs = std::filesystem;

namespace {

std::string TextOf(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

COptionsFile Loaded(const std::string& text)
{
    COptionsFile file;
    file.Load(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return file;
}

TEST(OptionsFile, MissingKeysAndValuesThatDoNotParseLeaveTheDefaults)
{
    const Options defaults;
    EXPECT_EQ(defaults.recordHotkey.Text(), "Ctrl+Shift+F9");
    EXPECT_EQ(defaults.pauseHotkey.Text(), "Ctrl+Shift+F10");
    EXPECT_EQ(defaults.snapshotHotkey.Text(), "Ctrl+Shift+F11");
    EXPECT_EQ(defaults.countdownSeconds + defaults.fitToMb, 0);
    EXPECT_FALSE(defaults.highlightClicks || defaults.copyAfterSave || defaults.showAfterSave ||
                 defaults.reviewBeforeSaving || defaults.smallerFiles);
    const std::string bad[] = {"countdown_seconds = 4",  "\xEF\xBB\xBF",        "",
                               "countdown_seconds = 3s", "countdown_seconds =", "fit_to_mb = 1000",
                               "fit_to_mb = -1",         "fit_to_mb = 0x10",    "fit_to_mb = 99999999999999999999",
                               "highlight_clicks = 2",   "smaller_files = yes", "record_hotkey = Ctrl+Shift",
                               "record_hotkey = A",      "pause_hotkey",        "= 1"};
    for (const std::string& line : bad)
        EXPECT_TRUE(COptionsFile::Same(Loaded(line + "\n").options, defaults)) << line;
    // The last value that parses counts.
    EXPECT_EQ(Loaded("fit_to_mb = 5\nfit_to_mb = 7\nfit_to_mb = x\n").options.fitToMb, 7);
}

TEST(OptionsFile, ReadsAHandEditedFileAndRewritesOnlyTheValuesThatChanged)
{
    COptionsFile file = Loaded("\xEF\xBB\xBF# Pelidore\r\n"
                               "future_key = keep me\r\n"
                               "\r\n"
                               "Record_Hotkey = ctrl + alt + r\r\n"
                               "countdown_seconds\t=\t3 # before recording\r\n"
                               "fit_to_mb = lots\r\n"
                               "copy_after_save=\r\n"
                               "smaller_files = 1\r\n");
    EXPECT_EQ(file.options.recordHotkey.Text(), "Ctrl+Alt+R");
    EXPECT_EQ(file.options.countdownSeconds, 3);
    EXPECT_TRUE(file.options.smallerFiles);

    file.options.countdownSeconds = 5;
    file.options.copyAfterSave = true;
    file.options.pauseHotkey = CHotkey();
    file.options.fitToMb = 999;
    const std::vector<std::uint8_t> written = file.Serialise();
    EXPECT_EQ(TextOf(written), "\xEF\xBB\xBF# Pelidore\r\n"
                               "future_key = keep me\r\n"
                               "\r\n"
                               "Record_Hotkey = ctrl + alt + r\r\n"
                               "countdown_seconds\t=\t5 # before recording\r\n"
                               "fit_to_mb = 999\r\n"
                               "copy_after_save= 1\r\n"
                               "smaller_files = 1\r\n"
                               "pause_hotkey = none\r\n"
                               "snapshot_hotkey = Ctrl+Shift+F11\r\n"
                               "highlight_clicks = 0\r\n"
                               "show_after_save = 0\r\n"
                               "review_before_saving = 0\r\n");
    const COptionsFile again = Loaded(TextOf(written));
    EXPECT_TRUE(COptionsFile::Same(again.options, file.options));
    EXPECT_EQ(again.Serialise(), written);
}

class OptionsStorage : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_Root = fs::temp_directory_path() / ("pelidore-options-" + std::to_string(stamp));
        m_File = m_Root / "Pelidore" / COptionsFile::kFileName;
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_Root, error);
    }
    std::string ReadRaw() const
    {
        std::ifstream stream(m_File, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }

    fs::path m_Root;
    fs::path m_File;
};

TEST_F(OptionsStorage, AMissingFileReadsAsDefaultsAndAnOverlongOneOnlyUpToTheCap)
{
    COptionsFile file;
    file.options.smallerFiles = true;
    EXPECT_FALSE(file.Read(m_File));
    EXPECT_FALSE(file.options.smallerFiles);

    // The cap falls between "12" and "5" of "fit_to_mb = 125".
    const std::string head = "countdown_seconds = 5\n# ";
    const std::string last = "\nfit_to_mb = 12";
    const std::string filler(COptionsFile::kMaxBytes - head.size() - last.size(), 'x');
    const std::string text = head + filler + last + "5\nsmaller_files = 1\n";
    ASSERT_TRUE(CSettingsFile::Write(m_File, std::vector<std::uint8_t>(text.begin(), text.end())));
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
        const bool written = file.Write(m_File);
        EXPECT_EQ(ReadRaw(), written ? TextOf(file.Serialise()) : old) << "never a mix of the two";
#ifdef _WIN32
        EXPECT_FALSE(written);
#endif
    }
    // Nor may the temporary file be written.
    fs::create_directory(CSettingsFile::TemporaryPathFor(m_File));
    const std::string before = ReadRaw();
    file.options.countdownSeconds = 3;
    EXPECT_FALSE(file.Write(m_File));
    EXPECT_EQ(ReadRaw(), before);
}

} // namespace

} // namespace pelidore
