#pragma once

#include "CNMessageMap.h"
#include "CNScreen.h"
#include "NWindows.h"

#include <list>

namespace pelidore {

class CNControlBase;

// A Win32 window as an object. Every message of the window goes, in order, to
// OnMessage, then (if OnMessage returned 0) to every child control from the
// last added to the first, then through the built-in reactions (WM_SIZE,
// mouse tracking, NWM_CONTROL_UPDATE, NWM_RECT_UPDATE, NWM_REDRAW), then (if
// OnMessage returned 0) to the handler map, and finally to DefWindowProcW
// unless OnMessage or a handler returned non-zero.
//
// The window owns its surface m_Screen; child controls draw into it. It does
// not own the controls' memory: ReleaseChildren releases them, their owner
// deletes them. Destroying the object destroys a still existing window.
class CNWindowBase : public CNMessageMap {
public:
    CNWindowBase();
    ~CNWindowBase() override;

    // Registers the window class className (its name is also the title),
    // creates the window with this object as creation parameter, shows it if
    // show is non-zero, binds m_Screen (layered when exStyle has
    // WS_EX_LAYERED) and returns OnCreate's result; E_FAIL on any failure.
    virtual HRESULT Create(HINSTANCE instance, HWND parent, const wchar_t* className, DWORD exStyle, DWORD style, int x,
                           int y, int width, int height, int show);
    // First look at every message; non-zero suppresses the children and the
    // handler map (not the built-in reactions) and is returned as the result.
    virtual LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Draws every child (mode 0, in order of addition), then presents m_Screen.
    virtual void Draw();
    // Called at the end of Create, after m_Screen is ready: add controls and
    // register handlers here. Its result is Create's result.
    virtual HRESULT OnCreate();
    // Spare hooks for derived windows; the toolkit never calls them.
    virtual void OnHook();
    virtual int OnHookValue(int value);
    // Called by Move after the window has moved.
    virtual void OnMove(int x, int y, int width, int height);

    // The dispatch explained above; called by the window procedure.
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Appends a control; a control whose id is already in the list is refused
    // (E_FAIL, one log line) and the list stays as it was. 0 on success.
    HRESULT AddChild(CNControlBase* control);
    // Calls Release on every child, first to last, then empties the list.
    void ReleaseChildren();
    // MoveWindow; a changed size rebuilds m_Screen's buffer. Returns MoveWindow's result.
    BOOL Move(int x, int y, int width, int height, BOOL repaint);
    // Destroys the window (if any) and releases its DC. Safe to call twice.
    void Destroy();

    HWND GetHwnd() const { return m_Window; }
    HINSTANCE GetInstance() const { return m_Instance; }
    HDC GetWindowDC() const { return m_Dc; }
    CNScreen* GetScreen() { return &m_Screen; }
    const std::list<CNControlBase*>& GetChildren() const { return m_Children; }
    bool IsTrackingMouse() const { return m_Tracking != 0; }

    // The procedure every toolkit window class is registered with.
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Class registration with the toolkit's class settings. An existing class
    // of that name counts as success only when allowExisting is set.
    static HRESULT RegisterWindowClass(HINSTANCE instance, const wchar_t* className, bool allowExisting,
                                       const char* logName);
    // Create after the registration, up to (not including) OnCreate: the
    // window, showing it, the DC and m_Screen. 0 or E_FAIL with a log line.
    HRESULT CreateRegistered(HINSTANCE instance, HWND parent, const wchar_t* className, DWORD exStyle, DWORD style,
                             int x, int y, int width, int height, bool show, const char* logName);
    // For destructors: cuts the window off from this object first (no message
    // reaches a half-destroyed object), then destroys it.
    void DestroyDetached();

    HWND m_Window = nullptr;
    HINSTANCE m_Instance = nullptr;
    HDC m_Dc = nullptr;
    CNScreen m_Screen;
    std::list<CNControlBase*> m_Children;
    int m_Tracking = 0;

private:
    void RunBuiltInReactions(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OfferToChildren(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ArmMouseTracking(HWND window);
    void PresentControl(WPARAM id, LPARAM control);
    void PresentRectMessage(WPARAM wParam, LPARAM rect);
    void ForgetWindow();
};

} // namespace pelidore
