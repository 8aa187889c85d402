#include "CSettingsFolder.h"

#include "NWindows.h"

#include <shlobj.h>

#include <filesystem>

namespace pelidore {

std::wstring CSettingsFolder::Default()
{
    std::wstring base = DocumentsFolder();
    if (base.empty())
        base = TemporaryFolder();
    return (std::filesystem::path(base) / kFolderName).wstring();
}

std::wstring CSettingsFolder::DocumentsFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::wstring();
    return path;
}

std::wstring CSettingsFolder::TemporaryFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH)
        return L"C:\\";
    return path;
}

} // namespace pelidore
