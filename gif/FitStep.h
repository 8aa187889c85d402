// How far a GIF that must fit a size gives way: the share of frames kept
// (the rest dropped, their time given to the frame kept before them) and the
// scale of the picture. Portable.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace pelidore {

struct FitStep {
    static constexpr std::uint64_t kMebibyte = 1048576;

    double keepRatio = 1.0; // 0 < keepRatio <= 1
    int scalePercent = 100; // 1..100

    bool IsFullRecording() const { return keepRatio >= 1.0 && scalePercent >= 100; }

    // The frames a second kept of a recording at recordedFps, rounded; 0
    // when every frame is kept.
    int KeptFps(double recordedFps) const
    {
        if (keepRatio >= 1.0 || recordedFps <= 0.0)
            return 0;
        return static_cast<int>(std::lround(std::max(1.0, recordedFps * keepRatio)));
    }

    // What a step gives up, in words: "8 fps, 80 %", "8 fps" or "80 %";
    // empty when nothing.
    static std::wstring Describe(int keptFps, int scalePercent)
    {
        std::wstring text;
        if (keptFps > 0)
            text = std::to_wstring(keptFps) + L" fps";
        if (scalePercent > 0 && scalePercent < 100) {
            if (!text.empty())
                text += L", ";
            text += std::to_wstring(scalePercent) + L" %";
        }
        return text;
    }
};

} // namespace pelidore
