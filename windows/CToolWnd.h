#pragma once

#include "CNBitmap.h"
#include "CNSubWindow.h"
#include "NWindows.h"
#include "ToolWindowMetrics.h"

namespace pelidore {

class CNAlphaButton;
class CNCombo;
class CNControlBase;

// What the program's tool windows (setup, logo, ...) share: a layered popup
// owned by the main window, 377 layout units wide unless a window asks for
// another width, dragged by its top strip, shown
// at a point and hidden on its close button or a close message, and a combo
// whose open list receives the window's mouse input.
//
// All of it runs on the UI thread; the queries of the derived windows too.
class CToolWnd : public CNSubWindow {
public:
    static constexpr int kWidth = ToolWindowMetrics::kWidth;
    static constexpr int kCaptionHeight = ToolWindowMetrics::kCaptionHeight;

    static constexpr int kCloseButtonId = 0;

    CToolWnd(int height, UINT backgroundId, int width = kWidth);
    ~CToolWnd() override;

    // Places the window's top-left at (x, y) in screen coordinates at its
    // size, shows it and repaints.
    virtual void ShowAt(int x, int y);
    virtual void Hide();
    bool IsShown() const;
    int GetHeight() const { return m_Height; }
    int GetWidth() const { return m_Width; }

    // The child control with this id, or null; for the owner's tests and tools.
    CNControlBase* FindControl(int id) const;

    // Clears the surface, draws the background picture and DrawDecorations,
    // then the controls, and presents.
    void Draw() override;

protected:
    // Loads the background picture and adds the close button (id 0, at the
    // top right); derived windows call it first in OnCreate.
    HRESULT CreateFrame(CNAlphaButton& closeButton);
    // Only the background picture, for windows without a close button.
    HRESULT LoadBackground();
    // A picture button of `kind` (CNButton::Kind), added to the window.
    HRESULT AddButton(CNAlphaButton& button, int id, const RECT& place, UINT normalId, UINT pressedId, int kind);
    // A labelled check box 16 pixels high.
    HRESULT AddCheckBox(CNAlphaButton& box, int id, int x, int y, int width, const wchar_t* label);
    // A combo 20 pixels high with its drop button `dropX` from its left edge,
    // list entries itemWidth x 15. images: closed, open, hover.
    HRESULT AddCombo(CNCombo& combo, int id, int x, int y, int width, const UINT (&images)[3], int dropX,
                     int itemWidth);
    // What the window draws over its background, under the controls.
    virtual void DrawDecorations();

    // Registers paint, close and hit test handling; derived
    // windows call it from OnCreate and add their own handlers.
    HRESULT AddToolHandlers();
    // While set, mouse input goes to `target` alone (an open combo list).
    void SetMouseTarget(CNControlBase* target) { m_MouseTarget = target; }
    CNControlBase* GetMouseTarget() const { return m_MouseTarget; }
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Posts a PWM_COMMAND to the main window; a failure is logged.
    void PostToOwner(unsigned int command, LPARAM argument = 0) const;

    // Drag strip: inside the window's width, at most kCaptionHeight from the
    // top, and not on a control (the close button sits in the strip).
    bool IsCaptionPoint(int x, int y) const;

private:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    static bool IsForwardedMouseMessage(UINT message);
    HWND Owner() const;

    int m_Height;
    int m_Width;
    UINT m_BackgroundId;
    CNBitmap m_Background;
    CNControlBase* m_MouseTarget = nullptr;
};

} // namespace pelidore
