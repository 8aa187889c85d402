// The real Pelidore under Wine when the work folder lets it down: a live
// recording killed hard is repaired at the next start, and a folder text
// that is not a full path leaves the recordings in the settings folder.
#include "EndToEndTest.h"
#include "GifBlockScan.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

using namespace pelidore;

namespace {

class KeptRecordingsEndToEnd : public EndToEndTest {};

std::set<fs::path> GifsIn(const fs::path& folder)
{
    std::set<fs::path> gifs;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
        if (entry->path().extension() == L".gif")
            gifs.insert(entry->path());
    return gifs;
}

} // namespace

TEST_F(KeptRecordingsEndToEnd, ALiveRecordingKilledHardIsCutToItsWholeFramesAtTheNextStart)
{
    WriteConfig(10, 0);
    StartPelidore();
    ASSERT_EQ(Pelictl(L"record"), 0);
    Sleep(3000);
    m_Pelidore.Kill();
    const fs::path path = OnlyGif();
    const std::string torn = ReadWhole(path);
    const GifBlockScan::Result scan =
        GifBlockScan::Scan(reinterpret_cast<const std::uint8_t*>(torn.data()), torn.size());
    ASSERT_EQ(scan.ending, GifBlockScan::Ending::Truncated);
    ASSERT_GE(scan.wholeFrames, 10);
    // Another copy of the program (in another session) may be writing into
    // the same folder: a GIF held open for writing is not ours to cut.
    const fs::path held = m_Work / L"2020_01_01_1.gif";
    ASSERT_TRUE(WriteWhole(held, torn));
    FILE* writer = _wfopen(held.c_str(), L"ab");
    ASSERT_NE(writer, nullptr);

    StartPelidore();
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    std::fclose(writer);
    EXPECT_EQ(ReadWhole(held), torn);
    EXPECT_EQ(ReadWhole(path), torn.substr(0, scan.wholeFramesEnd) + '\x3b');
    GifFile gif(path);
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    EXPECT_EQ(gif.FrameCount(), scan.wholeFrames);
    std::printf("killed after 3 s: %zu bytes; %d whole frames kept, %zu bytes of a torn frame cut\n", torn.size(),
                gif.FrameCount(), torn.size() - static_cast<std::size_t>(scan.wholeFramesEnd));
}

TEST_F(KeptRecordingsEndToEnd, AFolderTextThatIsNotAFullPathLeavesTheRecordingInTheSettingsFolder)
{
    const fs::path settings = CSettingsFolder::Default();
    WriteConfig(10, 0, false, L"pelidore relative folder");
    const std::string config = ReadWhole(settings / CSettingsFolder::kConfigFileName);
    const std::set<fs::path> before = GifsIn(settings);
    StartPelidore();
    Record(800);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    Quit();
    int added = 0;
    for (const fs::path& gif : GifsIn(settings)) {
        if (before.count(gif) == 0) {
            ++added;
            EXPECT_TRUE(GifFile(gif).IsOpen());
            fs::remove(gif);
        }
    }
    EXPECT_EQ(added, 1);
    EXPECT_FALSE(fs::exists(L"pelidore relative folder"));
    EXPECT_EQ(ReadWhole(settings / CSettingsFolder::kConfigFileName), config) << "rewritten just for reading it";
}
