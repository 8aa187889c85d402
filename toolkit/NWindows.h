#pragma once
// The one place that pulls in the Windows and GDI+ headers. Everything in the
// toolkit (and every Windows-only file of the program) includes this header
// instead of <windows.h> or <gdiplus.h>, so the settings below are the same in
// every translation unit.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif

#include <windows.h>
// WIN32_LEAN_AND_MEAN drops the COM interfaces (IStream) that gdiplus.h needs.
#include <objidl.h>

#include <algorithm>

// With NOMINMAX the GDI+ headers no longer find the min/max macros they use
// unqualified; hand them the standard functions instead.
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus

#include <gdiplus.h>

namespace pelidore {

// DrawText is a Win32 macro (DrawTextW); CNScreen has an operation of that name.
// Call the Win32 function as DrawTextW where it is needed.
#ifdef DrawText
#undef DrawText
#endif

} // namespace pelidore
