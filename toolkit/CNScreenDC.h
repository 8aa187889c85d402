#pragma once

#include "NWindows.h"

namespace pelidore {

// The screen's device context (GetDC of no window), released on every path.
// Test it before use: GetDC fails when the desktop is gone.
class CNScreenDC {
public:
    CNScreenDC() : m_DC(GetDC(nullptr)) {}
    ~CNScreenDC()
    {
        if (m_DC)
            ReleaseDC(nullptr, m_DC);
    }
    CNScreenDC(const CNScreenDC&) = delete;
    CNScreenDC& operator=(const CNScreenDC&) = delete;

    HDC Get() const { return m_DC; }
    explicit operator bool() const { return m_DC != nullptr; }

private:
    HDC m_DC;
};

} // namespace pelidore
