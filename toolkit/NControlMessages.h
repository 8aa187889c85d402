#pragma once

#include "NWindows.h"

namespace pelidore {

// Notices that controls post to their owner window. Unless said otherwise
// wParam is the control's id and lParam the control (CNControlBase*).

// CNButton, push kind: the left button went down inside.
constexpr UINT NWM_BUTTON_PRESSED = 5201;
// CNButton: clicked (released inside after a press, or toggled).
constexpr UINT NWM_BUTTON_CLICKED = 5202;
// CNButton, push kind: the press ended, by a release or by the pointer
// leaving; once per NWM_BUTTON_PRESSED.
constexpr UINT NWM_BUTTON_RELEASED = 5203;

// CNEdit: the user changed the text.
constexpr UINT NWM_EDIT_CHANGED = 5301;
// CNEdit: Enter was pressed in a single-line field.
constexpr UINT NWM_EDIT_RETURN = 5302;

// CNSliderControl: the left button was released after a drag that changed the position.
constexpr UINT NWM_SLIDER_RELEASED = 5401;
// CNSliderControl: the position changed (on the press and on every move of a drag).
constexpr UINT NWM_SLIDER_CHANGED = 5402;

// CNScrollBar: the position changed.
constexpr UINT NWM_SCROLL_CHANGED = 5501;

// CNIconList: the user selected an icon.
constexpr UINT NWM_ICON_SELECTED = 5601;

// CNListBox: the user picked an entry.
constexpr UINT NWM_LIST_SELECTED = 5701;

// CNCombo: the user chose another entry.
constexpr UINT NWM_COMBO_SELECTED = 5801;
// CNCombo: its list opened (wParam 1) or closed (wParam 0); lParam the combo.
// The owner tells its combos apart by lParam.
constexpr UINT NWM_COMBO_DROPDOWN = 5802;
// CNCombo to itself through the owner: paint the open list over the other
// controls after a full redraw of the window. lParam the combo.
constexpr UINT NWM_COMBO_OVERLAY = 5803;

// CNHotkeyEdit: a pressed combination replaced the field's hotkey.
constexpr UINT NWM_HOTKEY_CHANGED = 6001;
// CNHotkeyEdit: it began (wParam 1) or stopped (wParam 0) listening for a
// combination; lParam the field. While it listens, keys that are global
// hotkeys would never reach it: the owner lets go of them meanwhile.
constexpr UINT NWM_HOTKEY_LISTENING = 6002;

} // namespace pelidore
