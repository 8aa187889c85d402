#pragma once

#include "toolkit/CNWindowBase.h"

#include <atomic>

namespace pelidore {

// The program's one top-level window: class and title "Pelidore", a layered,
// topmost popup of 640 x 360 pixels. Only one can exist at a time (the class
// registration of a second one fails). While it exists, Instance() returns it
// and controls and resources load images with its module instance.
class CNTopWindow : public CNWindowBase {
public:
    static constexpr const wchar_t* kClassName = L"Pelidore";
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 360;

    CNTopWindow();
    ~CNTopWindow() override;

    // Uses only instance, x and y; the other arguments are ignored.
    HRESULT Create(HINSTANCE instance, HWND parent, const wchar_t* className, DWORD exStyle, DWORD style, int x, int y,
                   int width, int height, int show) override;
    HRESULT Create(HINSTANCE instance, int x, int y);

    // The top window, or null before one is created / after it is gone.
    static CNTopWindow* Instance();
    // The top window's module instance; the program's own module when there
    // is no top window (so resources still load in tools and tests).
    static HINSTANCE ModuleInstance();

    // Set to 1000 by Create; read by the application.
    int m_TopValue = 0;

private:
    // Read by any thread that loads resources; written by the UI thread.
    static std::atomic<CNTopWindow*> s_Instance;
    bool m_OwnsClass = false;
};

} // namespace pelidore
