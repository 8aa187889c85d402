#pragma once
// The Review window's texts: where the current frame stands, what the marks
// keep and what is selected. Frames are numbered from 1 here, as the user
// and scripts count them.
//
// Portable; plain functions of the numbers they are given.
#include <string>

namespace pelidore {

class CReviewReadout {
public:
    // "Frame 12 of 60".
    static std::wstring FrameText(int frame, int frameCount);
    // Seconds with two decimals: "3.40 s"; negative times read as zero.
    static std::wstring SecondsText(double seconds);
    // "Keeping 42 frames, 4.20 s" ("1 frame" for one).
    static std::wstring KeptText(int keptCount, double keptSeconds);
    // "Frames 5 to 12 selected", "Frame 5 selected".
    static std::wstring SelectionText(int first, int last);
};

} // namespace pelidore
