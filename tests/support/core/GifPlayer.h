// Plays a decoded GIF back as a viewer does: each image drawn over the
// picture before it (its transparent pixels keeping that picture, parts off
// the screen clipped), the disposal method of the image before honoured
// (2: its rectangle cleared to black, 3: the picture before it restored).
// Pictures are in the frame layout (blue, green, red, bottom row first), so
// they compare directly with recorded frames.
#pragma once

#include "GifTestUtil.h"

#include <cstdint>
#include <vector>

namespace pelidore {

namespace giftest {

class GifPlayer {
public:
    explicit GifPlayer(const DecodedGif& gif);

    // Shows the next image; false after the last one.
    bool Next();
    // The image shown now (-1 before the first Next).
    int Index() const { return m_Index; }
    // When it appeared, in hundredths of a second from the start.
    long long Start() const { return m_Start; }
    const std::vector<std::uint8_t>& Picture() const { return m_Picture; }

    // Moves on to the image on screen at `centiseconds` (the last one whose
    // start is not later); never moves back.
    void SeekTo(long long centiseconds);

private:
    void Dispose();
    void Draw(const DecodedFrame& frame);

    const DecodedGif& m_Gif;
    int m_Index = -1;
    long long m_Start = 0;
    std::vector<std::uint8_t> m_Picture;
    std::vector<std::uint8_t> m_Saved; // for disposal method 3
};

// Every picture of a GIF in order (small GIFs: tests).
std::vector<std::vector<std::uint8_t>> PlayAll(const DecodedGif& gif);

} // namespace giftest

} // namespace pelidore
