// A binary file opened by std::filesystem::path (OpenFile: wide paths work
// under Windows). Every read, write and seek reports whether it did all it was
// asked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace pelidore {

class CFrameFile {
public:
    enum class Mode { Read, Write, Update }; // "rb", "wb", "r+b"

    CFrameFile() = default;
    ~CFrameFile();
    CFrameFile(const CFrameFile&) = delete;
    CFrameFile& operator=(const CFrameFile&) = delete;

    bool Open(const std::filesystem::path& path, Mode mode);
    bool IsOpen() const { return m_File != nullptr; }
    bool Read(void* data, std::size_t bytes);
    bool Write(const void* data, std::size_t bytes);
    bool Seek(std::uint64_t offset);
    bool Flush();
    // Closes the file; false when the final flush failed (or nothing was open).
    bool Close();

    static bool Size(const std::filesystem::path& path, std::uint64_t& size);
    static bool Truncate(const std::filesystem::path& path, std::uint64_t size);

private:
    std::FILE* m_File = nullptr;
};

} // namespace pelidore
