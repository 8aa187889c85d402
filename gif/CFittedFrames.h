// The frames of a GIF that must fit a size, as a FitStep shapes them: about
// keepRatio of them kept, evenly spread, the first always; a dropped frame's
// delay added to the frame kept before it, so the GIF plays exactly as long
// as the recording; each kept frame scaled. Holds back one frame, because
// its delay is known only when the next kept frame arrives. Portable.
#pragma once

#include "CFrameScaler.h"
#include "FitStep.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace pelidore {

class CFittedFrames {
public:
    using Output = std::function<void(const std::uint8_t* bgr, float delaySeconds)>;

    // Whether the frame at index (counted from 0 in recording order) is kept.
    static bool Keeps(double keepRatio, int index);

    CFittedFrames(int width, int height, const FitStep& step, Output output);

    int OutWidth() const { return m_Scaler.OutWidth(); }
    int OutHeight() const { return m_Scaler.OutHeight(); }
    int KeptFrames() const { return m_Kept; }

    // bgr: width x height x 3 bytes.
    void Push(const std::uint8_t* bgr, float delaySeconds);
    // Hands over the frame held back.
    void Finish();

private:
    FitStep m_Step;
    CFrameScaler m_Scaler;
    Output m_Output;
    std::vector<std::uint8_t> m_Held;
    float m_HeldDelay = 0.0f;
    bool m_Holding = false;
    int m_Index = 0;
    int m_Kept = 0;
};

} // namespace pelidore
