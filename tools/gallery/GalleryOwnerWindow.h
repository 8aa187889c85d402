#pragma once

#include "NWindows.h"

namespace pelidore {

// Stands in for the recording frame, which owns every tool window the
// gallery draws.
class GalleryOwnerWindow {
public:
    GalleryOwnerWindow()
        : m_Window(CreateWindowExW(0, L"STATIC", L"Pelidore", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr))
    {
    }
    ~GalleryOwnerWindow()
    {
        if (m_Window)
            DestroyWindow(m_Window);
    }
    GalleryOwnerWindow(const GalleryOwnerWindow&) = delete;
    GalleryOwnerWindow& operator=(const GalleryOwnerWindow&) = delete;
    HWND Get() const { return m_Window; }

private:
    HWND m_Window;
};

} // namespace pelidore
