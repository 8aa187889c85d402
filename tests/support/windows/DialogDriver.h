#pragma once

#include "NWindows.h"

#include <atomic>
#include <functional>
#include <thread>

namespace pelidore {

// Plays the user for a modal system dialog: a helper thread waits until the
// thread under test shows a dialog window (#32770), hands it to `act` (which
// runs on the helper thread and usually ends with a posted IDOK or IDCANCEL)
// and gives up after the time-out, cancelling whatever it found.
class DialogDriver {
public:
    using Action = std::function<void(HWND dialog)>;

    DialogDriver(DWORD dialogThread, Action act, DWORD timeoutMs = 10000);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool FoundDialog() const { return m_Found.load(); }

    static HWND FindDialogOf(DWORD thread);
    // Clicks a dialog's button the way the keyboard would.
    static void PressButton(HWND dialog, int id);

private:
    void Run(DWORD dialogThread, Action act, DWORD timeoutMs);

    std::atomic<bool> m_Found{false};
    std::thread m_Thread;
};

} // namespace pelidore
