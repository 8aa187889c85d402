#pragma once

#include "NWindows.h"

namespace pelidore {

// The "File Open" dialog for the logo picture.
class CPictureChooser {
public:
    static constexpr const wchar_t* kTitle = L"File Open";
    static constexpr DWORD kBufferChars = 520;

    // Modal, owned by `owner`, pre-filled with `path`. On OK copies the chosen
    // file into `path` and returns true. Cancel, a failure, or a choice too
    // long for `path` leave it as it was and return false.
    static bool Choose(HWND owner, wchar_t (&path)[MAX_PATH]);

    // Pairs of description and pattern, each zero-terminated, ending in an
    // empty string: the form OPENFILENAMEW's filter takes.
    static const wchar_t* Filter();
};

} // namespace pelidore
