#pragma once

#include "ScreenRect.h"

namespace pelidore {

// Where the control panel and the recording frame go while the user drags
// the panel: the frame follows the panel, the pair never leaves the virtual
// screen by more than the frame's 9-pixel border, and the panel flips to the
// other side of the frame when there is no room for it where it is.

class CPanelDragRule {
public:
    struct Placement {
        ScreenRect panel; // the adjusted proposal, handed back to the move
        int frameX;       // the frame's new top-left; its size does not change
        int frameY;
    };

    // proposed: the rectangle the move asks for; currentPanelTop: where the
    // panel is now (it says on which side of the frame the panel hangs).
    static Placement Apply(const ScreenRect& proposed, int currentPanelTop, const ScreenRect& frame,
                           const ScreenRect& virtualScreen);

private:
    static void KeepFrameInsideHorizontally(ScreenRect& panel, const ScreenRect& frame,
                                            const ScreenRect& virtualScreen);
    static int PlaceAboveFrame(ScreenRect& panel, const ScreenRect& frame, const ScreenRect& virtualScreen);
    static int PlaceBelowFrame(ScreenRect& panel, const ScreenRect& frame, const ScreenRect& virtualScreen);
    static void MovePanelTop(ScreenRect& panel, int top);
    static void MovePanelLeft(ScreenRect& panel, int left);
};

} // namespace pelidore
