#include "CPictureChooser.h"

#include <commdlg.h>

#include <cwchar>

namespace pelidore {

const wchar_t* CPictureChooser::Filter()
{
    return L"Picture file(BMP, PNG, JPG)\0*.bmp;*.png;*.jpg\0"
           L"BMP file\0*.bmp\0"
           L"PNG file\0*.png\0"
           L"JPG file\0*.jpg\0";
}

bool CPictureChooser::Choose(HWND owner, wchar_t (&path)[MAX_PATH])
{
    wchar_t file[kBufferChars] = {};
    wcsncpy(file, path, MAX_PATH - 1);

    OPENFILENAMEW info = {};
    info.lStructSize = sizeof(info);
    info.hwndOwner = owner;
    info.lpstrFilter = Filter();
    info.nFilterIndex = 1;
    info.lpstrFile = file;
    info.nMaxFile = kBufferChars;
    info.lpstrTitle = kTitle;
    info.Flags = OFN_EXPLORER;
    if (!GetOpenFileNameW(&info))
        return false;
    // The picture path is kept in 260 units; a longer one would be cut into
    // a path naming some other file.
    const size_t length = wcsnlen(file, kBufferChars);
    if (length == 0 || length >= MAX_PATH)
        return false;
    wcsncpy(path, file, MAX_PATH - 1);
    path[MAX_PATH - 1] = 0;
    return true;
}

} // namespace pelidore
