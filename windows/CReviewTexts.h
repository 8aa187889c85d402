#pragma once

#include "CNFont.h"
#include "NWindows.h"

#include <string>

namespace pelidore {

class CKeptFrames;
class CNScreen;

// The Review window's words over its background: where the current frame
// stands and what the marks keep, the bottom row's hint (a note, the
// selection, or how to select), the tag on a frame that will not be in the
// GIF, and the discard question. Placed by ReviewWindowLayout. UI thread only.
class CReviewTexts {
public:
    HRESULT Create();

    void DrawReadouts(CNScreen& screen, const CKeptFrames& frames, int frame) const;
    // The tag for `frame` when it is deleted or outside the marks.
    void DrawTag(CNScreen& screen, const CKeptFrames& frames, int frame) const;
    void DrawUnreadable(CNScreen& screen) const;
    // A note wins over the selection; first -1 is no selection.
    void DrawHint(CNScreen& screen, const std::wstring& note, int first, int last) const;
    void DrawQuestion(CNScreen& screen) const;

private:
    void DrawTagText(CNScreen& screen, const wchar_t* text) const;

    CNFont m_Font;
    CNFont m_Bold;
};

} // namespace pelidore
