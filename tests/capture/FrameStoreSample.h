// A valid store of 25 small frames, built record by record from the encoder's
// blobs (not by the writer), and a reader of whole files: what the tests of
// damaged stores and of recovery start from.
#pragma once

#include "CFrameEncoder.h"
#include "CFrameStoreReader.h"
#include "FrameStoreTestUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace pelidore {

namespace fstest {

using Status = CFrameStoreReader::ReadStatus;

constexpr int kW = 16, kH = 8; // N = 384, S = 96
constexpr std::size_t kN = std::size_t(kW) * kH * 3;

struct Record {
    float delay = 0.1f;
    std::uint8_t flag = 1;
    Bytes blob;
    std::int64_t lengthOverride = -1; // the L field, when it should lie
};

constexpr int kCountOfRecords = INT32_MIN;

inline Bytes BuildFile(const std::vector<Record>& records, int count = kCountOfRecords, int w = kW, int h = kH,
                       int version = 1, int bpp = 3)
{
    Bytes file(20);
    PutLE32(&file[0], std::uint32_t(version));
    PutLE32(&file[4], std::uint32_t(w));
    PutLE32(&file[8], std::uint32_t(h));
    PutLE32(&file[12], std::uint32_t(bpp));
    PutLE32(&file[16], std::uint32_t(count == kCountOfRecords ? int(records.size()) : count));
    for (const Record& r : records) {
        std::uint8_t head[9];
        PutLE32(head, r.lengthOverride >= 0 ? std::uint32_t(r.lengthOverride) : std::uint32_t(r.blob.size()));
        std::memcpy(head + 4, &r.delay, 4);
        head[8] = r.flag;
        file.insert(file.end(), head, head + 9);
        file.insert(file.end(), r.blob.begin(), r.blob.end());
    }
    return file;
}

// A valid store of 25 frames; its records, and its frames.
struct Sample {
    std::vector<Bytes> frames;
    std::vector<Record> records;
    Bytes file;
};

inline const Sample& GetSample()
{
    static const Sample sample = [] {
        Sample s;
        const Bytes desktop = DesktopFrame(kW, kH);
        for (int i = 0; i < 25; ++i)
            s.frames.push_back(i % 6 == 5 ? RandomFrame(kN, i) : MovingWindowFrame(desktop, kW, kH, i, 15));
        CFrameEncoder encoder;
        EXPECT_TRUE(encoder.Init(kN));
        for (int i = 0; i < 25; ++i) {
            EXPECT_TRUE(encoder.Encode(s.frames[i].data(), i % 20 == 0));
            Record r;
            r.delay = 0.04f * float(i + 1);
            r.blob = encoder.Blob();
            s.records.push_back(r);
        }
        s.file = BuildFile(s.records);
        return s;
    }();
    return sample;
}

struct ReadResult {
    bool opened = false;
    std::vector<Bytes> frames;
    Status last = Status::End;
    std::string error;
};

inline ReadResult ReadBytes(const std::filesystem::path& path, const Bytes& file, bool scan = false)
{
    EXPECT_TRUE(WriteAll(path, file));
    ReadResult result;
    CFrameStoreReader store;
    result.opened = scan ? store.OpenForScanning(path) : store.OpenForReading(path);
    if (!result.opened) {
        result.error = store.ErrorMessage();
        return result;
    }
    CFrameStoreReader::Frame frame;
    while ((result.last = store.NextFrame(frame)) == Status::Frame)
        result.frames.push_back(frame.pixels);
    result.error = store.ErrorMessage();
    EXPECT_EQ(store.NextFrame(frame), result.last) << "the status persists";
    return result;
}

// A temporary folder, and the store path the test writes its files to.
class StoreFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path path = dir / "temp.dat";
};

} // namespace fstest

} // namespace pelidore
