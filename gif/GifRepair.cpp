#include "GifRepair.h"

#include "GifBlockScan.h"
#include "OpenFile.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <system_error>

namespace pelidore {

namespace fs = std::filesystem;

namespace {

constexpr int kTrailer = 0x3B;

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File Open(const fs::path& path, const char* mode)
{
    return File(OpenFile(path, mode), &std::fclose);
}

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
    const File in = Open(file, "rb");
    if (!in) {
        return false;
    }
    size = 0;
    scan = GifBlockScan::Scan([&in, &size](std::uint8_t* buffer, std::size_t capacity) {
        const std::size_t got = std::fread(buffer, 1, capacity, in.get());
        size += got;
        return got;
    });
    // The walk stops early on a trailer or a damaged block; the size counts
    // only for a truncated file, which is read to its end.
    return std::ferror(in.get()) == 0;
}

bool GifRepair::Replace(const fs::path& file, const fs::path& replacement)
{
    std::error_code error;
    fs::rename(replacement, file, error);
    return !error;
}

bool GifRepair::EndsLikeCompleteGif(const fs::path& file)
{
    const File in = Open(file, "rb");
    unsigned char tail[2] = {};
    if (!in || std::fseek(in.get(), -2, SEEK_END) != 0 || std::fread(tail, 1, 2, in.get()) != 2) {
        return false;
    }
    return tail[0] == 0 && tail[1] == kTrailer;
}

bool GifRepair::WriteCut(const fs::path& from, const fs::path& to, std::uint64_t keep)
{
    const File in = Open(from, "rb");
    File out = Open(to, "wb");
    if (!in || !out) {
        return false;
    }
    std::vector<unsigned char> buffer(1u << 16);
    while (keep > 0) {
        const auto step = static_cast<std::size_t>(std::min<std::uint64_t>(keep, buffer.size()));
        // A file that shrank since the scan is not the file that was scanned.
        if (std::fread(buffer.data(), 1, step, in.get()) != step ||
            std::fwrite(buffer.data(), 1, step, out.get()) != step) {
            return false;
        }
        keep -= step;
    }
    const bool written = std::fputc(kTrailer, out.get()) != EOF && std::fflush(out.get()) == 0;
    return std::fclose(out.release()) == 0 && written;
}

void GifRepair::RemoveQuietly(const fs::path& file)
{
    std::error_code error;
    if (fs::is_regular_file(fs::symlink_status(file, error))) {
        fs::remove(file, error);
    }
}

} // namespace pelidore
