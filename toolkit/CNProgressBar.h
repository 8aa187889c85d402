#pragma once

#include "CNSliderControl.h"

namespace pelidore {

// Shows a position from 0 to a maximum as a filled part of a bar: the fill
// picture (or the accent colour) cut at position / maximum over the
// background picture (or a dark track). It takes no mouse input.
class CNProgressBar : public CNSliderControl {
public:
    CNProgressBar();
    ~CNProgressBar() override;

    // Background and fill pictures; 0 draws that part in the theme's colours.
    HRESULT SetBarImages(UINT backgroundId, UINT fillId);

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;

private:
    void DrawFill();
};

} // namespace pelidore
