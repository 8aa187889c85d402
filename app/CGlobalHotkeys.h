#pragma once
// The program's three global hotkeys (record/stop, pause/resume, snapshot),
// registered for the frame window on the UI thread so that they work while
// another program has the focus. Another program may hold a combination
// already: that one is then left out, and said so, while the others work.
#include "NWindows.h"
#include "Options.h"

#include <array>

namespace pelidore {

class CGlobalHotkeys {
public:
    // The WM_HOTKEY ids, one per action.
    enum Action : int { kRecord = 1, kPause = 2, kSnapshot = 3 };
    static constexpr int kActionCount = 3;

    // Whether each action's combination is registered; an action set to
    // "none" counts as registered (nothing was refused).
    using Registered = std::array<bool, kActionCount>;

    CGlobalHotkeys() = default;
    ~CGlobalHotkeys();
    CGlobalHotkeys(const CGlobalHotkeys&) = delete;
    CGlobalHotkeys& operator=(const CGlobalHotkeys&) = delete;

    // Replaces whatever was registered for `window` with the options' hotkeys.
    Registered Apply(HWND window, const Options& options);
    void UnregisterAll();

    static bool IsAction(WPARAM id) { return id >= kRecord && id <= kSnapshot; }

private:
    static CHotkey HotkeyOf(const Options& options, Action action);

    HWND m_Window = nullptr;
    std::array<bool, kActionCount> m_Held = {};
};

} // namespace pelidore
