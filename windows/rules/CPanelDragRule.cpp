#include "CPanelDragRule.h"

namespace pelidore {

namespace {

constexpr int FrameBorder = 9;                                         // the frame may hang this far off the screen
constexpr int PanelIndent = 10;                                        // panel left - frame left
constexpr int PanelOverlap = 2;                                        // the panel covers the frame's outer edge
constexpr int PanelReach = CPanelDragRule::PanelHeight - PanelOverlap; // 151

} // namespace

CPanelDragRule::Placement CPanelDragRule::Apply(const Rect& proposed, int currentPanelTop, const Rect& frame,
                                                const Rect& virtualScreen)
{
    Rect panel = proposed;
    KeepFrameInsideHorizontally(panel, frame, virtualScreen);
    const bool panelAboveFrame = currentPanelTop < frame.top;
    const int frameY =
        panelAboveFrame ? PlaceAboveFrame(panel, frame, virtualScreen) : PlaceBelowFrame(panel, frame, virtualScreen);
    return Placement{panel, panel.left - PanelIndent, frameY};
}

void CPanelDragRule::KeepFrameInsideHorizontally(Rect& panel, const Rect& frame, const Rect& virtualScreen)
{
    const int frameWidth = frame.Width();
    if (panel.left - PanelIndent < virtualScreen.left - FrameBorder)
        MovePanelLeft(panel, virtualScreen.left + 1);
    if (panel.left - PanelIndent + frameWidth > virtualScreen.right + FrameBorder)
        MovePanelLeft(panel, virtualScreen.right - frameWidth + PanelIndent + FrameBorder);
}

// Returns the frame's new y. The panel goes back below the frame as soon as
// there is room there; the frame then stays where it is.
int CPanelDragRule::PlaceAboveFrame(Rect& panel, const Rect& frame, const Rect& virtualScreen)
{
    if (frame.bottom + PanelReach < virtualScreen.bottom) {
        MovePanelTop(panel, frame.bottom - PanelOverlap);
        return frame.top;
    }
    const int frameHeight = frame.Height();
    if (panel.top + PanelReach + frameHeight > virtualScreen.bottom + FrameBorder)
        MovePanelTop(panel, virtualScreen.bottom - frameHeight - PanelReach + FrameBorder);
    return panel.top + PanelReach;
}

// Returns the frame's new y. Without room below the frame the panel flips
// above it and the frame keeps its place.
int CPanelDragRule::PlaceBelowFrame(Rect& panel, const Rect& frame, const Rect& virtualScreen)
{
    const int frameHeight = frame.Height();
    if (frame.top + PanelReach + frameHeight > virtualScreen.bottom) {
        MovePanelTop(panel, frame.top - PanelReach);
        return frame.top;
    }
    if (panel.top - frameHeight + PanelOverlap < virtualScreen.top - FrameBorder)
        MovePanelTop(panel, virtualScreen.top + frameHeight - PanelOverlap - FrameBorder);
    return panel.top - frameHeight + PanelOverlap;
}

void CPanelDragRule::MovePanelTop(Rect& panel, int top)
{
    panel.top = top;
    panel.bottom = top + PanelHeight;
}

void CPanelDragRule::MovePanelLeft(Rect& panel, int left)
{
    panel.left = left;
    panel.right = left + PanelWidth;
}

} // namespace pelidore
