#pragma once

#include "CNFont.h"
#include "CNSubWindow.h"
#include "ScreenRect.h"

#include <string>

namespace pelidore {

// A small label naming what the control under the pointer does: a layered
// popup drawn with the toolkit that never takes the mouse, the keyboard or
// the activation, owned by the window whose control it names. Placed by
// CLabelPlacement on the work area of the control's monitor. UI thread only.
class CLabelWnd : public CNSubWindow {
public:
    static constexpr const wchar_t* kTitle = L"Pelidore - Label";
    static constexpr int kHeight = 22;
    static constexpr int kPaddingX = 9;

    CLabelWnd();
    ~CLabelWnd() override;

    HRESULT CreateHidden(HINSTANCE instance, HWND owner);
    // Sized to the text, placed beside `control` (screen pixels), drawn and shown.
    void ShowFor(const ScreenRect& control, const std::wstring& text);
    void Hide();
    bool IsShown() const;
    const std::wstring& Text() const { return m_Text; }

    void Draw() override;

protected:
    HRESULT OnCreate() override;

private:
    int WidthFor(const std::wstring& text);
    static ScreenRect WorkAreaOf(const ScreenRect& control);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);

    CNFont m_Font;
    std::wstring m_Text;
};

} // namespace pelidore
