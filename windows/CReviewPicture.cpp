#include "CReviewPicture.h"

#include "CNScreen.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace pelidore {

void CReviewPicture::SetSource(FrameSource source, int width, int height)
{
    Forget();
    m_Source = std::move(source);
    m_FrameSize = {width, height};
}

void CReviewPicture::Forget()
{
    m_Source = nullptr;
    m_FrameSize = {};
    m_Shown = -1;
    m_ShownSize = {};
    m_Pixels.clear();
    m_Pixels.shrink_to_fit();
}

bool CReviewPicture::Draw(CNScreen& screen, const RECT& box, int frame)
{
    if (!screen.IsReady())
        return false;
    // The box in the surface's pixels: the frame is fitted to those.
    const CNScale& scale = screen.Scale();
    const int left = scale.ToPixels(static_cast<int>(box.left));
    const int top = scale.ToPixels(static_cast<int>(box.top));
    const CFrameScaler::Size room = {scale.ToPixels(static_cast<int>(box.right)) - left,
                                     scale.ToPixels(static_cast<int>(box.bottom)) - top};
    const CFrameScaler::Size size = CFrameScaler::Fit(m_FrameSize, room);
    if (size.width == 0 || !Prepare(frame, size))
        return false;
    Copy(screen, m_Pixels, size, left + (room.width - size.width) / 2, top + (room.height - size.height) / 2);
    return true;
}

bool CReviewPicture::Prepare(int frame, CFrameScaler::Size size)
{
    if (frame == m_Shown && size == m_ShownSize)
        return true;
    m_Shown = -1;
    const std::uint8_t* bgr = m_Source ? m_Source(frame) : nullptr;
    m_Pixels = CFrameScaler::Scale(bgr, m_FrameSize, size);
    if (m_Pixels.empty())
        return false;
    m_Shown = frame;
    m_ShownSize = size;
    return true;
}

// Opaque pixels straight into the surface's buffer (bottom-up rows), clipped
// to it: no GDI+ round trip for a picture that only needs copying.
void CReviewPicture::Copy(CNScreen& screen, const std::vector<std::uint32_t>& pixels, CFrameScaler::Size size, int left,
                          int top)
{
    GdiFlush();
    const int from = std::max(0, -left);
    const int to = std::min(size.width, screen.Width() - left);
    if (from >= to)
        return;
    std::uint32_t* buffer = screen.Pixels();
    for (int row = 0; row < size.height; ++row) {
        const int y = top + row;
        if (y < 0 || y >= screen.Height())
            continue;
        std::uint32_t* line = buffer + static_cast<std::size_t>(screen.Height() - 1 - y) * screen.Width();
        const std::uint32_t* source = pixels.data() + static_cast<std::size_t>(row) * size.width;
        std::memcpy(line + left + from, source + from, static_cast<std::size_t>(to - from) * sizeof(std::uint32_t));
    }
}

} // namespace pelidore
