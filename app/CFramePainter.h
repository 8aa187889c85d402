#pragma once
// What the recording frame draws on its own surface: the dashed border, the
// corner and centre marks of an idle frame and the countdown digits. None of
// it is ever recorded: the marks leave before a grab, the countdown digits
// before the first one, and the border lies outside the region.
#include "CNBitmap.h"
#include "CNFont.h"
#include "CNScreen.h"
#include "NWindows.h"
#include "ScreenRect.h"

namespace pelidore {

class CFramePainter {
public:
    // What the frame is doing, as far as its look goes.
    struct Look {
        bool saving = false;   // the frame shows nothing but the save window
        bool showMarks = true; // idle, no snapshot under way, no countdown
        int countdown = 0;     // seconds left to show, 0: none
        int borderPhase = 0;
    };

    HRESULT LoadMarks(HINSTANCE instance);
    void Draw(CNScreen& screen, PixelSize window, const Look& look);

private:
    enum Mark { kCentreMark, kTopLeftMark, kBottomLeftMark, kTopRightMark, kBottomRightMark, kMarkCount };

    void DrawMarks(CNScreen& screen, PixelSize window);
    void DrawCountdown(CNScreen& screen, PixelSize window, int seconds);

    CNBitmap m_Marks[kMarkCount];
    CNFont m_CountdownFont;
    int m_CountdownHeight = 0;
};

} // namespace pelidore
