#pragma once

#include "CNScale.h"
#include "NWindows.h"

#include <string>

namespace pelidore {

class CReviewWnd;

// The gallery's pages of the Review window over a recording of synthetic
// frames (a square moving over a gradient, 60 frames at 0.1 s): as it opens,
// trimmed by its marks, with a range selected for Delete after an earlier
// delete, and asking whether to discard. The window is drawn at the
// gallery's scale, as on a monitor of that scale.
class GalleryReviewShots {
public:
    GalleryReviewShots(std::wstring folder, const CNScale& scale);

    // Writes the four window_review*.png pages; returns how many could not be written.
    int WriteAll();

private:
    enum Look : int { kOpened, kTrimmed, kSelecting, kDiscarding };

    HRESULT Write(Look look, const wchar_t* caption, const wchar_t* name);
    void TakeScale(CReviewWnd& window) const;
    // A press, a drag and a release on the timeline from frame `from` to `to`.
    void DragAcross(CReviewWnd& window, int from, int to) const;
    void SendMouse(HWND window, UINT message, WPARAM keys, int x, int y) const;

    std::wstring m_Folder;
    CNScale m_Scale;
};

} // namespace pelidore
