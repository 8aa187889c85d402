// Whole stores written by CFrameStoreWriter and read back by CFrameStoreReader,
// for the writer's and the reader's tests.
#pragma once

#include "CFrameStoreReader.h"
#include "CFrameStoreWriter.h"
#include "FrameStoreTestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace pelidore {

namespace fstest {

using Status = CFrameStoreReader::ReadStatus;

// Writes frames with delays 0.05, 0.06, ... and returns the file's bytes.
inline Bytes WriteStore(const std::filesystem::path& path, int w, int h, const std::vector<Bytes>& frames,
                        Compressor compressor = Compressor::Snappy)
{
    CFrameStoreWriter store;
    store.SetCompressor(compressor);
    EXPECT_TRUE(store.Create(w, h));
    EXPECT_TRUE(store.OpenForWriting(path));
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_TRUE(store.Append(0.05f + 0.01f * float(i), frames[i].data())) << i;
    EXPECT_EQ(store.FramesWritten(), int(frames.size()));
    EXPECT_TRUE(store.Close());
    return ReadAll(path);
}

inline std::vector<CFrameStoreReader::Frame> ReadStore(const std::filesystem::path& path, Status* last = nullptr)
{
    CFrameStoreReader store;
    std::vector<CFrameStoreReader::Frame> frames;
    EXPECT_TRUE(store.OpenForReading(path)) << store.ErrorMessage();
    CFrameStoreReader::Frame frame;
    Status status;
    while ((status = store.NextFrame(frame)) == Status::Frame)
        frames.push_back(frame);
    if (last)
        *last = status;
    else
        EXPECT_EQ(status, Status::End) << store.ErrorMessage();
    return frames;
}

inline std::vector<Bytes> MovingWindowFrames(int w, int h, int count, double percent = 2.0)
{
    const Bytes desktop = DesktopFrame(w, h);
    std::vector<Bytes> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(MovingWindowFrame(desktop, w, h, i, percent));
    return frames;
}

} // namespace fstest

} // namespace pelidore
