// Gives a GIF that a crash left without its trailer its trailer back: cut
// after the last whole frame (the frames before it kept byte for byte),
// trailer appended, written to "<name>.tmp" beside it and renamed over it,
// so a crash during the repair leaves the file as it was. Reads the file as
// it is; never decodes, never touches a complete GIF or anything not a GIF.
// Portable.
#pragma once

#include "GifBlockScan.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace pelidore {

class GifRepair {
public:
    enum class Outcome {
        Repaired,     // cut after its last whole frame, trailer added
        Complete,     // had its trailer: left as it is
        NotGif,       // no GIF signature: left as it is
        NoWholeFrame, // stops before its first frame is whole: left as it is
        Damaged,      // a byte where a block begins that starts no block: left as it is
        Failed,       // could not be read, or its repaired copy not written or put in its place: left as it is
    };
    struct Result {
        Outcome outcome = Outcome::Failed;
        int frames = 0;                 // whole frames in the file (after a repair: those kept)
        std::uint64_t bytesDropped = 0; // Repaired: the torn tail cut off
    };
    struct FileResult {
        std::filesystem::path file;
        Result result;
    };
    using NameFilter = std::function<bool(const std::filesystem::path& fileName)>;

    // Whatever the name. A file that stops before its first frame is whole
    // is left as it is rather than cut to an empty GIF: its bytes are all
    // that is left of that recording.
    static Result Repair(const std::filesystem::path& file);

    // Repairs the files directly in `folder` whose names isOurs accepts and
    // that do not end as a complete GIF does (a zero-length block, then the
    // trailer), so a folder of finished recordings costs a read of two bytes
    // each. Returns what happened to each of those files, by name; empty when
    // there were none or the folder cannot be listed. Symbolic links are
    // passed over. At start-up, with COutputNames::IsRecordingName, before
    // anything records into the folder: a GIF still being written (by this
    // program or another copy of it) also ends without its trailer.
    static std::vector<FileResult> RepairKept(const std::filesystem::path& folder, const NameFilter& isOurs);

    static std::filesystem::path TemporaryPathFor(const std::filesystem::path& file);

private:
    static bool ScanFile(const std::filesystem::path& file, GifBlockScan::Result& scan, std::uint64_t& size);
    static bool Replace(const std::filesystem::path& file, const std::filesystem::path& replacement);
    static bool EndsLikeCompleteGif(const std::filesystem::path& file);
    static bool WriteCut(const std::filesystem::path& from, const std::filesystem::path& to, std::uint64_t keep);
    static void RemoveQuietly(const std::filesystem::path& file);
};

} // namespace pelidore
