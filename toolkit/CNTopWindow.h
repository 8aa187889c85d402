#pragma once

#include "CNWindowBase.h"

#include <atomic>
#include <string>

namespace pelidore {

// The program's one top-level window: a layered, topmost popup whose class
// name is also its title; the application names it and gives its size. Only
// one can exist at a time (the class registration of a second one fails).
// While it exists, Instance() returns it and controls and resources load
// images with its module instance.
class CNTopWindow : public CNWindowBase {
public:
    CNTopWindow();
    ~CNTopWindow() override;

    // Uses instance, className, the place and the size; parent, styles and
    // show are those of a top window whatever is passed.
    HRESULT Create(HINSTANCE instance, HWND parent, const wchar_t* className, DWORD exStyle, DWORD style, int x, int y,
                   int width, int height, int show) override;
    HRESULT Create(HINSTANCE instance, const wchar_t* className, int x, int y, int width, int height);

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
    std::wstring m_ClassName; // registered by this window, unregistered with it
};

} // namespace pelidore
