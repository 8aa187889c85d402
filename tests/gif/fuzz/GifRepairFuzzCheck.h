// One input of the GIF repair fuzzer, also replayed by GifRepairRegressionTest:
// the bytes are written to a file, which is repaired. Crashes and sanitizer
// reports are findings; so is any broken property, returned as text (the
// fuzzer aborts on it, the test fails on it):
//   - the outcome is the one the block walk of the same bytes calls for;
//   - a file not repaired is byte for byte what it was;
//   - a repaired file is the bytes up to the end of the last whole frame and
//     the trailer, and walks as a complete GIF with the same frames;
//   - no temporary copy is left behind;
//   - the walk does not depend on how many bytes each read hands over.
#pragma once

#include "GifBlockScan.h"
#include "GifRepair.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pelidore {

namespace fuzzcheck {

inline std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline GifRepair::Outcome ExpectedOutcome(const GifBlockScan::Result& scan)
{
    switch (scan.ending) {
    case GifBlockScan::Ending::NotGif:
        return GifRepair::Outcome::NotGif;
    case GifBlockScan::Ending::Trailer:
        return GifRepair::Outcome::Complete;
    case GifBlockScan::Ending::Damaged:
        return GifRepair::Outcome::Damaged;
    case GifBlockScan::Ending::Truncated:
        break;
    }
    return scan.wholeFrames == 0 ? GifRepair::Outcome::NoWholeFrame : GifRepair::Outcome::Repaired;
}

inline std::string CheckRepaired(const std::vector<std::uint8_t>& input, const GifBlockScan::Result& scan,
                                 const GifRepair::Result& result, const std::vector<std::uint8_t>& after)
{
    if (scan.wholeFramesEnd > input.size())
        return "the last whole frame ends past the input";
    std::vector<std::uint8_t> expected(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(scan.wholeFramesEnd));
    expected.push_back(0x3B);
    if (after != expected)
        return "the repaired file is not the frames kept and the trailer";
    if (result.bytesDropped != input.size() - scan.wholeFramesEnd)
        return "the bytes dropped are miscounted";
    const GifBlockScan::Result again = GifBlockScan::Scan(after.data(), after.size());
    if (again.ending != GifBlockScan::Ending::Trailer || again.wholeFrames != scan.wholeFrames)
        return "the repaired file does not walk as a complete GIF with the same frames";
    return "";
}

// The same walk with the bytes handed over a few at a time, so that blocks
// straddle the refills of the walk's buffer.
inline GifBlockScan::Result ScanInPieces(const std::uint8_t* data, std::size_t size)
{
    const std::size_t piece = size % 13 + 1;
    std::size_t at = 0;
    return GifBlockScan::Scan([&](std::uint8_t* buffer, std::size_t capacity) {
        const std::size_t n = std::min({piece, capacity, size - at});
        std::copy(data + at, data + at + n, buffer);
        at += n;
        return n;
    });
}

inline std::string CheckGifRepairInput(const std::uint8_t* data, std::size_t size, const std::filesystem::path& path)
{
    const std::vector<std::uint8_t> input(data, data + size);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out)
            return "cannot write the input file";
    }
    const GifBlockScan::Result scan = GifBlockScan::Scan(data, size);
    const GifBlockScan::Result pieces = ScanInPieces(data, size);
    if (pieces.ending != scan.ending || pieces.wholeFrames != scan.wholeFrames ||
        pieces.wholeFramesEnd != scan.wholeFramesEnd)
        return "the walk depends on how the bytes arrive";
    const GifRepair::Result result = GifRepair::Repair(path);
    const std::vector<std::uint8_t> after = FileBytes(path);
    if (std::filesystem::exists(GifRepair::TemporaryPathFor(path)))
        return "a temporary copy was left behind";
    if (result.outcome != ExpectedOutcome(scan))
        return "the outcome is not the one the walk calls for";
    if (result.frames != scan.wholeFrames)
        return "the frames are miscounted";
    if (result.outcome != GifRepair::Outcome::Repaired)
        return after == input ? "" : "a file that was not repaired changed";
    return CheckRepaired(input, scan, result, after);
}

} // namespace fuzzcheck

} // namespace pelidore
