#include "CGlobalHotkeys.h"

#include "CNLog.h"

namespace pelidore {

CGlobalHotkeys::~CGlobalHotkeys()
{
    UnregisterAll();
}

CGlobalHotkeys::Registered CGlobalHotkeys::Apply(HWND window, const Options& options)
{
    UnregisterAll();
    m_Window = window;
    Registered registered = {};
    for (int index = 0; index < kActionCount; ++index) {
        const Action action = static_cast<Action>(kRecord + index);
        const CHotkey hotkey = HotkeyOf(options, action);
        if (hotkey.IsNone()) {
            registered[index] = true;
            continue;
        }
        m_Held[index] = RegisterHotKey(window, action, hotkey.RegisterModifiers(), hotkey.VirtualKey()) != FALSE;
        if (!m_Held[index])
            NLOG("CGlobalHotkeys::Apply", CNLog::kLevelRefused, "hotkey %s not registered, error %lu",
                 hotkey.Text().c_str(), GetLastError());
        registered[index] = m_Held[index];
    }
    return registered;
}

void CGlobalHotkeys::UnregisterAll()
{
    for (int index = 0; index < kActionCount; ++index) {
        if (m_Held[index])
            UnregisterHotKey(m_Window, kRecord + index);
        m_Held[index] = false;
    }
}

CHotkey CGlobalHotkeys::HotkeyOf(const Options& options, Action action)
{
    switch (action) {
    case kRecord:
        return options.recordHotkey;
    case kPause:
        return options.pauseHotkey;
    case kSnapshot:
        return options.snapshotHotkey;
    }
    return {};
}

} // namespace pelidore
