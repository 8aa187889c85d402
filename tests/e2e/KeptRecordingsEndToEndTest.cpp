// The real Pelidore under Wine when things go wrong: a live recording
// killed hard is repaired at the next start, a quit lets a short save end as
// a GIF, a folder that cannot be written is named on the panel, and a folder
// text that is not a full path leaves the recordings in the settings folder.
#include "CNBitmap.h"
#include "CNScreenDC.h"
#include "EndToEndTest.h"
#include "GifBlockScan.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

using namespace pelidore;

namespace {

// The strip under the panel's read-out box where its messages appear.
constexpr RECT kMessageStrip = {112, 132, 372, 151};

class KeptRecordingsEndToEnd : public EndToEndTest {
protected:
    // Pixels of the panel's message strip in the panel's red accent, as the
    // screen shows them; the picture of the whole panel goes to `shot` when given.
    static int AccentPixelsInMessageStrip(const fs::path& shot = {})
    {
        HWND panel = FindWindowW(nullptr, L"Pelidore - Control");
        RECT place = {};
        if (!panel || !GetWindowRect(panel, &place))
            return -1;
        const CNScreenDC screen;
        CNBitmap picture;
        if (!screen || FAILED(picture.CreateFromDC(screen.Get(), place.left, place.top, place.right - place.left,
                                                   place.bottom - place.top)))
            return -1;
        if (!shot.empty())
            EXPECT_EQ(picture.SavePng(shot.c_str()), S_OK);
        int count = 0;
        const auto* bits = static_cast<const std::uint8_t*>(picture.Bits());
        for (int y = kMessageStrip.top; y < kMessageStrip.bottom && y < picture.Height(); ++y) {
            const std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(picture.Height() - 1 - y) * picture.Stride();
            for (int x = kMessageStrip.left; x < kMessageStrip.right && x < picture.Width(); ++x) {
                const std::uint8_t* bgr = row + x * 3;
                count += bgr[2] > 150 && bgr[1] < 130 && bgr[0] < 130 ? 1 : 0;
            }
        }
        return count;
    }

    static std::set<fs::path> GifsIn(const fs::path& folder)
    {
        std::set<fs::path> gifs;
        std::error_code error;
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
            if (entry->path().extension() == L".gif")
                gifs.insert(entry->path());
        }
        return gifs;
    }
};

GifBlockScan::Result Scan(const std::string& bytes)
{
    return GifBlockScan::Scan(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
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
    const GifBlockScan::Result before = Scan(torn);
    ASSERT_EQ(before.ending, GifBlockScan::Ending::Truncated);
    ASSERT_GE(before.wholeFrames, 10);

    // Another copy of the program in another session may write into the
    // same folder: a GIF held open for writing is not ours to cut.
    const fs::path held = m_Work / L"2020_01_01_1.gif";
    ASSERT_TRUE(WriteWhole(held, torn));
    FILE* writer = _wfopen(held.c_str(), L"ab");
    ASSERT_NE(writer, nullptr);
    StartPelidore();
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    std::fclose(writer);

    EXPECT_EQ(ReadWhole(held), torn);
    const std::string repaired = ReadWhole(path);
    EXPECT_EQ(repaired, torn.substr(0, before.wholeFramesEnd) + '\x3b');
    GifFile gif(path);
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    EXPECT_EQ(gif.FrameCount(), before.wholeFrames);
    std::printf("killed after 3 s: %zu bytes, %d whole frames kept, %llu bytes of a torn frame cut\n", torn.size(),
                gif.FrameCount(), static_cast<unsigned long long>(torn.size() - before.wholeFramesEnd));
}

TEST_F(KeptRecordingsEndToEnd, QuittingDuringAShortSaveLetsItEndAsAGif)
{
    WriteConfig(10, 1);
    StartPelidore();
    Record(400);
    ASSERT_EQ(Pelictl(L"quit"), 0);
    ASSERT_EQ(m_Pelidore.Wait(10000), 0);
    EXPECT_EQ(KeptFrames(), -1) << "the store was kept instead";
    GifFile gif(OnlyGif());
    ASSERT_TRUE(gif.IsOpen()) << gif.Error();
    EXPECT_GE(gif.FrameCount(), 2);
}

TEST_F(KeptRecordingsEndToEnd, AWorkFolderThatCannotBeWrittenIsNamedOnThePanelForAFewSeconds)
{
    ASSERT_TRUE(fs::create_directories(m_Work));
    const fs::path blocker = m_Work / L"a file";
    ASSERT_TRUE(WriteWhole(blocker, "in the way"));
    WriteConfig(10, 0, false, blocker / L"recordings");
    StartPelidore();
    EXPECT_EQ(AccentPixelsInMessageStrip(), 0);
    EXPECT_NE(Pelictl(L"record"), 0);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    Sleep(300);
    EXPECT_GT(AccentPixelsInMessageStrip(ChildProcess::BesideTest(L"panel-cannot-write.png")), 100);
    EXPECT_FALSE(fs::exists(blocker / L"recordings"));
    EXPECT_TRUE(FilesEndingWith(L".gif").empty());
    Sleep(6500);
    EXPECT_EQ(AccentPixelsInMessageStrip(), 0) << "the message stays too long";
}

TEST_F(KeptRecordingsEndToEnd, AFolderTextThatIsNotAFullPathLeavesTheRecordingInTheSettingsFolder)
{
    const fs::path settings = CSettingsFolder::Default();
    const fs::path relative = L"pelidore relative folder";
    WriteConfig(10, 0, false, relative);
    const std::string config = ReadWhole(settings / CSettingsFolder::kConfigFileName);
    const std::set<fs::path> before = GifsIn(settings);
    StartPelidore();
    Record(800);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    Quit();
    std::set<fs::path> added;
    for (const fs::path& gif : GifsIn(settings)) {
        if (!before.count(gif))
            added.insert(gif);
    }
    EXPECT_EQ(added.size(), 1u);
    for (const fs::path& gif : added) {
        GifFile recorded(gif);
        EXPECT_TRUE(recorded.IsOpen()) << recorded.Error();
        std::error_code ignored;
        fs::remove(gif, ignored);
    }
    EXPECT_FALSE(fs::exists(fs::current_path() / relative));
    EXPECT_EQ(ReadWhole(settings / CSettingsFolder::kConfigFileName), config) << "config.dat was rewritten";
}
