#pragma once

#include <filesystem>

namespace pelidore {

// Folders the program writes into (the settings folder, the work folder) may
// not exist yet, nor their parents: a first run, or a work folder typed for a
// drive that was just plugged in.
class CFolder {
public:
    // Creates every missing directory along `folder`, outermost first, and
    // stops at the first one that cannot be made (or that is a file). Returns
    // whether `folder` is a directory afterwards. Never throws.
    static bool Ensure(const std::filesystem::path& folder);

private:
    static bool IsDirectory(const std::filesystem::path& path);
    static bool MakeDirectory(const std::filesystem::path& path);
};

} // namespace pelidore
