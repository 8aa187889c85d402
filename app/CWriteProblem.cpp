#include "CWriteProblem.h"

#include "NWindows.h"

namespace pelidore {

namespace {

// Less than this is a full disk: a failed write of a frame cut back leaves
// about one frame's room free again.
constexpr ULONGLONG kRoomOfAFullDisk = 16ull << 20;

} // namespace

std::wstring CWriteProblem::CannotWrite(const std::filesystem::path& folder)
{
    return L"Cannot write to " + folder.wstring();
}

std::wstring CWriteProblem::WriteFailed(const std::filesystem::path& folder)
{
    if (IsDiskFull(folder))
        return L"The disk is full: recording stopped";
    return CannotWrite(folder) + L": recording stopped";
}

bool CWriteProblem::IsDiskFull(const std::filesystem::path& folder)
{
    ULARGE_INTEGER available = {};
    if (!GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr))
        return false;
    return available.QuadPart < kRoomOfAFullDisk;
}

} // namespace pelidore
