#include "CKeptGifs.h"

#include "COutputNames.h"
#include "NWindows.h"

namespace pelidore {

std::vector<GifRepair::FileResult> CKeptGifs::Repair(const std::filesystem::path& folder)
{
    return GifRepair::RepairKept(folder, [&folder](const std::filesystem::path& name) {
        return COutputNames::IsRecordingName(name) && IsUnheld(folder / name);
    });
}

bool CKeptGifs::IsUnheld(const std::filesystem::path& file)
{
    // A writer's handle (stdio's included) carries write access, which a
    // share mode without FILE_SHARE_WRITE refuses.
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

} // namespace pelidore
