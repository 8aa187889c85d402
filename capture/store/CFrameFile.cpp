#include "CFrameFile.h"

#include "OpenFile.h"

#include <system_error>

namespace pelidore {

CFrameFile::~CFrameFile()
{
    Close();
}

bool CFrameFile::Open(const std::filesystem::path& path, Mode mode)
{
    Close();
    m_File = OpenFile(path, mode == Mode::Read ? "rb" : mode == Mode::Write ? "wb" : "r+b");
    if (m_File && mode == Mode::Write)
        std::setvbuf(m_File, nullptr, _IOFBF, std::size_t(1) << 16);
    return m_File != nullptr;
}

bool CFrameFile::Read(void* data, std::size_t bytes)
{
    if (!m_File)
        return false;
    return bytes == 0 || std::fread(data, 1, bytes, m_File) == bytes;
}

bool CFrameFile::Write(const void* data, std::size_t bytes)
{
    if (!m_File)
        return false;
    return bytes == 0 || std::fwrite(data, 1, bytes, m_File) == bytes;
}

bool CFrameFile::Seek(std::uint64_t offset)
{
    if (!m_File)
        return false;
#ifdef _WIN32
    return _fseeki64(m_File, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return fseeko(m_File, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

bool CFrameFile::Flush()
{
    return m_File && std::fflush(m_File) == 0;
}

bool CFrameFile::Close()
{
    if (!m_File)
        return false;
    const bool ok = std::fclose(m_File) == 0;
    m_File = nullptr;
    return ok;
}

bool CFrameFile::Size(const std::filesystem::path& path, std::uint64_t& size)
{
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (error)
        return false;
    size = bytes;
    return true;
}

bool CFrameFile::Truncate(const std::filesystem::path& path, std::uint64_t size)
{
    std::error_code error;
    std::filesystem::resize_file(path, size, error);
    return !error;
}

} // namespace pelidore
