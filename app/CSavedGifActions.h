#pragma once
// What may happen to a GIF once it is finished, as the options say: put on
// the clipboard as a file (what Explorer and chat programs paste as a file),
// and shown selected in a file browser window.
#include "NWindows.h"

#include <filesystem>

namespace pelidore {

class CSavedGifActions {
public:
    // The clipboard then holds the file (CF_HDROP, to be copied, not moved).
    static bool CopyToClipboard(HWND owner, const std::filesystem::path& gif);
    static bool ShowInFolder(const std::filesystem::path& gif);

private:
    static HGLOBAL MakeFileList(const std::filesystem::path& gif);
    static HGLOBAL MakeDropEffect();
};

} // namespace pelidore
