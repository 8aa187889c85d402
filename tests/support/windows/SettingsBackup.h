#pragma once
// A settings file of the test prefix, put back as it was (or removed, when
// there was none) once a test that writes its own is done.
#include "CSettingsFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace pelidore {

class SettingsBackup {
public:
    explicit SettingsBackup(std::filesystem::path file) : m_File(std::move(file))
    {
        std::vector<std::uint8_t> bytes;
        if (CSettingsFile::Read(m_File, 1 << 16, bytes))
            m_Bytes = std::move(bytes);
    }
    ~SettingsBackup()
    {
        std::error_code ignored;
        if (m_Bytes)
            CSettingsFile::Write(m_File, *m_Bytes);
        else
            std::filesystem::remove(m_File, ignored);
    }
    SettingsBackup(const SettingsBackup&) = delete;
    SettingsBackup& operator=(const SettingsBackup&) = delete;

private:
    std::filesystem::path m_File;
    std::optional<std::vector<std::uint8_t>> m_Bytes;
};

} // namespace pelidore
