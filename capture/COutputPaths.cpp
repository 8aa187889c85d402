#include "COutputPaths.h"

#include "CFolder.h"
#include "NWindows.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace pelidore {

COutputPaths::COutputPaths(std::filesystem::path workFolder)
    : m_Folder(std::move(workFolder)), m_Names(&COutputPaths::Exists)
{
}

std::filesystem::path COutputPaths::Gif() const
{
    EnsureFolder();
    return m_Names.GifPath(m_Folder, Now());
}

std::filesystem::path COutputPaths::Snapshot() const
{
    EnsureFolder();
    return m_Names.SnapshotPath(m_Folder, Now(), GetTickCount());
}

std::filesystem::path COutputPaths::FrameStore() const
{
    EnsureFolder();
    return m_Names.FrameStorePath(m_Folder);
}

std::vector<std::filesystem::path> COutputPaths::KeptFrameStores() const
{
    std::vector<std::filesystem::path> stores;
    std::error_code error;
    std::filesystem::directory_iterator entry(m_Folder, error);
    for (const std::filesystem::directory_iterator end; !error && entry != end; entry.increment(error)) {
        if (COutputNames::IsFrameStoreName(entry->path().filename()) && entry->is_regular_file(error))
            stores.push_back(entry->path());
    }
    // temp.dat before temp_2.dat before temp_10.dat: the order they were made.
    std::sort(stores.begin(), stores.end(), [](const std::filesystem::path& a, const std::filesystem::path& b) {
        const auto& left = a.native();
        const auto& right = b.native();
        return left.size() != right.size() ? left.size() < right.size() : left < right;
    });
    return stores;
}

bool COutputPaths::Exists(const std::filesystem::path& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

COutputNames::LocalTime COutputPaths::Now()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

void COutputPaths::EnsureFolder() const
{
    // A folder that cannot be made shows up as a file that cannot be created.
    CFolder::Ensure(m_Folder);
}

} // namespace pelidore
