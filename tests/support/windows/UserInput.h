#pragma once

#include "CNRect.h"
#include "NWindows.h"

#include <functional>
#include <thread>

namespace pelidore {

// Mouse and keyboard input as the system would queue it, and a message pump
// for the test thread.
class UserInput {
public:
    // A press and release of the left button at the centre of rect (client
    // coordinates of window).
    static void Click(HWND window, const CNRect& rect);
    static void Key(HWND window, WPARAM key);
    static void Char(HWND window, wchar_t c);
    // Dispatches this thread's messages until done() holds or timeoutMs has
    // passed; returns done(). WM_QUIT is left in the queue, reported by quit.
    static bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000, bool* quit = nullptr);
    // Dispatches what is queued now.
    static void Pump();
    // Removes a queued WM_QUIT; true when there was one.
    static bool TakeQuit();
};

// Plays the user inside a modal window: a helper thread waits until window is
// shown and enabled, then runs act (which posts input to it). If the window
// never shows, act is not run.
class ModalDriver {
public:
    ModalDriver(HWND window, std::function<void(HWND)> act, DWORD timeoutMs = 5000);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

private:
    std::thread m_Thread;
};

} // namespace pelidore
