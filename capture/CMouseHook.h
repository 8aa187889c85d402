#pragma once
// The presses and releases of the mouse buttons, wherever the pointer is,
// fed into a click latch while a recording shows clicks. A low-level mouse
// hook: it runs on the thread that installs it (the UI thread, whose message
// loop it needs) and sees clicks on every window, the recorded ones included.
#include "CClickLatch.h"
#include "NWindows.h"

namespace pelidore {

class CMouseHook {
public:
    CMouseHook() = default;
    ~CMouseHook();
    CMouseHook(const CMouseHook&) = delete;
    CMouseHook& operator=(const CMouseHook&) = delete;

    // One hook in the process at a time. False when one is installed or the
    // system refuses; the recording then shows the buttons held at each grab.
    bool Install(CClickLatch& latch);
    void Remove();
    bool IsInstalled() const { return m_Hook != nullptr; }

private:
    static LRESULT CALLBACK Procedure(int code, WPARAM message, LPARAM details);

    HHOOK m_Hook = nullptr;
    // The hook procedure has no context of its own; it runs on the installing
    // thread only, so a plain pointer is enough.
    static CClickLatch* s_Latch;
};

} // namespace pelidore
