#include "GifPlayer.h"

namespace pelidore {

namespace giftest {

namespace {

int DisposalOf(const DecodedFrame& frame)
{
    return frame.packed < 0 ? 0 : (frame.packed >> 2) & 7;
}

bool HasTransparency(const DecodedFrame& frame)
{
    return frame.packed >= 0 && (frame.packed & 1) != 0;
}

} // namespace

GifPlayer::GifPlayer(const DecodedGif& gif)
    : m_Gif(gif), m_Picture(static_cast<std::size_t>(gif.width) * static_cast<std::size_t>(gif.height) * 3u, 0)
{
}

bool GifPlayer::Next()
{
    if (m_Index + 1 >= static_cast<int>(m_Gif.frames.size())) {
        return false;
    }
    if (m_Index >= 0) {
        m_Start += m_Gif.frames[static_cast<std::size_t>(m_Index)].delay < 0
                       ? 0
                       : m_Gif.frames[static_cast<std::size_t>(m_Index)].delay;
        Dispose();
    }
    ++m_Index;
    const DecodedFrame& frame = m_Gif.frames[static_cast<std::size_t>(m_Index)];
    if (DisposalOf(frame) == 3) {
        m_Saved = m_Picture;
    }
    Draw(frame);
    return true;
}

void GifPlayer::SeekTo(long long centiseconds)
{
    if (m_Index < 0) {
        Next();
    }
    while (m_Index + 1 < static_cast<int>(m_Gif.frames.size())) {
        const int delay = m_Gif.frames[static_cast<std::size_t>(m_Index)].delay;
        if (m_Start + (delay < 0 ? 0 : delay) > centiseconds) {
            return;
        }
        Next();
    }
}

void GifPlayer::Dispose()
{
    const DecodedFrame& frame = m_Gif.frames[static_cast<std::size_t>(m_Index)];
    const int disposal = DisposalOf(frame);
    if (disposal == 3) {
        m_Picture = m_Saved;
        return;
    }
    if (disposal != 2) {
        return;
    }
    for (int y = frame.top; y < frame.top + frame.height && y < m_Gif.height; ++y) {
        for (int x = frame.left; x < frame.left + frame.width && x < m_Gif.width; ++x) {
            const std::size_t at = (static_cast<std::size_t>(m_Gif.height - 1 - y) * m_Gif.width + x) * 3u;
            m_Picture[at] = m_Picture[at + 1] = m_Picture[at + 2] = 0;
        }
    }
}

void GifPlayer::Draw(const DecodedFrame& frame)
{
    const bool transparent = HasTransparency(frame);
    for (int r = 0; r < frame.height; ++r) {
        const int y = frame.top + r;
        if (y >= m_Gif.height) {
            break;
        }
        for (int c = 0; c < frame.width; ++c) {
            const int x = frame.left + c;
            if (x >= m_Gif.width) {
                break;
            }
            const int index = frame.indices[static_cast<std::size_t>(r) * frame.width + c];
            if ((transparent && index == frame.transparentIndex) || index >= frame.colorCount) {
                continue;
            }
            const GifColorType& color = frame.colors[static_cast<std::size_t>(index)];
            const std::size_t at = (static_cast<std::size_t>(m_Gif.height - 1 - y) * m_Gif.width + x) * 3u;
            m_Picture[at] = color.Blue;
            m_Picture[at + 1] = color.Green;
            m_Picture[at + 2] = color.Red;
        }
    }
}

std::vector<std::vector<std::uint8_t>> PlayAll(const DecodedGif& gif)
{
    std::vector<std::vector<std::uint8_t>> pictures;
    GifPlayer player(gif);
    while (player.Next()) {
        pictures.push_back(player.Picture());
    }
    return pictures;
}

} // namespace giftest

} // namespace pelidore
