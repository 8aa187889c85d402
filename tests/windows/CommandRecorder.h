#pragma once

#include "NWindows.h"

#include <atomic>
#include <vector>

namespace pelidore {

// A plain window standing in for the recording frame: it owns the tool
// windows under test and records the PWM_COMMAND messages they post.
class CommandRecorder {
public:
    struct Command {
        WPARAM command;
        LPARAM argument;
        bool operator==(const Command& other) const { return command == other.command && argument == other.argument; }
    };

    CommandRecorder();
    ~CommandRecorder();
    CommandRecorder(const CommandRecorder&) = delete;
    CommandRecorder& operator=(const CommandRecorder&) = delete;

    HWND Window() const { return m_Window; }
    // UI thread only.
    const std::vector<Command>& Commands() const { return m_Commands; }
    void Clear() { m_Commands.clear(); }
    // Any thread.
    int Count() const { return m_Count.load(); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_Window = nullptr;
    std::vector<Command> m_Commands;
    std::atomic<int> m_Count{0};
};

} // namespace pelidore
