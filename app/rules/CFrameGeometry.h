#pragma once
// Geometry of the recording frame window: where it starts, which parts of it
// resize or drag it, how far it may leave the virtual screen, where the
// control panel hangs, and where its decorations go. No Windows header: the
// rules are tested natively.
#include "CNScale.h"
#include "ScreenRect.h"
#include "ToolWindowMetrics.h"

namespace pelidore {

// Values of the Windows hit-test codes they stand for.
enum class FrameHit : int {
    Caption = 2,
    TopLeft = 13,
    TopRight = 14,
    BottomLeft = 16,
    BottomRight = 17,
};

enum class FrameCorner { TopLeft, TopRight, BottomLeft, BottomRight };

class CFrameGeometry {
public:
    static constexpr int kStartWidth = 640;
    static constexpr int kStartHeight = 360;
    static constexpr int kMinTrackSize = 100;
    static constexpr int kMaxTrackWidth = 1280;
    static constexpr int kMaxTrackHeight = 720;
    static constexpr int kCornerGrip = 30;
    static constexpr int kBorderPhases = 16;
    static constexpr int kCornerMarkSpan = 26;

    // Centred on a monitor of the given size, measured from the virtual
    // screen's origin.
    static PixelPoint StartOrigin(PixelPoint virtualOrigin, PixelSize monitor);

    // Client point to the part of the frame under it: the four 30-pixel
    // corners resize, everything else drags.
    static FrameHit HitTest(PixelPoint client, PixelSize window);

    // A proposed frame rectangle kept within 9 pixels beyond the virtual
    // screen: moving shifts the whole rectangle, sizing stops each edge.
    static ScreenRect ClampMoving(ScreenRect proposed, const ScreenRect& virtualScreen);
    static ScreenRect ClampSizing(ScreenRect proposed, const ScreenRect& virtualScreen);

    // The control panel below the frame, or above it when the screen has
    // no room below; its size and place at the frame at the panel's scale.
    static ScreenRect PanelRect(const ScreenRect& frame, const ScreenRect& virtualScreen,
                                const CNScale& panelScale = CNScale());

    // A tool window takes the panel's place and width; height at 100 %.
    static ScreenRect ToolRect(const ScreenRect& panel, int height, const CNScale& toolScale = CNScale());

    // The dashed border's dash offset steps 0, -1, ..., -15, then 0 again.
    static int NextBorderPhase(int phase);

    // The dashed border and the transparent area inside it, in window
    // coordinates.
    static ScreenRect BorderRect(PixelSize window);
    static PixelPoint CornerMarkOrigin(FrameCorner corner, PixelSize window);
    static PixelPoint CentreMarkOrigin(PixelSize window, PixelSize mark);
};

} // namespace pelidore
