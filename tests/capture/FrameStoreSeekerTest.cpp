// CFrameStoreSeeker: any frame, in any order, is exactly what the sequential
// reader delivers; torn and damaged stores index their whole frames only.
#include "CFrameStoreSeeker.h"
#include "FrameStoreRoundTrip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <vector>

namespace pelidore {

using fstest::Bytes;

namespace {

constexpr int kW = 64, kH = 32;
constexpr int kFrames = 65; // key frames at 0, 20, 40 and 60

class FrameStoreSeeker : public ::testing::Test {
protected:
    void SetUp() override
    {
        frames = fstest::MovingWindowFrames(kW, kH, kFrames, 10.0);
        for (int i = 7; i < kFrames; i += 13)
            frames[std::size_t(i)] = fstest::RandomFrame(frames[0].size(), std::uint32_t(i));
        file = fstest::WriteStore(path, kW, kH, frames);
    }

    // The store's bytes changed as `change` says, written back.
    void Rewrite(const std::function<void(Bytes&)>& change)
    {
        Bytes changed = file;
        change(changed);
        ASSERT_TRUE(fstest::WriteAll(path, changed));
    }

    // Every frame the seeker indexed equals the one written, visited in order.
    void ExpectFrames(CFrameStoreSeeker& seeker, const std::vector<int>& order)
    {
        for (int index : order) {
            const std::uint8_t* pixels = seeker.FrameAt(index);
            ASSERT_NE(pixels, nullptr) << index << ": " << seeker.ErrorMessage();
            ASSERT_TRUE(std::equal(pixels, pixels + frames[0].size(), frames[std::size_t(index)].begin()))
                << "frame " << index;
        }
    }

    static std::vector<int> Sequence(int count)
    {
        std::vector<int> order(std::size_t(count), 0);
        std::iota(order.begin(), order.end(), 0);
        return order;
    }

    fstest::TempDir dir;
    std::filesystem::path path = dir / "temp.dat";
    std::vector<Bytes> frames;
    Bytes file;
};

} // namespace

TEST_F(FrameStoreSeeker, EveryFrameInAnyOrderIsWhatTheReaderDelivers)
{
    const auto read = fstest::ReadStore(path);
    ASSERT_EQ(read.size(), frames.size());
    for (std::size_t i = 0; i < read.size(); ++i)
        ASSERT_EQ(read[i].pixels, frames[i]) << "the reader itself, frame " << i;

    CFrameStoreSeeker seeker;
    ASSERT_TRUE(seeker.Open(path)) << seeker.ErrorMessage();
    EXPECT_EQ(seeker.FrameCount(), kFrames);
    EXPECT_EQ(seeker.Width(), kW);
    EXPECT_EQ(seeker.Height(), kH);
    ASSERT_EQ(seeker.Delays().size(), std::size_t(kFrames));
    EXPECT_FLOAT_EQ(seeker.Delays()[30], read[30].delay);
    EXPECT_TRUE(seeker.IsKeyFrame(40));
    EXPECT_FALSE(seeker.IsKeyFrame(41));

    std::vector<int> order = Sequence(kFrames);
    std::mt19937 rng(5);
    for (int round = 0; round < 3; ++round) {
        std::shuffle(order.begin(), order.end(), rng);
        ExpectFrames(seeker, order);
    }
    ExpectFrames(seeker, Sequence(kFrames));
    std::vector<int> backwards = Sequence(kFrames);
    std::reverse(backwards.begin(), backwards.end());
    ExpectFrames(seeker, backwards);
    ExpectFrames(seeker, {59, 61, 19, 21, 18, 64, 0, 64});

    EXPECT_EQ(seeker.FrameAt(kFrames), nullptr);
    EXPECT_EQ(seeker.FrameAt(-1), nullptr);
    EXPECT_FALSE(seeker.ErrorMessage().empty());
    ExpectFrames(seeker, {3}); // a refused index leaves the seeker usable
}

TEST_F(FrameStoreSeeker, TornAndDamagedStoresIndexTheirWholeFramesOnly)
{
    const auto records = fstest::ParseStoreFile(file).records;
    CFrameStoreSeeker seeker;
    // A crash: the header still counts 0, the last record is cut off.
    Rewrite([](Bytes& bytes) {
        fstest::PutLE32(&bytes[16], 0);
        bytes.resize(bytes.size() - 5);
    });
    ASSERT_TRUE(seeker.Open(path)) << seeker.ErrorMessage();
    EXPECT_EQ(seeker.FrameCount(), kFrames - 1);
    EXPECT_NE(seeker.ErrorMessage().find("torn"), std::string::npos) << seeker.ErrorMessage();
    ExpectFrames(seeker, {63, 0, 62, 41});

    // A damaged record in the middle ends the index before it.
    Rewrite([&](Bytes& bytes) { bytes[records[33].offset + 8] = 7; }); // the record flag
    ASSERT_TRUE(seeker.Open(path));
    EXPECT_EQ(seeker.FrameCount(), 33);
    ExpectFrames(seeker, {32, 20, 31});

    // Damaged after Open: the frame is refused, the others still come.
    Rewrite([](Bytes&) {});
    ASSERT_TRUE(seeker.Open(path));
    ExpectFrames(seeker, {50});
    {
        CFrameFile store;
        ASSERT_TRUE(store.Open(path, CFrameFile::Mode::Update));
        const std::uint8_t flag = 7;
        ASSERT_TRUE(store.Seek(records[45].offset + 8) && store.Write(&flag, 1) && store.Close());
    }
    EXPECT_EQ(seeker.FrameAt(46), nullptr);
    EXPECT_NE(seeker.ErrorMessage().find("frame 45"), std::string::npos) << seeker.ErrorMessage();
    ExpectFrames(seeker, {50, 44, 10});

    // Nothing usable: no frame, or no store at all.
    Rewrite([](Bytes& bytes) {
        fstest::PutLE32(&bytes[16], 0);
        bytes.resize(20);
    });
    EXPECT_FALSE(seeker.Open(path));
    EXPECT_FALSE(seeker.ErrorMessage().empty());
    EXPECT_EQ(seeker.FrameCount(), 0);
    EXPECT_FALSE(seeker.Open(dir / "missing.dat"));
    EXPECT_EQ(seeker.FrameAt(0), nullptr);
}

} // namespace pelidore
