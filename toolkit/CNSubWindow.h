#pragma once

#include "CNWindowBase.h"

namespace pelidore {

// Any other toolkit window (tool windows, dialogs). Several sub-windows may
// share one class name.
class CNSubWindow : public CNWindowBase {
public:
    CNSubWindow();
    ~CNSubWindow() override;

    HRESULT Create(HINSTANCE instance, HWND parent, const wchar_t* className, DWORD exStyle, DWORD style, int x, int y,
                   int width, int height, int show) override;
};

} // namespace pelidore
