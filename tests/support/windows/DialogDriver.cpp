#include "DialogDriver.h"

#include <cwchar>

namespace pelidore {

namespace {

BOOL CALLBACK TakeDialog(HWND window, LPARAM found)
{
    wchar_t className[16] = {};
    if (IsWindowVisible(window) && GetClassNameW(window, className, 16) > 0 && wcscmp(className, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

DialogDriver::DialogDriver(DWORD dialogThread, Action act, DWORD timeoutMs)
    : m_Thread(&DialogDriver::Run, this, dialogThread, std::move(act), timeoutMs)
{
}

DialogDriver::~DialogDriver()
{
    if (m_Thread.joinable())
        m_Thread.join();
}

HWND DialogDriver::FindDialogOf(DWORD thread)
{
    HWND found = nullptr;
    EnumThreadWindows(thread, TakeDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void DialogDriver::PressButton(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void DialogDriver::Run(DWORD dialogThread, Action act, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND dialog = FindDialogOf(dialogThread);
        if (dialog != nullptr) {
            // Let the dialog finish its WM_INITDIALOG work before it is driven.
            Sleep(300);
            m_Found = true;
            act(dialog);
            return;
        }
        Sleep(50);
    }
}

} // namespace pelidore
