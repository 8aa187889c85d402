#pragma once

#include "toolkit/CNBitmap.h"
#include "toolkit/NWindows.h"

class CNScreen;

// The picture a tool window draws first: loaded from the program's pictures,
// painted under everything else, and put back under a part that is redrawn
// on its own (the panel's read-outs).
class CWindowBackground {
public:
    // E_FAIL (with one log line naming window) when the picture is missing.
    HRESULT Load(UINT resourceId, const char* window);
    // Clears the surface and draws the picture at the origin.
    void Paint(CNScreen& screen) const;
    // Clears area and draws the picture's part under it.
    void Restore(CNScreen& screen, const RECT& area) const;

private:
    CNBitmap m_Picture;
};
