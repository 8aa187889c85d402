#pragma once

namespace pelidore {

// Where the control panel and the recording frame go while the user drags
// the panel: the frame follows the panel, the pair never leaves the virtual
// screen by more than the frame's 9-pixel border, and the panel flips to the
// other side of the frame when there is no room for it where it is.

class CPanelDragRule {
public:
    static constexpr int PanelWidth = 377;
    static constexpr int PanelHeight = 153;

    // Screen coordinates, right and bottom exclusive.
    struct Rect {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        int Width() const { return right - left; }
        int Height() const { return bottom - top; }
        bool operator==(const Rect& other) const
        {
            return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
        }
    };

    struct Placement {
        Rect panel; // the adjusted proposal, handed back to the move
        int frameX; // the frame's new top-left; its size does not change
        int frameY;
    };

    // proposed: the rectangle the move asks for; currentPanelTop: where the
    // panel is now (it says on which side of the frame the panel hangs).
    static Placement Apply(const Rect& proposed, int currentPanelTop, const Rect& frame, const Rect& virtualScreen);

private:
    static void KeepFrameInsideHorizontally(Rect& panel, const Rect& frame, const Rect& virtualScreen);
    static int PlaceAboveFrame(Rect& panel, const Rect& frame, const Rect& virtualScreen);
    static int PlaceBelowFrame(Rect& panel, const Rect& frame, const Rect& virtualScreen);
    static void MovePanelTop(Rect& panel, int top);
    static void MovePanelLeft(Rect& panel, int left);
};

} // namespace pelidore
