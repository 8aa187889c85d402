#include "GifRepair.h"

#include "GifBlockScan.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace pelidore {

namespace fs = std::filesystem;

namespace {

constexpr char kTrailer = 0x3B;

GifRepair::Result ResultOf(GifRepair::Outcome outcome, int frames)
{
    GifRepair::Result result;
    result.outcome = outcome;
    result.frames = frames;
    return result;
}

} // namespace

GifRepair::Result GifRepair::Repair(const fs::path& file)
{
    GifBlockScan::Result scan;
    std::uint64_t size = 0;
    if (!ScanFile(file, scan, size)) {
        return ResultOf(Outcome::Failed, 0);
    }
    switch (scan.ending) {
    case GifBlockScan::Ending::NotGif:
        return ResultOf(Outcome::NotGif, 0);
    case GifBlockScan::Ending::Trailer:
        return ResultOf(Outcome::Complete, scan.wholeFrames);
    case GifBlockScan::Ending::Damaged:
        return ResultOf(Outcome::Damaged, scan.wholeFrames);
    case GifBlockScan::Ending::Truncated:
        break;
    }
    if (scan.wholeFrames == 0) {
        return ResultOf(Outcome::NoWholeFrame, 0);
    }
    const fs::path temporary = TemporaryPathFor(file);
    if (!WriteCut(file, temporary, scan.wholeFramesEnd) || !Replace(file, temporary)) {
        RemoveQuietly(temporary);
        return ResultOf(Outcome::Failed, scan.wholeFrames);
    }
    Result result = ResultOf(Outcome::Repaired, scan.wholeFrames);
    result.bytesDropped = size - scan.wholeFramesEnd;
    return result;
}

std::vector<GifRepair::FileResult> GifRepair::RepairKept(const fs::path& folder, const NameFilter& isOurs)
{
    std::vector<FileResult> results;
    if (!isOurs) {
        return results;
    }
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& file = it->path();
        std::error_code statusError;
        if (!fs::is_regular_file(fs::symlink_status(file, statusError)) || !isOurs(file.filename()) ||
            EndsLikeCompleteGif(file)) {
            continue;
        }
        results.push_back(FileResult{file, Repair(file)});
    }
    std::sort(results.begin(), results.end(),
              [](const FileResult& a, const FileResult& b) { return a.file.filename() < b.file.filename(); });
    return results;
}

fs::path GifRepair::TemporaryPathFor(const fs::path& file)
{
    fs::path temporary = file;
    temporary += ".tmp";
    return temporary;
}

bool GifRepair::ScanFile(const fs::path& file, GifBlockScan::Result& scan, std::uint64_t& size)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    size = 0;
    scan = GifBlockScan::Scan([&in, &size](std::uint8_t* buffer, std::size_t capacity) {
        in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(capacity));
        const auto got = static_cast<std::size_t>(in.gcount());
        size += got;
        return got;
    });
    // The walk stops early on a trailer or a damaged block; the size counts
    // only for a truncated file, which is read to its end.
    return !in.bad();
}

bool GifRepair::Replace(const fs::path& file, const fs::path& replacement)
{
    std::error_code error;
    fs::rename(replacement, file, error);
    return !error;
}

bool GifRepair::EndsLikeCompleteGif(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    char tail[2] = {};
    if (!in || !in.seekg(-2, std::ios::end) || !in.read(tail, 2)) {
        return false;
    }
    return tail[0] == 0 && tail[1] == kTrailer;
}

bool GifRepair::WriteCut(const fs::path& from, const fs::path& to, std::uint64_t keep)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!in || !out) {
        return false;
    }
    std::vector<char> buffer(1u << 16);
    while (keep > 0) {
        const auto step = static_cast<std::streamsize>(std::min<std::uint64_t>(keep, buffer.size()));
        // A file that shrank since the scan is not the file that was scanned.
        if (!in.read(buffer.data(), step) || !out.write(buffer.data(), step)) {
            return false;
        }
        keep -= static_cast<std::uint64_t>(step);
    }
    out.put(kTrailer);
    out.flush();
    const bool written = out.good();
    out.close();
    return written && !out.fail();
}

void GifRepair::RemoveQuietly(const fs::path& file)
{
    std::error_code error;
    if (fs::is_regular_file(fs::symlink_status(file, error))) {
        fs::remove(file, error);
    }
}

} // namespace pelidore
