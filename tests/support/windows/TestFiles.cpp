#include "TestFiles.h"

#include "NWindows.h"

namespace pelidore {

std::wstring RepositoryFile(const std::string& repositoryPath)
{
    std::string path = std::string(PELIDORE_SOURCE_DIR) + "/" + repositoryPath;
    std::wstring wide(path.begin(), path.end());
    for (wchar_t& c : wide)
        if (c == L'/')
            c = L'\\';
    // A Unix source tree is seen through Wine's drive Z:.
    if (!path.empty() && path[0] == '/')
        wide = L"Z:" + wide;
    return wide;
}

std::wstring TemporaryFile(const std::wstring& name)
{
    wchar_t folder[MAX_PATH] = {};
    DWORD length = GetTempPathW(MAX_PATH, folder);
    std::wstring path = (length > 0 && length < MAX_PATH) ? std::wstring(folder, length) : std::wstring(L".\\");
    path += L"pelidore_" + std::to_wstring(GetCurrentProcessId()) + L"_" + name;
    DeleteFileW(path.c_str());
    return path;
}

std::string ReadWholeFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        content.append(buffer, got);
    CloseHandle(file);
    return content;
}

} // namespace pelidore
