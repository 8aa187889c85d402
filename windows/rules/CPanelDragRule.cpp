#include "CPanelDragRule.h"

namespace pelidore {

namespace {

constexpr int kFrameOverhang = ToolWindowMetrics::kFrameOverhang;

} // namespace

CPanelDragRule::Placement CPanelDragRule::Apply(const ScreenRect& proposed, int currentPanelTop,
                                                const ScreenRect& frame, const ScreenRect& virtualScreen,
                                                const CNScale& panelScale)
{
    const Panel sizes = ToolWindowMetrics::Panel(panelScale);
    ScreenRect panel = proposed;
    KeepFrameInsideHorizontally(panel, sizes, frame, virtualScreen);
    const bool panelAboveFrame = currentPanelTop < frame.top;
    const int frameY = panelAboveFrame ? PlaceAboveFrame(panel, sizes, frame, virtualScreen)
                                       : PlaceBelowFrame(panel, sizes, frame, virtualScreen);
    return Placement{panel, panel.left - sizes.indent, frameY};
}

void CPanelDragRule::KeepFrameInsideHorizontally(ScreenRect& panel, const Panel& sizes, const ScreenRect& frame,
                                                 const ScreenRect& virtualScreen)
{
    const int frameWidth = frame.Width();
    if (panel.left - sizes.indent < virtualScreen.left - kFrameOverhang)
        MovePanelLeft(panel, sizes, virtualScreen.left - kFrameOverhang + sizes.indent);
    if (panel.left - sizes.indent + frameWidth > virtualScreen.right + kFrameOverhang)
        MovePanelLeft(panel, sizes, virtualScreen.right - frameWidth + sizes.indent + kFrameOverhang);
}

// Returns the frame's new y. The panel goes back below the frame as soon as
// there is room there; the frame then stays where it is.
int CPanelDragRule::PlaceAboveFrame(ScreenRect& panel, const Panel& sizes, const ScreenRect& frame,
                                    const ScreenRect& virtualScreen)
{
    if (frame.bottom + sizes.Reach() < virtualScreen.bottom) {
        MovePanelTop(panel, sizes, frame.bottom - sizes.overlap);
        return frame.top;
    }
    const int frameHeight = frame.Height();
    if (panel.top + sizes.Reach() + frameHeight > virtualScreen.bottom + kFrameOverhang)
        MovePanelTop(panel, sizes, virtualScreen.bottom - frameHeight - sizes.Reach() + kFrameOverhang);
    return panel.top + sizes.Reach();
}

// Returns the frame's new y. Without room below the frame the panel flips
// above it and the frame keeps its place.
int CPanelDragRule::PlaceBelowFrame(ScreenRect& panel, const Panel& sizes, const ScreenRect& frame,
                                    const ScreenRect& virtualScreen)
{
    const int frameHeight = frame.Height();
    if (frame.top + sizes.Reach() + frameHeight > virtualScreen.bottom) {
        MovePanelTop(panel, sizes, frame.top - sizes.Reach());
        return frame.top;
    }
    if (panel.top - frameHeight + sizes.overlap < virtualScreen.top - kFrameOverhang)
        MovePanelTop(panel, sizes, virtualScreen.top + frameHeight - sizes.overlap - kFrameOverhang);
    return panel.top - frameHeight + sizes.overlap;
}

void CPanelDragRule::MovePanelTop(ScreenRect& panel, const Panel& sizes, int top)
{
    panel.top = top;
    panel.bottom = top + sizes.height;
}

void CPanelDragRule::MovePanelLeft(ScreenRect& panel, const Panel& sizes, int left)
{
    panel.left = left;
    panel.right = left + sizes.width;
}

} // namespace pelidore
