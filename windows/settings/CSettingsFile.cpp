#include "CSettingsFile.h"

#include "CFolder.h"

#include <fstream>
#include <system_error>

namespace pelidore {

namespace fs = std::filesystem;

bool CSettingsFile::Read(const fs::path& file, std::size_t maxBytes, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return false;
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
        return false;
    bytes.resize(maxBytes);
    stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(maxBytes));
    if (stream.bad()) {
        bytes.clear();
        return false;
    }
    // A short file ends the read early (eof and fail set): keep what it held.
    bytes.resize(static_cast<std::size_t>(stream.gcount()));
    return true;
}

bool CSettingsFile::Write(const fs::path& file, const std::vector<std::uint8_t>& bytes)
{
    if (file.empty() || !file.has_filename())
        return false;
    if (!CFolder::Ensure(file.parent_path().empty() ? fs::path(".") : file.parent_path()))
        return false;

    const fs::path temporary = TemporaryPathFor(file);
    if (!WriteWhole(temporary, bytes)) {
        RemoveQuietly(temporary);
        return false;
    }
    std::error_code error;
    fs::rename(temporary, file, error);
    if (error) {
        RemoveQuietly(temporary);
        return false;
    }
    return true;
}

fs::path CSettingsFile::TemporaryPathFor(const fs::path& file)
{
    fs::path temporary = file;
    temporary += ".tmp";
    return temporary;
}

bool CSettingsFile::WriteWhole(const fs::path& file, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    if (!stream)
        return false;
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    stream.flush();
    const bool written = stream.good();
    stream.close();
    return written && !stream.fail();
}

void CSettingsFile::RemoveQuietly(const fs::path& file)
{
    std::error_code error;
    // Only our own leftover: never a directory someone put in its place.
    if (fs::is_regular_file(fs::symlink_status(file, error)))
        fs::remove(file, error);
}

} // namespace pelidore
