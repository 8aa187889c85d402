#pragma once

#include "CNBitmap.h"
#include "CNColor.h"
#include "CNMessageMap.h"
#include "CNRect.h"
#include "CNSavedRect.h"
#include "NWindows.h"

#include <cstdint>

namespace pelidore {

class CNScreen;

// Base of the windowless controls. A control lives in its owner window's
// child list, draws itself into the owner's CNScreen and sees every message
// of the owner window. Its rectangle, its drawing and the mouse positions it
// is handed are layout units (the pixels at 100 %): the surface and the
// owner window turn them into the monitor's pixels. It tells the owner about changes by posting messages
// with its id as wParam and itself as lParam.
//
// Contract with CNWindowBase:
//  - ProcessMessage: called for every message of the owner window, last added
//    control first; its result is ignored by the owner.
//  - Draw(mode): kDrawFull = full draw into the owner's surface (the pixels
//    under the control are saved first), kDrawUpdate = put the saved pixels
//    back, redraw, then post NWM_CONTROL_UPDATE to the owner.
//  - Release: frees what the control holds (ReleaseChildren calls it).
//  - GetId: unique among the owner's children.
//  - GetRect: the control's rectangle in window coordinates.
class CNControlBase : public CNMessageMap {
public:
    enum : int { kDrawFull = 0, kDrawUpdate = 1 };
    static constexpr int kTextChars = 260;     // text buffer, terminator included
    static constexpr UINT kHoverDelayMs = 500; // resting time before NWM_HOVER
    static constexpr int32_t kUnset = -1;      // value of the four per-class words after Create

    CNControlBase();
    ~CNControlBase() override;

    // Stores owner, surface, id and rectangle, enables the control, clears
    // its text and hover state, presets the four per-class values to kUnset
    // and returns OnCreate's result.
    HRESULT Create(HWND owner, CNScreen* screen, int id, int x, int y, int width, int height, int visible);

    // Message entry: nothing unless visible and enabled; then the hover
    // logic, OnMessage, and (if that returned 0) the control's handler map.
    LRESULT ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // OnRelease, then the handler map, the saved background and the hover timer go.
    virtual void Release();
    // A negative width or height keeps the current one; then OnMove.
    virtual void SetRect(int x, int y, int width, int height);
    // See the contract above.
    virtual void Draw(int mode);

    int GetId() const { return m_ID; }
    CNRect GetRect() const { return CNRect{m_X, m_Y, m_Width, m_Height}; }
    HWND GetOwner() const { return m_Owner; }
    CNScreen* GetScreen() const { return m_Screen; }

    // Strictly inside: a point on the left or top edge (or beyond the right
    // or bottom one) is outside.
    bool HitTest(int x, int y) const;

    // Hiding or disabling also drops a pending hover report and any press or
    // hover look (through OnActivate); the owner repaints.
    void Show(bool visible);
    void Enable(bool enabled);
    bool IsVisible() const { return m_Visible != 0; }
    bool IsEnabled() const { return m_Enabled != 0; }

    // Up to kTextChars - 1 characters; longer texts are cut.
    virtual void SetText(const wchar_t* text);
    const wchar_t* GetText() const { return m_Text; }

    // Report NWM_HOVER after the pointer rested kHoverDelayMs inside, and
    // NWM_HOVER_END when it leaves after that.
    void SetHoverNotify(bool notify);
    bool IsHoverReported() const { return m_HoverReported != 0; }
    // Also keep the pixels under the control as a CNBitmap at each full draw.
    void SetKeepBackgroundBitmap(bool keep) { m_BackgroundBitmap = keep ? 1 : 0; }
    const CNBitmap& GetBackgroundBitmap() const { return m_Background; }

    // Keyboard focus among the owner's controls (OnFocus carries it to the class).
    void SetFocused(bool focused);
    bool IsFocused() const { return m_Focused != 0; }

    // The class word: set by the class's OnCreate (2 for buttons and sliders).
    int GetStateWord() const { return m_StateWord; }

protected:
    // What the class draws; Draw has saved or restored the background first.
    virtual void OnDraw();
    // Registers handlers and sets the class's state; its result is Create's.
    virtual HRESULT OnCreate();
    // Frees what the class holds (pictures, child controls).
    virtual void OnRelease();
    // Non-zero stops the message before the handler map.
    virtual LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The class hooks: focus, selection and activation changes.
    virtual void OnFocus(int focused);
    virtual void OnSelect(int index);
    virtual void OnActivate(int active);
    // The control's rectangle changed.
    virtual void OnMove(int x, int y, int width, int height);

    // Redraw in update mode (posts NWM_CONTROL_UPDATE).
    void Redraw() { Draw(kDrawUpdate); }
    // Posts message to the owner with this control's id and address.
    void Notify(UINT message) const;
    // Posts message to the owner with a wParam of the class's choice and this control.
    void NotifyWith(UINT message, WPARAM wParam) const;
    // The pointer in the owner's layout units.
    bool CursorInOwner(POINT& point) const;
    // A point in screen pixels (the wheel's) to the owner's layout units.
    bool ScreenToLayout(POINT& point) const;

    static int PointX(LPARAM lParam) { return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))); }
    static int PointY(LPARAM lParam) { return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam))); }
    bool HitTestLParam(LPARAM lParam) const { return HitTest(PointX(lParam), PointY(lParam)); }
    // Blends a solid colour over a rectangle of the owner's surface; nothing
    // for a transparent colour, an empty rectangle or a control without surface.
    void FillColor(const CNColor& color, int x, int y, int width, int height) const;
    void FillColor(const CNColor& color, const CNRect& rect) const
    {
        FillColor(color, rect.x, rect.y, rect.width, rect.height);
    }

    HWND m_Owner = nullptr;
    CNScreen* m_Screen = nullptr;
    int m_ID = 0;
    int m_StateWord = 0;
    int m_Visible = 0;
    int m_Enabled = 0;
    int m_Focused = 0;
    int m_X = 0;
    int m_Y = 0;
    int m_Width = 0;
    int m_Height = 0;
    int m_Reserved = 0;
    wchar_t m_Text[kTextChars] = {};
    int m_HoverNotify = 0;
    int m_HoverTimer = 0;
    int m_HoverReported = 0;
    int32_t m_Value[4] = {kUnset, kUnset, kUnset, kUnset};
    int m_BackgroundBitmap = 0;
    CNBitmap m_Background;
    CNSavedRect m_SavedBackground;

private:
    // Sets a visible or enabled flag; the control is active while both are set.
    void SetActivityFlag(int& flag, bool value, int otherFlag);
    void RunHoverLogic(UINT message, WPARAM wParam, LPARAM lParam);
    void StartHoverTimer();
    void CancelHover();
    void OnHoverTimer();
    UINT_PTR HoverTimerId() const { return reinterpret_cast<UINT_PTR>(this); }
    void SaveBackground();
    void KeepBackgroundBitmap();
    void FreeBackground();
};

} // namespace pelidore
