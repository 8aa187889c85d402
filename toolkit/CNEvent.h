#pragma once

#include "NWindows.h"

namespace pelidore {

// An auto-reset event that one thread sleeps on and others wake; closed on
// every path. Test it before use: CreateEvent can fail.
class CNEvent {
public:
    CNEvent() : m_Event(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~CNEvent()
    {
        if (m_Event)
            CloseHandle(m_Event);
    }
    CNEvent(const CNEvent&) = delete;
    CNEvent& operator=(const CNEvent&) = delete;

    explicit operator bool() const { return m_Event != nullptr; }
    void Set() const
    {
        if (m_Event)
            SetEvent(m_Event);
    }
    // True when woken, false when the time ran out (or there is no event).
    bool Wait(DWORD milliseconds) const
    {
        return m_Event && WaitForSingleObject(m_Event, milliseconds) == WAIT_OBJECT_0;
    }

private:
    HANDLE m_Event;
};

} // namespace pelidore
