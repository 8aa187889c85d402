#include "CFolder.h"

#include <system_error>

namespace pelidore {

namespace fs = std::filesystem;

bool CFolder::Ensure(const fs::path& folder)
{
    if (folder.empty())
        return false;
    if (IsDirectory(folder))
        return true;

    fs::path prefix;
    for (const fs::path& part : folder) {
        // "a/b/" iterates as "a", "b", "": the empty tail adds nothing.
        if (part.empty())
            continue;
        prefix /= part;
        // Root names and root directories ("C:", "\", "/") always exist or
        // can never be made; only real components are worth creating.
        if (prefix == prefix.root_path() || prefix == prefix.root_name())
            continue;
        if (IsDirectory(prefix))
            continue;
        if (!MakeDirectory(prefix))
            break;
    }
    return IsDirectory(folder);
}

bool CFolder::IsDirectory(const fs::path& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

bool CFolder::MakeDirectory(const fs::path& path)
{
    std::error_code error;
    fs::create_directory(path, error);
    // Another process may have made it in the meantime; that counts as made.
    return IsDirectory(path);
}

} // namespace pelidore
