#pragma once

#include <string>

namespace pelidore {

// Where config.dat and logo.dat live, and the default work folder:
// the user's Documents folder with "Pelidore" appended.
class CSettingsFolder {
public:
    static constexpr const wchar_t* kFolderName = L"Pelidore";
    static constexpr const wchar_t* kConfigFileName = L"config.dat";
    static constexpr const wchar_t* kLogoFileName = L"logo.dat";

    // Documents\Pelidore. When the system cannot name a Documents folder, the
    // temporary folder's Pelidore, so that settings and recordings never land
    // in whatever the current directory happens to be.
    static std::wstring Default();

private:
    static std::wstring DocumentsFolder();
    static std::wstring TemporaryFolder();
};

} // namespace pelidore
