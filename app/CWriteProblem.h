#pragma once
// The words the control panel shows when the work folder lets a recording
// down: it could not be made or written at the start, or a write failed
// while recording (most often because the disk is full).
#include <filesystem>
#include <string>

namespace pelidore {

class CWriteProblem {
public:
    static std::wstring CannotWrite(const std::filesystem::path& folder);
    // Asks the folder's drive how much room is left to tell a full disk
    // from any other failure.
    static std::wstring WriteFailed(const std::filesystem::path& folder);

private:
    static bool IsDiskFull(const std::filesystem::path& folder);
};

} // namespace pelidore
