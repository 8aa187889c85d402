// One input of the frame store fuzzer, also replayed by FrameStoreRegressionTest:
// the bytes are written to a file, then read as a store, scanned, recovered and
// read again. Crashes and sanitizer reports are findings; so is any broken
// property, returned as text (the fuzzer aborts on it, the test fails on it):
//   - every delivered frame has Width() * Height() * 3 bytes;
//   - the scan delivers at least the frames the reader delivered, the same ones;
//   - the seeker indexes the frames the program reads (the reader's, or the
//     scan's when the header counts none) and gives back each of them, in
//     any order;
//   - Recover keeps exactly the frames the scan delivered, and afterwards the
//     file reads those frames and then End.
#pragma once

#include "CFrameStoreReader.h"
#include "CFrameStoreRecovery.h"
#include "CFrameStoreSeeker.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace pelidore {

namespace fuzzcheck {

inline std::uint64_t Hash(const std::vector<std::uint8_t>& bytes)
{
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint8_t b : bytes)
        h = (h ^ b) * 1099511628211ull;
    return h;
}

struct Pass {
    bool opened = false;
    int counted = 0; // the header's frame count
    std::vector<std::uint64_t> frames;
    CFrameStoreReader::ReadStatus last = CFrameStoreReader::ReadStatus::End;
    std::string problem;
};

inline Pass ReadPass(const std::filesystem::path& path, bool scan)
{
    Pass pass;
    CFrameStoreReader store;
    pass.opened = scan ? store.OpenForScanning(path) : store.OpenForReading(path);
    if (!pass.opened)
        return pass;
    pass.counted = store.HeaderFrameCount();
    CFrameStoreReader::Frame frame;
    while ((pass.last = store.NextFrame(frame)) == CFrameStoreReader::ReadStatus::Frame) {
        if (frame.pixels.size() != store.FrameBytes())
            pass.problem = "a frame of the wrong size";
        pass.frames.push_back(Hash(frame.pixels));
    }
    if (store.NextFrame(frame) != pass.last)
        pass.problem = "the final status changed";
    if (pass.last == CFrameStoreReader::ReadStatus::Error && store.ErrorMessage().empty())
        pass.problem = "an error without a message";
    return pass;
}

inline std::string CheckSeeker(const std::filesystem::path& path, const std::vector<std::uint64_t>& expected)
{
    CFrameStoreSeeker seeker;
    if (seeker.Open(path) != !expected.empty())
        return "the seeker opens a store whose frames the reader does not deliver, or the other way round";
    if (seeker.FrameCount() != int(expected.size()) || seeker.Delays().size() != expected.size())
        return "the seeker indexes another number of frames than the reader delivers";
    std::vector<int> order;
    for (int i = seeker.FrameCount() - 1; i >= 0; --i)
        order.push_back(i);
    for (int i = 0; i < seeker.FrameCount(); i += 3)
        order.push_back(i);
    for (int index : order) {
        const std::uint8_t* pixels = seeker.FrameAt(index);
        if (!pixels)
            return "the seeker cannot give back an indexed frame: " + seeker.ErrorMessage();
        if (Hash(std::vector<std::uint8_t>(pixels, pixels + seeker.FrameBytes())) != expected[std::size_t(index)])
            return "the seeker gives back another frame than the reader";
    }
    return "";
}

inline std::string CheckFrameStoreInput(const std::uint8_t* data, std::size_t size, const std::filesystem::path& path)
{
    {
        std::FILE* file = std::fopen(path.string().c_str(), "wb");
        if (!file)
            return "";
        const bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
        std::fclose(file);
        if (!ok)
            return "";
    }
    const Pass read = ReadPass(path, false);
    if (!read.problem.empty())
        return "reader: " + read.problem;
    const Pass scan = ReadPass(path, true);
    if (!scan.problem.empty())
        return "scan: " + scan.problem;
    if (read.opened != scan.opened)
        return "the reader and the scan disagree about the header";
    if (!scan.opened)
        return "";
    if (scan.frames.size() < read.frames.size())
        return "the scan delivered fewer frames than the reader";
    for (std::size_t i = 0; i < read.frames.size(); ++i) {
        if (scan.frames[i] != read.frames[i])
            return "the scan delivered other frames than the reader";
    }
    const std::string seeking = CheckSeeker(path, scan.counted == 0 ? scan.frames : read.frames);
    if (!seeking.empty())
        return "seeker: " + seeking;
    const CFrameStoreRecovery::Result recovered = CFrameStoreRecovery::Recover(path);
    if (!recovered.ok)
        return "Recover failed on a file whose header reads: " + recovered.message;
    if (recovered.framesKept != int(scan.frames.size()))
        return "Recover kept another number of frames than the scan delivered";
    const Pass after = ReadPass(path, false);
    if (!after.opened || after.last != CFrameStoreReader::ReadStatus::End || after.frames != scan.frames)
        return "the recovered store does not read back its frames and then End";
    return "";
}

} // namespace fuzzcheck

} // namespace pelidore
