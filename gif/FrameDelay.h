// Frame delays: seconds of playback time to the GIF's hundredths. Portable.
#pragma once

#include <cmath>

namespace pelidore {

// A GIF delay is the duration x 100, truncated toward zero; clamped to the
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

// Each delay truncated alone makes a recording play fast (about
// 5 % at 10 frames per second, 11 % at 15 or 30). DelayClock carries the
// truncated remainder into the next frame: the sum of the delays stays within
// one hundredth of the recorded duration, and every single delay is its
// truncated value or one more (0.5 s is still 50, 3 s still 300).
class DelayClock {
public:
    void Reset()
    {
        m_Elapsed = 0.0;
        m_Emitted = 0;
    }

    int Next(float seconds)
    {
        const int truncated = DelayToCentiseconds(seconds);
        if (seconds > 0.0f) {
            m_Elapsed += static_cast<double>(seconds);
        }
        const double due = std::floor(m_Elapsed * 100.0) - static_cast<double>(m_Emitted);
        int delay = truncated;
        if (due >= static_cast<double>(truncated) + 1.0) {
            delay = truncated + 1;
        }
        if (delay > 65535) {
            delay = 65535;
        }
        m_Emitted += delay;
        return delay;
    }

    // Hundredths handed out so far.
    long long Emitted() const { return m_Emitted; }

private:
    double m_Elapsed = 0.0;
    long long m_Emitted = 0;
};

} // namespace pelidore
