#pragma once
// Live recordings that a crash left without their trailer, repaired at
// start-up before anything records into the work folder: only files named
// like our recordings, never a complete GIF, and never one that some process
// (another copy of the program in another session, sharing the folder) still
// holds open for writing.
#include "GifRepair.h"

#include <filesystem>
#include <vector>

namespace pelidore {

class CKeptGifs {
public:
    // What happened to each torn recording in the folder, by name.
    static std::vector<GifRepair::FileResult> Repair(const std::filesystem::path& folder);

    // True when the file can be opened while denying others the right to
    // write it: nobody has it open for writing. False when it is held (a
    // sharing violation) or cannot be opened at all.
    static bool IsUnheld(const std::filesystem::path& file);
};

} // namespace pelidore
