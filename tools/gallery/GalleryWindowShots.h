#pragma once

#include "NWindows.h"

#include <string>

namespace pelidore {

// The gallery's pages of real windows: the program's own window classes
// created hidden, set to a state and drawn, their surfaces copied onto the
// page where they would stand on the screen.
class GalleryWindowShots {
public:
    explicit GalleryWindowShots(std::wstring folder);

    // The Options window at its defaults, and with a hotkey in use, a field
    // listening and some switches on.
    HRESULT WriteOptions();
    // The control panel with the hover label of its record button, and
    // recording with the label of its pause button.
    HRESULT WritePanelLabels();

private:
    std::wstring m_Folder;
};

} // namespace pelidore
