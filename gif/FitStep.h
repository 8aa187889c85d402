// How far a GIF that must fit a size gives way: the share of frames kept
// (the rest dropped, their time given to the frame kept before them) and the
// scale of the picture. Portable.
#pragma once

namespace pelidore {

struct FitStep {
    double keepRatio = 1.0; // 0 < keepRatio <= 1
    int scalePercent = 100; // 1..100

    bool IsFullRecording() const { return keepRatio >= 1.0 && scalePercent >= 100; }
};

} // namespace pelidore
