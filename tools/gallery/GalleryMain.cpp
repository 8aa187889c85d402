// Draws every window with its real controls, every control in each of its
// states and every picture into PNG files, for reviewing the look without
// clicking through the program.  Usage: gallery [folder [dpi]]   (default:
// gallery, at 96 dpi; 144 and 192 draw the windows at 150 % and 200 %)
#include "CNGdiplus.h"
#include "GalleryPages.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace pelidore;

int wmain(int argc, wchar_t** argv)
{
    std::wstring folder = argc > 1 ? argv[1] : L"gallery";
    const CNScale scale(argc > 2 ? _wtoi(argv[2]) : CNScale::kLayoutDpi);
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fwprintf(stderr, L"gallery: cannot make the folder %ls\n", folder.c_str());
        return 1;
    }
    CNGdiplus gdiplus;
    if (!gdiplus.IsStarted()) {
        std::fwprintf(stderr, L"gallery: GDI+ did not start\n");
        return 1;
    }
    int failed = GalleryPages(folder, scale).WriteAll();
    if (failed != 0) {
        std::fwprintf(stderr, L"gallery: %d pages could not be written\n", failed);
        return 1;
    }
    std::fwprintf(stdout, L"gallery: pages written to %ls\n", folder.c_str());
    return 0;
}
