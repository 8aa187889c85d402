#pragma once

#include <string_view>

namespace pelidore {

// A folder as the settings hold it: text typed, chosen or read from a file
// that may hold anything. Only a full Windows path names the same folder
// whatever the program's current folder is.
class CFolderText {
public:
    // A drive letter, a colon and a separator ("C:\Recordings"), or a UNC
    // share ("\\server\share\Recordings"), also in the "\\?\" forms; "\" and
    // "/" both separate. False for anything relative ("Recordings",
    // "\Recordings", "C:Recordings"), for device paths ("\\.\COM1") and for
    // text holding a character no Windows name may hold (<>"|?* and control
    // characters, a colon past the drive).
    static bool IsFullPath(std::u16string_view text);
    // The same for a wide string of Windows, unit for unit.
    static bool IsFullPath(std::wstring_view text);

private:
    static bool IsSeparator(char16_t c);
    static bool IsDriveRoot(std::u16string_view text);
    static bool IsShare(std::u16string_view text);
    static bool HoldsOnlyNameCharacters(std::u16string_view text);
};

} // namespace pelidore
