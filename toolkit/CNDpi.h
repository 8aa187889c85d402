#pragma once

#include "NWindows.h"

namespace pelidore {

// Dots per inch of the monitor a window is on. The per-monitor answer needs
// Windows 10; earlier systems have one DPI for every monitor, which the
// screen's device context reports.
class CNDpi {
public:
    // The window's monitor; the system's when the window is null or the
    // system cannot tell.
    static int ForWindow(HWND window);
    static int ForSystem();
};

} // namespace pelidore
