// The download after unpacking (PackageZipTest.py unpacks it into a folder
// named outside ASCII): the programs carry the project's version, and the
// Pelidore of the zip records into a work folder named outside ASCII,
// driven by the pelictl of the zip.
#include "CConfigFile.h"
#include "CLogoFile.h"
#include "CSettingsFile.h"
#include "CSettingsFolder.h"
#include "ChildProcess.h"
#include "GifFile.h"
#include "PelidoreVersion.h"
#include "SettingsBackup.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pelidore {

namespace fs = std::filesystem;

namespace {

const std::string kVersion = PELIDORE_VERSION_STRING;
const wchar_t* const kPrograms[] = {L"Pelidore.exe", L"pelidore-convert.exe", L"pelictl.exe"};

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// unpacked/<the one folder PackageZipTest.py made>/Pelidore-<version>, or
// empty when it is not there.
fs::path UnpackedFolder()
{
    const fs::path unpacked = ChildProcess::BesideTest(L"..") / L"package-test" / L"unpacked";
    std::error_code error;
    for (fs::directory_iterator entry(unpacked, error), end; !error && entry != end; entry.increment(error)) {
        const fs::path folder = entry->path() / Widen("Pelidore-" + kVersion);
        if (fs::is_directory(folder, error))
            return folder;
    }
    return {};
}

std::wstring VersionString(const std::vector<char>& block, const wchar_t* name)
{
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(block.data(), key.c_str(), &value, &length) || length == 0)
        return {};
    return static_cast<const wchar_t*>(value);
}

class PackagedPrograms : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder = UnpackedFolder();
        ASSERT_FALSE(m_Folder.empty()) << "no unpacked Pelidore-" << kVersion << " (PackageZipTest.py makes it)";
    }

    fs::path m_Folder;
};

TEST_F(PackagedPrograms, CarryTheProjectVersionInTheirVersionResource)
{
    for (const wchar_t* program : kPrograms) {
        SCOPED_TRACE(fs::path(program).string());
        const fs::path path = m_Folder / program;
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_GT(size, 0u);
        std::vector<char> block(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                    std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                    std::to_string(HIWORD(fixed->dwFileVersionLS));
        EXPECT_EQ(numbers, kVersion);
        EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
        EXPECT_EQ(VersionString(block, L"FileVersion"), Widen(kVersion));
        EXPECT_EQ(VersionString(block, L"ProductVersion"), Widen(kVersion));
        EXPECT_EQ(VersionString(block, L"ProductName"), L"Pelidore");
        EXPECT_EQ(VersionString(block, L"OriginalFilename"), program);
        EXPECT_NE(VersionString(block, L"LegalCopyright").find(L"GPL-3.0-or-later"), std::wstring::npos);
        EXPECT_FALSE(VersionString(block, L"FileDescription").empty());
    }
}

TEST_F(PackagedPrograms, ConvertPrintsTheVersion)
{
    const fs::path output = fs::temp_directory_path() / L"pelidore-convert-version.out";
    ChildProcess convert;
    ASSERT_TRUE(convert.Start((m_Folder / L"pelidore-convert.exe").c_str(), L"--version", output));
    ASSERT_EQ(convert.Wait(30000), 0);
    std::ifstream file(output, std::ios::binary);
    const std::string printed((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    fs::remove(output);
    EXPECT_EQ(printed, "pelidore-convert " + kVersion + "\r\n");
}

TEST_F(PackagedPrograms, PelidoreRecordsOneSecondInHighSpeedIntoAWorkFolderNamedOutsideAscii)
{
    const fs::path settings = CSettingsFolder::Default();
    SettingsBackup configBackup(settings / CSettingsFolder::kConfigFileName);
    SettingsBackup logoBackup(settings / CSettingsFolder::kLogoFileName);
    const fs::path work = fs::temp_directory_path() / L"pelidore package \u9332\u753b \u00e9t\u00e9";
    std::error_code ignored;
    fs::remove_all(work, ignored);
    CConfigFile config;
    config.qualityIndex = 0;
    config.workFolder.AssignUnits(work.c_str(), CFixedText::kUnits);
    ASSERT_TRUE(CSettingsFile::Write(settings / CSettingsFolder::kConfigFileName, config.Serialise()));
    ASSERT_TRUE(CSettingsFile::Write(settings / CSettingsFolder::kLogoFileName, CLogoFile{}.Serialise()));

    const fs::path pelictl = m_Folder / L"pelictl.exe";
    const auto drive = [&pelictl](const wchar_t* action) {
        return ChildProcess::Run(pelictl.c_str(), std::wstring(L"--timeout 60 ") + action, 65000);
    };
    ChildProcess pelidore;
    ASSERT_TRUE(pelidore.Start((m_Folder / L"Pelidore.exe").c_str(), L""));
    ASSERT_EQ(drive(L"state"), 0) << "Pelidore did not come up";
    EXPECT_EQ(drive(L"record"), 0);
    Sleep(1000);
    EXPECT_EQ(drive(L"stop"), 0);
    EXPECT_EQ(drive(L"wait-idle"), 0);
    EXPECT_EQ(drive(L"quit"), 0);
    EXPECT_EQ(pelidore.Wait(10000), 0);

    std::vector<fs::path> files;
    for (fs::directory_iterator entry(work, ignored), end; !ignored && entry != end; entry.increment(ignored))
        files.push_back(entry->path().filename());
    ASSERT_EQ(files.size(), 1u) << "one GIF and nothing else in the work folder";
    EXPECT_EQ(files.front().extension(), L".gif");
    GifFile gif(work / files.front());
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    EXPECT_EQ(gif.Width(), 620);
    EXPECT_EQ(gif.Height(), 342);
    EXPECT_GE(gif.FrameCount(), 5);
    fs::remove_all(work, ignored);
}

} // namespace

} // namespace pelidore
