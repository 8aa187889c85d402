#pragma once

#include "NWindows.h"
#include "ScreenRect.h"

namespace pelidore {

// Where things are on the desktop, in the program's one rectangle type: the
// virtual screen (every monitor), a window's rectangle, and the conversions
// to and from the RECT of the Windows calls.
class CNDesktop {
public:
    static ScreenRect VirtualScreen();
    // The window's rectangle in screen coordinates; empty when it cannot be read.
    static ScreenRect WindowRect(HWND window);
    // Like WindowRect, but a minimised window gives the place it will be
    // restored to rather than its icon's, far off the screen.
    static ScreenRect RestoredWindowRect(HWND window);

    static ScreenRect FromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
    static RECT ToRect(const ScreenRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
};

} // namespace pelidore
