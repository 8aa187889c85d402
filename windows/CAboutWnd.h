#pragma once

#include "CNAlphaButton.h"
#include "CNFont.h"
#include "CToolWnd.h"

namespace pelidore {

// The program's name, version (from the build) and contact address.
class CAboutWnd : public CToolWnd {
public:
    static constexpr int kHeight = 180;
    static constexpr const wchar_t* kTitle = L"Pelidore - About";
    enum ControlId : int { kCloseButton = kCloseButtonId };

    CAboutWnd();
    ~CAboutWnd() override;

    // The text block as drawn, one line per entry.
    static const wchar_t* Text();

protected:
    HRESULT OnCreate() override;
    void DrawDecorations() override;

private:
    LRESULT OnButtonClicked(WPARAM wParam, LPARAM lParam);

    CNAlphaButton m_Close;
    CNFont m_Font;
};

} // namespace pelidore
