#include "CPanelDragRule.h"

#include "ToolWindowMetrics.h"

namespace pelidore {

namespace {

using Metrics = ToolWindowMetrics;

} // namespace

CPanelDragRule::Placement CPanelDragRule::Apply(const ScreenRect& proposed, int currentPanelTop,
                                                const ScreenRect& frame, const ScreenRect& virtualScreen)
{
    ScreenRect panel = proposed;
    KeepFrameInsideHorizontally(panel, frame, virtualScreen);
    const bool panelAboveFrame = currentPanelTop < frame.top;
    const int frameY =
        panelAboveFrame ? PlaceAboveFrame(panel, frame, virtualScreen) : PlaceBelowFrame(panel, frame, virtualScreen);
    return Placement{panel, panel.left - Metrics::kPanelIndent, frameY};
}

void CPanelDragRule::KeepFrameInsideHorizontally(ScreenRect& panel, const ScreenRect& frame,
                                                 const ScreenRect& virtualScreen)
{
    const int frameWidth = frame.Width();
    if (panel.left - Metrics::kPanelIndent < virtualScreen.left - Metrics::kFrameOverhang)
        MovePanelLeft(panel, virtualScreen.left + 1);
    if (panel.left - Metrics::kPanelIndent + frameWidth > virtualScreen.right + Metrics::kFrameOverhang)
        MovePanelLeft(panel, virtualScreen.right - frameWidth + Metrics::kPanelIndent + Metrics::kFrameOverhang);
}

// Returns the frame's new y. The panel goes back below the frame as soon as
// there is room there; the frame then stays where it is.
int CPanelDragRule::PlaceAboveFrame(ScreenRect& panel, const ScreenRect& frame, const ScreenRect& virtualScreen)
{
    if (frame.bottom + Metrics::kPanelReach < virtualScreen.bottom) {
        MovePanelTop(panel, frame.bottom - Metrics::kPanelOverlap);
        return frame.top;
    }
    const int frameHeight = frame.Height();
    if (panel.top + Metrics::kPanelReach + frameHeight > virtualScreen.bottom + Metrics::kFrameOverhang)
        MovePanelTop(panel, virtualScreen.bottom - frameHeight - Metrics::kPanelReach + Metrics::kFrameOverhang);
    return panel.top + Metrics::kPanelReach;
}

// Returns the frame's new y. Without room below the frame the panel flips
// above it and the frame keeps its place.
int CPanelDragRule::PlaceBelowFrame(ScreenRect& panel, const ScreenRect& frame, const ScreenRect& virtualScreen)
{
    const int frameHeight = frame.Height();
    if (frame.top + Metrics::kPanelReach + frameHeight > virtualScreen.bottom) {
        MovePanelTop(panel, frame.top - Metrics::kPanelReach);
        return frame.top;
    }
    if (panel.top - frameHeight + Metrics::kPanelOverlap < virtualScreen.top - Metrics::kFrameOverhang)
        MovePanelTop(panel, virtualScreen.top + frameHeight - Metrics::kPanelOverlap - Metrics::kFrameOverhang);
    return panel.top - frameHeight + Metrics::kPanelOverlap;
}

void CPanelDragRule::MovePanelTop(ScreenRect& panel, int top)
{
    panel.top = top;
    panel.bottom = top + Metrics::kPanelHeight;
}

void CPanelDragRule::MovePanelLeft(ScreenRect& panel, int left)
{
    panel.left = left;
    panel.right = left + Metrics::kWidth;
}

} // namespace pelidore
