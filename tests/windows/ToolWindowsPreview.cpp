// Shows the Setup and Logo windows side by side until closed or for a given
// number of seconds, for looking at them (and taking screenshots) before the
// main window exists:
//   ToolWindowsPreview.exe <settings folder> [seconds] [text|image|list]
// "text" and "image" click the logo kind boxes, "list" opens the quality list.
#include "CLogoWnd.h"
#include "CNGdiplus.h"
#include "CSetupWnd.h"
#include "NWindows.h"

#include <cwchar>
#include <cwctype>
#include <string>

namespace pelidore {

namespace {

constexpr UINT_PTR kQuitTimer = 1;

void ClickAt(HWND window, int x, int y)
{
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

} // namespace

} // namespace pelidore

using namespace pelidore;

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        fwprintf(stderr, L"usage: ToolWindowsPreview <settings folder> [seconds] [text|image|list]\n");
        return 2;
    }
    const int seconds = argc > 2 ? _wtoi(argv[2]) : 0;
    const std::wstring kind = argc > 3 ? argv[3] : L"";

    CNGdiplus gdiplus;
    if (!gdiplus.IsStarted())
        return 1;
    HWND owner = CreateWindowExW(0, L"STATIC", L"Pelidore", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    CSetupWnd setup;
    CLogoWnd logo;
    setup.SetSettingsFolder(argv[1]);
    logo.SetSettingsFolder(argv[1]);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (FAILED(setup.Create(instance, owner, L"Pelidore - Setup", WS_EX_LAYERED, WS_POPUP, 40, 40, CSetupWnd::kWidth,
                            CSetupWnd::kHeight, 0)) ||
        FAILED(logo.Create(instance, owner, L"Pelidore - Logo", WS_EX_LAYERED, WS_POPUP, 440, 40, CLogoWnd::kWidth,
                           CLogoWnd::kHeight, 0)))
        return 1;
    setup.ShowAt(40, 40);
    logo.ShowAt(440, 40);
    if (kind == L"text")
        ClickAt(logo.GetHwnd(), 30, 49);
    else if (kind == L"image")
        ClickAt(logo.GetHwnd(), 30, 140);
    else if (kind == L"list")
        ClickAt(setup.GetHwnd(), 100, 160);
    if (seconds > 0)
        SetTimer(nullptr, kQuitTimer, static_cast<UINT>(seconds) * 1000, nullptr);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr)
            break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
        if (!setup.IsShown() && !logo.IsShown())
            break;
    }
    DestroyWindow(owner);
    return 0;
}
