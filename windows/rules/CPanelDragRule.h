#pragma once

#include "CNScale.h"
#include "ScreenRect.h"
#include "ToolWindowMetrics.h"

namespace pelidore {

// Where the control panel and the recording frame go while the user drags
// the panel: the frame follows the panel, the pair never leaves the virtual
// screen by more than the frame's 9-pixel border, and the panel flips to the
// other side of the frame when there is no room for it where it is. The
// panel's size and place at the frame follow the panel's scale; the frame's
// overhang stays in pixels.

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
                           const ScreenRect& virtualScreen, const CNScale& panelScale = CNScale());

private:
    using Panel = ToolWindowMetrics::PanelPixels;

    static void KeepFrameInsideHorizontally(ScreenRect& panel, const Panel& sizes, const ScreenRect& frame,
                                            const ScreenRect& virtualScreen);
    static int PlaceAboveFrame(ScreenRect& panel, const Panel& sizes, const ScreenRect& frame,
                               const ScreenRect& virtualScreen);
    static int PlaceBelowFrame(ScreenRect& panel, const Panel& sizes, const ScreenRect& frame,
                               const ScreenRect& virtualScreen);
    static void MovePanelTop(ScreenRect& panel, const Panel& sizes, int top);
    static void MovePanelLeft(ScreenRect& panel, const Panel& sizes, int left);
};

} // namespace pelidore
