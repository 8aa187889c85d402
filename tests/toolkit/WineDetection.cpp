#include "tests/toolkit/WineDetection.h"

#include "toolkit/NWindows.h"

bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
