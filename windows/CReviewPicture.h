#pragma once

#include "CFrameScaler.h"
#include "NWindows.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace pelidore {

class CNScreen;

// Draws the frames of a recording onto a window's surface: fitted into a
// box and centred, never enlarged beyond the frame's own pixels (on a
// monitor at 200 % a small recording shows pixel for pixel, not blown up),
// reduced with CFrameScaler. The last frame drawn is kept at its shown size,
// so redrawing the window for the timeline or the texts costs no scaling.
// UI thread only.
class CReviewPicture {
public:
    // BGR, bottom-up rows, width * height * 3 bytes; null when the frame
    // cannot be read. Valid until the next call.
    using FrameSource = std::function<const std::uint8_t*(int frame)>;

    void SetSource(FrameSource source, int width, int height);
    void Forget();

    // Draws `frame` into box (layout units of screen). False, with nothing
    // drawn, when the frame cannot be read or the recording's size is
    // unusable.
    bool Draw(CNScreen& screen, const RECT& box, int frame);

private:
    bool Prepare(int frame, CFrameScaler::Size size);
    static void Copy(CNScreen& screen, const std::vector<std::uint32_t>& pixels, CFrameScaler::Size size, int left,
                     int top);

    FrameSource m_Source;
    CFrameScaler::Size m_FrameSize;
    // What m_Pixels hold: frame m_Shown at m_ShownSize.
    int m_Shown = -1;
    CFrameScaler::Size m_ShownSize;
    std::vector<std::uint32_t> m_Pixels;
};

} // namespace pelidore
