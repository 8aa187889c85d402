#pragma once

#include "CNScale.h"

namespace pelidore {

// The sizes the tool windows and the frame share, in pixels at 100 %: the
// tool windows' width and drag strip, the control panel's height, and how
// the panel hangs under the frame.
struct ToolWindowMetrics {
    static constexpr int kWidth = 377;        // every tool window, the panel too
    static constexpr int kCaptionHeight = 32; // the drag strip at a tool window's top
    static constexpr int kPanelHeight = 153;
    static constexpr int kPanelIndent = 10;  // panel left - frame left
    static constexpr int kPanelOverlap = 2;  // the panel covers the frame's outer edge
    static constexpr int kFrameOverhang = 9; // how far the frame may hang off the virtual screen
    static constexpr int kPanelReach = kPanelHeight - kPanelOverlap; // panel top to frame edge: 151

    // The panel's size and its place at the frame in a monitor's pixels, at
    // the panel's scale. The frame's overhang is not among them: the frame
    // and what it records stay in pixels at every scale.
    struct PanelPixels {
        int width;
        int height;
        int indent;
        int overlap;
        int Reach() const { return height - overlap; }
    };
    static PanelPixels Panel(const CNScale& scale)
    {
        return {scale.ToPixels(kWidth), scale.ToPixels(kPanelHeight), scale.ToPixels(kPanelIndent),
                scale.ToPixels(kPanelOverlap)};
    }
};

} // namespace pelidore
