#pragma once
// The tests' one way of running the UI thread's queue: the windows under
// test live on the test's own thread, so nothing happens to them until the
// test dispatches.
#include "NWindows.h"

#include <functional>

namespace pelidore {

class MessagePump {
public:
    // Sees each message before it is dispatched; true keeps it from dispatch.
    using Inspect = std::function<bool(const MSG&)>;

    // Dispatches what is waiting now. Without translation a posted key stays
    // a key (no WM_CHAR follows it), as the control tests want.
    static void DispatchWaiting(bool translate = true);
    // Dispatches for `milliseconds`, resting 5 ms whenever the queue is empty.
    static void RunFor(unsigned milliseconds, const Inspect& inspect = {});
    // Dispatches until done() holds (tested after every message) or the
    // time-out. A WM_QUIT is put back for the caller and ends the wait,
    // setting *quit. The result is done()'s last answer.
    static bool RunUntil(const std::function<bool()>& done, unsigned timeoutMs, bool* quit = nullptr);
    // Dispatches until nothing has come for quietMs.
    static void RunUntilQuiet(unsigned quietMs, const Inspect& inspect = {});

private:
    static bool Dispatch(const MSG& message, const Inspect& inspect, bool translate);
};

} // namespace pelidore
