#include "COutputNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace pelidore {

using pelidore::COutputNames;
namespace fs = std::filesystem;

namespace {

// A work folder whose files are a set of names; every name handed out is
// then taken, as a recording would create it.
class FakeFolder {
public:
    COutputNames Names()
    {
        return COutputNames([this](const fs::path& p) { return m_Taken.count(p.filename().string()) != 0; });
    }
    void Take(const fs::path& path) { m_Taken.insert(path.filename().string()); }

private:
    std::set<std::string> m_Taken;
};

const COutputNames::LocalTime kAfternoon{2024, 3, 7, 14, 5, 9, 123};

} // namespace

TEST(OutputNames, FourthGifNumberIsTheMillisecondOfTheDay)
{
    EXPECT_EQ(COutputNames::MillisecondsSinceMidnight(kAfternoon), ((14 * 60 + 5) * 60 + 9) * 1000 + 123);
    EXPECT_EQ(COutputNames::MillisecondsSinceMidnight({2024, 3, 7, 0, 0, 0, 0}), 0);
    EXPECT_EQ(COutputNames::MillisecondsSinceMidnight({2024, 3, 7, 23, 59, 59, 999}), 86399999);

    FakeFolder folder;
    const fs::path gif = folder.Names().GifPath("work", kAfternoon);
    EXPECT_EQ(gif, fs::path("work") / "2024_3_7_50709123.gif");
}

TEST(OutputNames, RecordingsInTheSameSecondOfTheMinuteGetDifferentNames)
{
    FakeFolder folder;
    COutputNames::LocalTime later = kAfternoon;
    later.minute += 1; // same second of a later minute: the old scheme's clash
    EXPECT_NE(folder.Names().GifPath("w", kAfternoon), folder.Names().GifPath("w", later));
}

TEST(OutputNames, GifNeverReplacesAnExistingFile)
{
    FakeFolder folder;
    folder.Take("2024_3_7_50709123.gif");
    folder.Take("2024_3_7_50709124.gif");
    const fs::path gif = folder.Names().GifPath("w", kAfternoon);
    EXPECT_EQ(gif.filename(), "2024_3_7_50709125.gif");
    folder.Take(gif);
    EXPECT_EQ(folder.Names().GifPath("w", kAfternoon).filename(), "2024_3_7_50709126.gif");
}

TEST(OutputNames, SnapshotNameCountsItsLastNumberUpUntilFree)
{
    FakeFolder folder;
    const fs::path first = folder.Names().SnapshotPath("w", kAfternoon, 4567891);
    EXPECT_EQ(first, fs::path("w") / "2024_3_7_9_891.jpg");
    folder.Take(first);
    const fs::path second = folder.Names().SnapshotPath("w", kAfternoon, 4567891);
    EXPECT_EQ(second.filename(), "2024_3_7_9_892.jpg");
    folder.Take(second);
    folder.Take("2024_3_7_9_893.jpg");
    EXPECT_EQ(folder.Names().SnapshotPath("w", kAfternoon, 4567891).filename(), "2024_3_7_9_894.jpg");
}

TEST(OutputNames, SnapshotCountingRunsPastTheThousand)
{
    FakeFolder folder;
    folder.Take("2024_3_7_9_999.jpg");
    EXPECT_EQ(folder.Names().SnapshotPath("w", kAfternoon, 1999).filename(), "2024_3_7_9_1000.jpg");
}

TEST(OutputNames, AFolderThatClaimsEveryNameYieldsNoPathInsteadOfLooping)
{
    int asked = 0;
    const COutputNames names([&asked](const fs::path&) { return ++asked > 0; });
    EXPECT_TRUE(names.GifPath("w", kAfternoon).empty());
    EXPECT_EQ(asked, COutputNames::kMaxAttempts);
    EXPECT_TRUE(names.SnapshotPath("w", kAfternoon, 0).empty());
    EXPECT_TRUE(names.FrameStorePath("w").empty());
}

TEST(OutputNames, FrameStoreIsTempDatUnlessAKeptStoreHoldsThatName)
{
    FakeFolder folder;
    EXPECT_EQ(folder.Names().FrameStorePath("w"), fs::path("w") / "temp.dat");
    folder.Take("temp.dat");
    EXPECT_EQ(folder.Names().FrameStorePath("w").filename(), "temp_2.dat");
    folder.Take("temp_2.dat");
    EXPECT_EQ(folder.Names().FrameStorePath("w").filename(), "temp_3.dat");
}

TEST(OutputNames, RecognisesExactlyTheFrameStoreNamesItHandsOut)
{
    EXPECT_TRUE(COutputNames::IsFrameStoreName("temp.dat"));
    EXPECT_TRUE(COutputNames::IsFrameStoreName(fs::path("some") / "folder" / "temp_12.dat"));
    EXPECT_FALSE(COutputNames::IsFrameStoreName("temp_.dat"));
    EXPECT_FALSE(COutputNames::IsFrameStoreName("temp_1a.dat"));
    EXPECT_FALSE(COutputNames::IsFrameStoreName("temp.gif"));
    EXPECT_FALSE(COutputNames::IsFrameStoreName("temp2.dat"));
    EXPECT_FALSE(COutputNames::IsFrameStoreName("config.dat"));
    EXPECT_FALSE(COutputNames::IsFrameStoreName("x.dat"));
    EXPECT_FALSE(COutputNames::IsFrameStoreName(""));
}

TEST(OutputNames, RecognisesExactlyTheRecordingNamesItHandsOut)
{
    FakeFolder folder;
    EXPECT_TRUE(COutputNames::IsRecordingName(folder.Names().GifPath("work", kAfternoon)));
    EXPECT_TRUE(COutputNames::IsRecordingName(folder.Names().GifPath("w", {2025, 12, 31, 0, 0, 0, 0})));
    for (const char* name :
         {"2024_3_7.gif", "2024_3_7_1_2.gif", "2024_3_7_.gif", "_2024_3_7_1.gif", "2024__3_7_1.gif", "2024_3_7_1a.gif",
          "2024_3_7_1.GIF", "2024_3_7_1.gif.tmp", "2024_3_7_1.jpg", "2024_3_7_9_1.jpg", "temp.dat", ".gif", ""}) {
        EXPECT_FALSE(COutputNames::IsRecordingName(name)) << name;
    }
}

} // namespace pelidore
