// Mends a frame store that the program left behind: keeps every complete,
// decodable frame of a store whose header says 0 frames (the program died
// while recording) or whose tail is torn, cuts the rest and writes the true
// count into the header.
//
// Portable: no Windows header; paths are std::filesystem::path.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace pelidore {

class CFrameStoreRecovery {
public:
    struct Result {
        bool ok = false;          // the file is now a consistent store (it may hold 0 frames)
        int framesKept = 0;       // complete, decodable frames now counted in the header
        int headerFrameCount = 0; // what the header said before
        int width = 0;
        int height = 0;
        std::uint64_t bytesBefore = 0; // file size before and after
        std::uint64_t bytesAfter = 0;
        bool changed = false; // the file was cut or its header rewritten
        std::string message;  // why the scan stopped, or why recovery failed
    };

    static Result Recover(const std::filesystem::path& path);
};

} // namespace pelidore
