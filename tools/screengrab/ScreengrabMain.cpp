// screengrab X Y WIDTH HEIGHT FILE
// Exit codes: 0 written, 1 failed, 2 wrong usage.
#include "CNBitmap.h"
#include "CNGdiplus.h"
#include "CNScreenDC.h"
#include "NWindows.h"

#include <cstdio>
#include <cwchar>

namespace pelidore {

namespace {

bool ParseInt(const wchar_t* text, long minimum, long maximum, int& value)
{
    wchar_t* end = nullptr;
    const long number = std::wcstol(text, &end, 10);
    if (end == text || *end != L'\0' || number < minimum || number > maximum)
        return false;
    value = static_cast<int>(number);
    return true;
}

int Grab(int x, int y, int width, int height, const wchar_t* file)
{
    CNGdiplus gdiplus;
    if (!gdiplus.IsStarted())
        return 1;
    const CNScreenDC screen;
    if (!screen)
        return 1;
    CNBitmap picture;
    const HRESULT grabbed = picture.CreateFromDC(screen.Get(), x, y, width, height);
    if (FAILED(grabbed) || FAILED(picture.SavePng(file))) {
        std::fwprintf(stderr, L"screengrab: cannot write %ls\n", file);
        return 1;
    }
    return 0;
}

} // namespace

} // namespace pelidore

using namespace pelidore;

int wmain(int argc, wchar_t** argv)
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    if (argc != 6 || !ParseInt(argv[1], -32768, 32767, x) || !ParseInt(argv[2], -32768, 32767, y) ||
        !ParseInt(argv[3], 1, CNBitmap::kMaxSide, width) || !ParseInt(argv[4], 1, CNBitmap::kMaxSide, height)) {
        std::fwprintf(stderr, L"usage: screengrab X Y WIDTH HEIGHT FILE\n");
        return 2;
    }
    return Grab(x, y, width, height, argv[5]);
}
