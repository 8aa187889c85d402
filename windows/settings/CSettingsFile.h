#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace pelidore {

// Reading and replacing a whole settings file. A write goes to a temporary
// file beside the target and is renamed over it only once complete, so a
// crash or a full disk mid-write leaves the previous settings intact.
class CSettingsFile {
public:
    // Reads at most `maxBytes` from the start of `file` into `bytes`.
    // Returns false (and `bytes` empty) when the file cannot be opened or read.
    static bool Read(const std::filesystem::path& file, std::size_t maxBytes, std::vector<std::uint8_t>& bytes);

    // Creates the file's folder with every missing parent, then replaces the
    // file with `bytes`. Returns false when any step fails; the previous file,
    // if any, is then untouched and no temporary file is left behind.
    static bool Write(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);

    // "<name>.tmp" in the same folder: a rename within one folder never
    // crosses volumes, so it can replace the target in one step.
    static std::filesystem::path TemporaryPathFor(const std::filesystem::path& file);

private:
    static bool WriteWhole(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
    static void RemoveQuietly(const std::filesystem::path& file);
};

} // namespace pelidore
