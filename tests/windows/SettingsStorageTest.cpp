#include "CConfigFile.h"
#include "CFolder.h"
#include "CSettingsFile.h"

#include <gtest/gtest.h>

#include <atomic>
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

// Each test gets a fresh folder of its own under the system's temporary folder.
class SettingsStorage : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_Root =
            fs::temp_directory_path() / ("pelidore-storage-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        ASSERT_TRUE(fs::create_directories(m_Root));
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_Root, error);
    }

    static void WriteRaw(const fs::path& file, const std::string& content)
    {
        std::ofstream stream(file, std::ios::binary);
        stream << content;
        ASSERT_TRUE(stream.good());
    }

    static Bytes ReadRaw(const fs::path& file)
    {
        std::ifstream stream(file, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }

    fs::path m_Root;
};

// --- CFolder --------------------------------------------------------------

TEST_F(SettingsStorage, EnsureCreatesEveryMissingParent)
{
    const fs::path folder = m_Root / "Documents" / "deep" / "Pelidore";
    EXPECT_TRUE(CFolder::Ensure(folder));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(CFolder::Ensure(folder)) << "an existing folder is a success";
}

TEST_F(SettingsStorage, EnsureAcceptsTrailingSeparatorsAndDotSegments)
{
    fs::path withSlash = m_Root / "a" / "b";
    withSlash += fs::path::preferred_separator;
    EXPECT_TRUE(CFolder::Ensure(withSlash));
    EXPECT_TRUE(fs::is_directory(m_Root / "a" / "b"));
    EXPECT_TRUE(CFolder::Ensure(m_Root / "a" / ".." / "c"));
    EXPECT_TRUE(fs::is_directory(m_Root / "c"));
}

TEST_F(SettingsStorage, EnsureFailsWhenAFileIsInTheWay)
{
    WriteRaw(m_Root / "blocker", "x");
    EXPECT_FALSE(CFolder::Ensure(m_Root / "blocker"));
    EXPECT_FALSE(CFolder::Ensure(m_Root / "blocker" / "inner" / "deeper"));
    EXPECT_TRUE(fs::is_regular_file(m_Root / "blocker")) << "the file must be left alone";
}

TEST_F(SettingsStorage, EnsureRefusesAnEmptyPath)
{
    EXPECT_FALSE(CFolder::Ensure(fs::path()));
}

TEST_F(SettingsStorage, EnsureHandlesNonAsciiNames)
{
    const fs::path folder = m_Root / fs::path(u"Dokumente \u00e4\u00f6\u00fc") / fs::path(u"\u65e5\u672c");
    EXPECT_TRUE(CFolder::Ensure(folder));
    EXPECT_TRUE(fs::is_directory(folder));
}

// --- CSettingsFile --------------------------------------------------------

TEST_F(SettingsStorage, FirstWriteCreatesTheFolderAndTheFile)
{
    const fs::path file = m_Root / "Documents" / "Pelidore" / "config.dat";
    const Bytes bytes = CConfigFile().Serialise();
    ASSERT_TRUE(CSettingsFile::Write(file, bytes));
    EXPECT_EQ(ReadRaw(file), bytes);
    EXPECT_FALSE(fs::exists(CSettingsFile::TemporaryPathFor(file))) << "the temporary file must be gone";
}

TEST_F(SettingsStorage, WriteReplacesAnExistingFileWhole)
{
    const fs::path file = m_Root / "logo.dat";
    WriteRaw(file, std::string(5000, 'o'));
    const Bytes bytes(1601, 0x5A);
    ASSERT_TRUE(CSettingsFile::Write(file, bytes));
    EXPECT_EQ(ReadRaw(file), bytes) << "no tail of the longer old file may remain";
}

TEST_F(SettingsStorage, WriteOverAStaleTemporaryFileStillSucceeds)
{
    const fs::path file = m_Root / "config.dat";
    WriteRaw(CSettingsFile::TemporaryPathFor(file), "left over from a crash");
    const Bytes bytes(539, 1);
    ASSERT_TRUE(CSettingsFile::Write(file, bytes));
    EXPECT_EQ(ReadRaw(file), bytes);
    EXPECT_FALSE(fs::exists(CSettingsFile::TemporaryPathFor(file)));
}

TEST_F(SettingsStorage, AFailedWriteLeavesTheOldFileIntact)
{
    const fs::path file = m_Root / "config.dat";
    const Bytes old = CConfigFile().Serialise();
    ASSERT_TRUE(CSettingsFile::Write(file, old));
    // A directory where the temporary file would go makes the write fail
    // before the rename, the way a full disk or a locked file would.
    fs::create_directory(CSettingsFile::TemporaryPathFor(file));
    EXPECT_FALSE(CSettingsFile::Write(file, Bytes(539, 0xFF)));
    EXPECT_EQ(ReadRaw(file), old);
    EXPECT_TRUE(fs::is_directory(CSettingsFile::TemporaryPathFor(file)))
        << "clean-up must only ever remove its own temporary file";
}

TEST_F(SettingsStorage, WriteFailsCleanlyWhenTheFolderCannotBeMade)
{
    WriteRaw(m_Root / "blocker", "x");
    EXPECT_FALSE(CSettingsFile::Write(m_Root / "blocker" / "Pelidore" / "config.dat", Bytes(539, 0)));
}

TEST_F(SettingsStorage, WriteFailsWhenTheTargetIsADirectory)
{
    const fs::path file = m_Root / "config.dat";
    fs::create_directory(file);
    EXPECT_FALSE(CSettingsFile::Write(file, Bytes(539, 0)));
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_FALSE(fs::exists(CSettingsFile::TemporaryPathFor(file)));
}

TEST_F(SettingsStorage, ReadReportsMissingFilesAndDirectories)
{
    Bytes bytes{1, 2, 3};
    EXPECT_FALSE(CSettingsFile::Read(m_Root / "absent.dat", 539, bytes));
    EXPECT_TRUE(bytes.empty());
    bytes = {1};
    EXPECT_FALSE(CSettingsFile::Read(m_Root, 539, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST_F(SettingsStorage, ReadReturnsShortFilesAsTheyAreAndCutsLongOnes)
{
    const fs::path file = m_Root / "config.dat";
    WriteRaw(file, "");
    Bytes bytes{9};
    EXPECT_TRUE(CSettingsFile::Read(file, 539, bytes));
    EXPECT_TRUE(bytes.empty());

    WriteRaw(file, std::string(10, 'a'));
    EXPECT_TRUE(CSettingsFile::Read(file, 539, bytes));
    EXPECT_EQ(bytes.size(), 10u);

    WriteRaw(file, std::string(1000, 'b'));
    EXPECT_TRUE(CSettingsFile::Read(file, 539, bytes));
    EXPECT_EQ(bytes.size(), 539u);
}

TEST_F(SettingsStorage, SettingsSurviveAWriteAndReadUnderANonAsciiFolder)
{
    const fs::path file = m_Root / fs::path(u"\u00c9crans") / "config.dat";
    CConfigFile config;
    config.fpsStep = 29;
    config.dithering = false;
    config.workFolder.Assign(u"C:\\Aufnahmen \u00fc");
    ASSERT_TRUE(CSettingsFile::Write(file, config.Serialise()));

    Bytes bytes;
    ASSERT_TRUE(CSettingsFile::Read(file, CConfigFile::kSize, bytes));
    CConfigFile loaded;
    EXPECT_TRUE(loaded.Load(bytes));
    EXPECT_EQ(loaded, config);
}

} // namespace

} // namespace pelidore
