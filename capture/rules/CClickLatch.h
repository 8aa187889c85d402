#pragma once
// Which mouse buttons a frame should show as pressed. The mouse hook on the
// UI thread reports presses and releases; the capture thread takes the state
// once a frame. A button counts for a frame when it is down at the grab or
// was pressed at any time since the last frame, so a click that starts and
// ends between two grabs still shows in the next frame.
//
// Lock-free: each flag is an atomic, written by the hook and exchanged by the
// capture thread.
#include <atomic>

namespace pelidore {

enum class MouseButton { Left, Right };

struct ShownButtons {
    bool left = false;
    bool right = false;

    bool Any() const { return left || right; }
};

class CClickLatch {
public:
    void Press(MouseButton button);
    void Release(MouseButton button);
    // Clears what happened since the last frame (a new recording starts).
    void Reset();

    // The buttons to show in this frame; the presses latched since the last
    // call are consumed.
    ShownButtons TakeForFrame();

private:
    struct Button {
        std::atomic<bool> down{false};
        std::atomic<bool> pressedSinceFrame{false};

        bool Take() { return pressedSinceFrame.exchange(false) || down.load(); }
    };

    Button& Of(MouseButton button) { return button == MouseButton::Left ? m_Left : m_Right; }

    Button m_Left;
    Button m_Right;
};

} // namespace pelidore
