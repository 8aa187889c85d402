#include "CFolderChooser.h"

#include <objbase.h>
#include <shlobj.h>

#include <cwchar>

namespace pelidore {

namespace {

// The new-style dialog needs a single-threaded apartment on the calling
// thread; undo only what was done here.
class CApartment {
public:
    CApartment() : m_Initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~CApartment()
    {
        if (m_Initialised)
            CoUninitialize();
    }
    CApartment(const CApartment&) = delete;
    CApartment& operator=(const CApartment&) = delete;

private:
    bool m_Initialised;
};

} // namespace

bool CFolderChooser::Choose(HWND owner, wchar_t (&folder)[MAX_PATH])
{
    CApartment apartment;
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = kTitle;
    info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_EDITBOX; // 0x50

    PIDLIST_ABSOLUTE picked = SHBrowseForFolderW(&info);
    if (picked == nullptr)
        return false;
    wchar_t path[MAX_PATH] = {};
    const bool hasPath = SHGetPathFromIDListW(picked, path) != FALSE && path[0] != 0;
    CoTaskMemFree(picked);
    if (!hasPath)
        return false;
    wcsncpy(folder, path, MAX_PATH - 1);
    folder[MAX_PATH - 1] = 0;
    return true;
}

} // namespace pelidore
