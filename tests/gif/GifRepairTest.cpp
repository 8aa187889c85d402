// The repair of GIFs a crash left without their trailer: cut at every kind
// of place, read back by giflib with their frames and delays; everything
// that is not a torn GIF left byte for byte as it was.
#include "GifRepair.h"

#include "COutputNames.h"
#include "GifTestUtil.h"
#include "GifWriter.h"
#include "SyntheticFrames.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

namespace pelidore {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

const int kDelays[] = {10, 20, 30};

// A recording of three frames with the delays above, as "High Speed" writes
// it, and where each part of it ends.
struct Recording {
    Bytes bytes;
    std::uint64_t headerEnd = 0;
    std::vector<std::uint64_t> frameEnds;
};

const Recording& ThreeFrames()
{
    static const Recording recording = [] {
        Recording r;
        const fs::path path = giftest::TempPath("three-frames.gif");
        GifWriter writer;
        writer.Open(path, 24, 16, false);
        r.headerEnd = writer.FileSize();
        for (int i = 0; i < 3; ++i) {
            const synth::Pixels pixels = synth::RandomFrame(24, 16, static_cast<std::uint64_t>(i + 1));
            std::array<GifColorType, 256> colors{};
            Bytes indices(pixels.size() / 3);
            for (std::size_t k = 0; k < indices.size(); ++k) {
                indices[k] = pixels[k * 3];
                colors[k % 256] = GifColorType{pixels[k * 3], pixels[k * 3 + 1], pixels[k * 3 + 2]};
            }
            writer.WriteFrame(kDelays[i], colors.data(), indices.data(), 0);
            // Each frame is on disk as soon as it is written.
            EXPECT_EQ(fs::file_size(path), writer.FileSize());
            r.frameEnds.push_back(writer.FileSize());
        }
        writer.Close();
        r.bytes = giftest::ReadBytes(path);
        return r;
    }();
    return recording;
}

Bytes Prefix(const Bytes& bytes, std::uint64_t size)
{
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

fs::path FileWith(const std::string& name, const Bytes& bytes)
{
    const fs::path path = giftest::TempPath(name);
    giftest::WriteBytes(path, bytes);
    return path;
}

} // namespace

TEST(GifRepair, CutsAfterTheLastWholeFrameWhereverTheFileWasTorn)
{
    const Recording& r = ThreeFrames();
    const auto complete = giftest::Decode(r.bytes);
    ASSERT_TRUE(complete.ok);
    const std::uint64_t third = r.frameEnds[1]; // where the third frame starts
    const struct {
        const char* where;
        std::uint64_t size;
        int kept;
    } cuts[] = {
        {"between two frames", r.frameEnds[1], 2},    {"in a graphic control extension", third + 4, 2},
        {"in an image descriptor", third + 8 + 5, 2}, {"in a local colour table", third + 8 + 10 + 300, 2},
        {"in the LZW data", r.frameEnds[2] - 3, 2},   {"just before the trailer", r.frameEnds[2], 3},
    };
    for (const auto& cut : cuts) {
        SCOPED_TRACE(cut.where);
        const fs::path path = FileWith("torn.gif", Prefix(r.bytes, cut.size));
        const GifRepair::Result result = GifRepair::Repair(path);
        EXPECT_EQ(result.outcome, GifRepair::Outcome::Repaired);
        EXPECT_EQ(result.frames, cut.kept);
        const std::uint64_t kept = r.frameEnds[static_cast<std::size_t>(cut.kept) - 1];
        EXPECT_EQ(result.bytesDropped, cut.size - kept);
        Bytes expected = Prefix(r.bytes, kept);
        expected.push_back(0x3B);
        EXPECT_EQ(giftest::ReadBytes(path), expected);
        EXPECT_FALSE(fs::exists(GifRepair::TemporaryPathFor(path)));
        const auto gif = giftest::DecodeFile(path);
        ASSERT_TRUE(gif.ok);
        ASSERT_EQ(gif.frames.size(), static_cast<std::size_t>(cut.kept));
        for (int i = 0; i < cut.kept; ++i) {
            EXPECT_EQ(gif.frames[static_cast<std::size_t>(i)].delay, kDelays[i]);
            EXPECT_EQ(gif.frames[static_cast<std::size_t>(i)].indices,
                      complete.frames[static_cast<std::size_t>(i)].indices);
        }
    }
}

TEST(GifRepair, LeavesEverythingButATornGifWithAWholeFrameAsItIs)
{
    const Recording& r = ThreeFrames();
    Bytes damaged = Prefix(r.bytes, r.frameEnds[1]);
    damaged.push_back(0x00); // where the next block should begin
    damaged.push_back(0x2C);
    const struct {
        const char* what;
        Bytes bytes;
        GifRepair::Outcome outcome;
        int frames;
    } files[] = {
        {"a complete GIF", r.bytes, GifRepair::Outcome::Complete, 3},
        {"an empty file", {}, GifRepair::Outcome::NotGif, 0},
        {"a text", {'G', 'I', 'F', ' ', 'i', 's', ' ', 'a', ' ', 'w', 'o', 'r', 'd'}, GifRepair::Outcome::NotGif, 0},
        {"a cut signature", {'G', 'I', 'F', '8'}, GifRepair::Outcome::NotGif, 0},
        {"a GIF cut in its header", Prefix(r.bytes, 11), GifRepair::Outcome::NoWholeFrame, 0},
        {"a GIF cut in its loop extension", Prefix(r.bytes, r.headerEnd - 2), GifRepair::Outcome::NoWholeFrame, 0},
        {"a GIF cut in its first frame", Prefix(r.bytes, r.frameEnds[0] - 1), GifRepair::Outcome::NoWholeFrame, 0},
        {"a GIF with no block where one begins", damaged, GifRepair::Outcome::Damaged, 2},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        const fs::path path = FileWith("untouched.gif", file.bytes);
        const GifRepair::Result result = GifRepair::Repair(path);
        EXPECT_EQ(result.outcome, file.outcome);
        EXPECT_EQ(result.frames, file.frames);
        EXPECT_EQ(giftest::ReadBytes(path), file.bytes);
    }
}

TEST(GifRepair, AFailedRepairLeavesTheFileAndAStaleCopyIsReplaced)
{
    const Recording& r = ThreeFrames();
    const Bytes torn = Prefix(r.bytes, r.frameEnds[2] - 3);
    const fs::path path = FileWith("blocked.gif", torn);
    const fs::path temporary = GifRepair::TemporaryPathFor(path);
    fs::create_directory(temporary); // the copy cannot be written
    EXPECT_EQ(GifRepair::Repair(path).outcome, GifRepair::Outcome::Failed);
    EXPECT_EQ(giftest::ReadBytes(path), torn);
    fs::remove(temporary);

    giftest::WriteBytes(temporary, {'o', 'l', 'd'}); // left by a repair that died
    EXPECT_EQ(GifRepair::Repair(path).outcome, GifRepair::Outcome::Repaired);
    EXPECT_EQ(giftest::DecodeFile(path).frames.size(), 2u);
    EXPECT_FALSE(fs::exists(temporary));
}

TEST(GifRepair, RepairKeptTouchesOnlyTornFilesNamedAsRecordings)
{
    const Recording& r = ThreeFrames();
    const fs::path folder = giftest::TempPath("kept");
    fs::create_directory(folder);
    const Bytes torn = Prefix(r.bytes, r.frameEnds[1] + 100);
    giftest::WriteBytes(folder / "2024_5_6_100.gif", torn);
    giftest::WriteBytes(folder / "2024_5_6_200.gif", r.bytes);
    giftest::WriteBytes(folder / "2024_5_6_300.gif", {'n', 'o', 't'});
    giftest::WriteBytes(folder / "holiday.gif", torn);
    fs::create_directory(folder / "2024_5_6_400.gif");

    const auto results = GifRepair::RepairKept(folder, COutputNames::IsRecordingName);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].file, folder / "2024_5_6_100.gif");
    EXPECT_EQ(results[0].result.outcome, GifRepair::Outcome::Repaired);
    EXPECT_EQ(results[0].result.frames, 2);
    EXPECT_EQ(results[1].file, folder / "2024_5_6_300.gif");
    EXPECT_EQ(results[1].result.outcome, GifRepair::Outcome::NotGif);
    EXPECT_EQ(giftest::DecodeFile(folder / "2024_5_6_100.gif").frames.size(), 2u);
    EXPECT_EQ(giftest::ReadBytes(folder / "2024_5_6_200.gif"), r.bytes);
    EXPECT_EQ(giftest::ReadBytes(folder / "holiday.gif"), torn);
    EXPECT_TRUE(GifRepair::RepairKept(folder / "missing", COutputNames::IsRecordingName).empty());
}

} // namespace pelidore
