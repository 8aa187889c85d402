// Frame delays: seconds of playback time to the GIF's hundredths. Portable.
#pragma once

#include <cmath>

// Part 2.3: the duration x 100, truncated toward zero; clamped to the
// graphic control block's 0..65535 (a negative or NaN duration gives 0).
inline int DelayToCentiseconds(float seconds)
{
    const double hundredths = static_cast<double>(seconds) * 100.0;
    if (!(hundredths > 0.0)) {
        return 0;
    }
    if (hundredths >= 65535.0) {
        return 65535;
    }
    return static_cast<int>(hundredths);
}
