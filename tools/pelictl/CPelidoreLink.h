#pragma once
// The connection from a script to a running Pelidore: its frame window,
// found by class and title, driven by posted command messages and asked for
// its state with a sent query.
#include "NWindows.h"

#include <functional>

namespace pelidore {

class CPelidoreLink {
public:
    static constexpr unsigned kPollMs = 20;

    // Waits until a frame window exists and answers the state query.
    bool WaitForFrame(unsigned timeoutMs);
    bool QueryState(unsigned& state) const;
    bool Post(unsigned command, long long argument) const;
    // Asks the frame to close, then waits until its process has ended.
    bool CloseAndWait(unsigned timeoutMs) const;
    // Polls the state until accept returns true; lastState holds the last
    // answer. False on time-out or when the frame stops answering.
    bool WaitForState(const std::function<bool(unsigned)>& accept, unsigned timeoutMs, unsigned& lastState) const;

private:
    HWND m_Frame = nullptr;
};

} // namespace pelidore
