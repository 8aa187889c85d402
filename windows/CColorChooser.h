#pragma once

#include "NWindows.h"

namespace pelidore {

// The system colour dialog, opened fully, placed near the button that asked
// for it.
class CColorChooser {
public:
    // Modal, owned by `owner`; the dialog's top-left lands a third of its
    // width left of and a third of its height above `anchor` (screen
    // coordinates), kept on the anchor's monitor. On OK stores the choice in
    // `rgb` and returns true; Cancel leaves it and returns false.
    static bool Choose(HWND owner, POINT anchor, COLORREF& rgb);

    // Where the dialog's top-left goes for a dialog of `size` and `anchor`,
    // before it is kept inside `workArea`.
    static POINT PlaceDialog(POINT anchor, SIZE size, const RECT& workArea);

    // The hook ChooseColorW calls; acts on WM_INITDIALOG only. lCustData of
    // the CHOOSECOLORW must point to the anchor POINT.
    static UINT_PTR CALLBACK HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static RECT WorkAreaAt(POINT point);
};

} // namespace pelidore
