#pragma once

#include "NWindows.h"

namespace pelidore {

// Window messages private to the toolkit. Controls post them to their owner
// window with wParam = control id and lParam = the control (CNControlBase*),
// except NWM_RECT_UPDATE and NWM_REDRAW.

// Push the rectangle of the control in lParam from the window's surface to the screen.
constexpr UINT NWM_CONTROL_UPDATE = 5101;
// Push the CNRect that lParam points to; wParam 1 means the receiver deletes it
// afterwards (it must then have been allocated with new CNRect), 0 leaves it.
constexpr UINT NWM_RECT_UPDATE = 5102;
// Redraw the whole window (CNWindowBase::Draw). wParam and lParam unused.
constexpr UINT NWM_REDRAW = 5103;
// The mouse rested 500 ms on a hover-enabled control.
constexpr UINT NWM_HOVER = 5901;
// The mouse left a control that had reported NWM_HOVER.
constexpr UINT NWM_HOVER_END = 5902;

// wParam of NWM_RECT_UPDATE.
constexpr WPARAM NWM_RECT_KEEP = 0;
constexpr WPARAM NWM_RECT_DELETE = 1;

} // namespace pelidore
