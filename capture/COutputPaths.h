#pragma once
// The files of one work folder, named by the local clock and checked
// against what the folder already holds. Every path operation first makes
// the folder (and its missing parents).
#include "COutputNames.h"

#include <filesystem>
#include <vector>

namespace pelidore {

class COutputPaths {
public:
    explicit COutputPaths(std::filesystem::path workFolder);

    // Empty when no free name could be found.
    std::filesystem::path Gif() const;
    std::filesystem::path Snapshot() const;
    std::filesystem::path FrameStore() const;

    // Frame stores left in the folder by a crash, a quit while saving or a
    // failed save, oldest name first.
    std::vector<std::filesystem::path> KeptFrameStores() const;

    const std::filesystem::path& Folder() const { return m_Folder; }

    static bool Exists(const std::filesystem::path& path);
    static COutputNames::LocalTime Now();

private:
    void EnsureFolder() const;

    std::filesystem::path m_Folder;
    COutputNames m_Names;
};

} // namespace pelidore
