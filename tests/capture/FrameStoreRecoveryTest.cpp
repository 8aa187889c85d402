// CFrameStoreRecovery on the stores a crash or a damaged disk leaves: a
// header that says 0, a torn tail, garbage after the frames, a bad frame in
// the middle; and what it leaves alone. Truncation at every byte and byte
// flips everywhere are in FrameStoreCorruptionTest.
#include "CFrameStoreRecovery.h"
#include "FrameStoreSample.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelidore {

using fstest::BuildFile;
using fstest::Bytes;
using fstest::GetSample;
using fstest::kH;
using fstest::kW;
using fstest::ReadBytes;
using fstest::ReadResult;
using fstest::Record;
using fstest::Sample;
using fstest::Status;

namespace {

class FrameStoreRecovery : public fstest::StoreFileTest {};

} // namespace

TEST_F(FrameStoreRecovery, RecoverBringsBackAStoreWhoseHeaderSaysZero)
{
    const Sample& s = GetSample();
    Bytes file = s.file;
    fstest::PutLE32(&file[16], 0);
    ASSERT_TRUE(fstest::WriteAll(path, file));
    EXPECT_TRUE(ReadBytes(path, file).frames.empty()) << "a reader that trusts the header delivers nothing";
    const auto result = CFrameStoreRecovery::Recover(path);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.headerFrameCount, 0);
    EXPECT_EQ(result.framesKept, 25);
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.bytesBefore, s.file.size());
    EXPECT_EQ(result.bytesAfter, s.file.size());
    EXPECT_EQ(result.width, kW);
    EXPECT_EQ(result.height, kH);
    EXPECT_EQ(fstest::ReadAll(path), s.file) << "exactly the complete file";
}

TEST_F(FrameStoreRecovery, RecoverCutsATornTailAndGarbage)
{
    const Sample& s = GetSample();
    Bytes file = s.file;
    fstest::PutLE32(&file[16], 0);
    file.resize(file.size() - 10); // the last record is torn
    ASSERT_TRUE(fstest::WriteAll(path, file));
    auto result = CFrameStoreRecovery::Recover(path);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.framesKept, 24);
    EXPECT_NE(result.message.find("torn"), std::string::npos) << result.message;
    EXPECT_EQ(ReadBytes(path, fstest::ReadAll(path)).frames.size(), 24u);

    // Zeros after the frames (what a file system may leave after a crash).
    file = s.file;
    fstest::PutLE32(&file[16], 0);
    file.insert(file.end(), 4096, 0);
    ASSERT_TRUE(fstest::WriteAll(path, file));
    result = CFrameStoreRecovery::Recover(path);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.framesKept, 25);
    EXPECT_EQ(fstest::ReadAll(path), s.file);
}

TEST_F(FrameStoreRecovery, RecoverStopsAtTheFirstBadFrame)
{
    std::vector<Record> records = GetSample().records;
    records[12].flag = 0;
    ASSERT_TRUE(fstest::WriteAll(path, BuildFile(records, 0)));
    const auto result = CFrameStoreRecovery::Recover(path);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.framesKept, 12);
    EXPECT_NE(result.message.find("frame 12"), std::string::npos) << result.message;
    const ReadResult back = ReadBytes(path, fstest::ReadAll(path));
    EXPECT_EQ(back.last, Status::End);
    EXPECT_EQ(back.frames, std::vector<Bytes>(GetSample().frames.begin(), GetSample().frames.begin() + 12));
}

TEST_F(FrameStoreRecovery, RecoverLeavesACompleteStoreAlone)
{
    ASSERT_TRUE(fstest::WriteAll(path, GetSample().file));
    const auto result = CFrameStoreRecovery::Recover(path);
    ASSERT_TRUE(result.ok);
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(result.framesKept, 25);
    EXPECT_EQ(fstest::ReadAll(path), GetSample().file);
}

TEST_F(FrameStoreRecovery, RecoverRefusesWhatIsNoStore)
{
    Bytes file = GetSample().file;
    fstest::PutLE32(&file[0], 7); // version
    ASSERT_TRUE(fstest::WriteAll(path, file));
    const auto result = CFrameStoreRecovery::Recover(path);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("version"), std::string::npos) << result.message;
    EXPECT_EQ(fstest::ReadAll(path), file) << "untouched";
    EXPECT_FALSE(CFrameStoreRecovery::Recover(dir / "missing.dat").ok);
}

TEST_F(FrameStoreRecovery, RecoverOfAStoreWithNoCompleteFrame)
{
    Bytes file = GetSample().file;
    fstest::PutLE32(&file[16], 0);
    file.resize(20 + 5);
    ASSERT_TRUE(fstest::WriteAll(path, file));
    const auto result = CFrameStoreRecovery::Recover(path);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.framesKept, 0);
    EXPECT_EQ(fstest::ReadAll(path).size(), 20u);
}
} // namespace pelidore
