#pragma once

#include "NWindows.h"

namespace pelidore {

// The shell's "Select work folder" dialog.
class CFolderChooser {
public:
    static constexpr const wchar_t* kTitle = L"Select work folder";

    // Modal, owned by `owner`. On a pick that has a file-system path, copies
    // it into `folder` and returns true; Cancel (or a virtual folder such as
    // "Network") leaves `folder` as it was and returns false.
    static bool Choose(HWND owner, wchar_t (&folder)[MAX_PATH]);
};

} // namespace pelidore
