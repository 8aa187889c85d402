#include "GifCanvas.h"

#include "GifBounds.h"

#include <gif_lib.h>

#include <algorithm>

namespace pelidore {

void GifCanvas::Reset(int width, int height)
{
    m_Width = width;
    m_Height = height;
    m_Pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u, 0);
}

void GifCanvas::Release()
{
    m_Width = 0;
    m_Height = 0;
    std::vector<std::uint8_t>().swap(m_Pixels);
}

const std::uint8_t* GifCanvas::At(int x, int y) const
{
    const std::size_t row = static_cast<std::size_t>(m_Height - 1 - y);
    return m_Pixels.data() + (row * static_cast<std::size_t>(m_Width) + static_cast<std::size_t>(x)) * 3u;
}

void GifCanvas::Draw(const GifRect& rect, const std::uint8_t* topRow, std::ptrdiff_t rowStep,
                     const GifColorType* colors, int transparentIndex)
{
    for (int r = 0; r < rect.height; ++r) {
        const std::uint8_t* indices = topRow + static_cast<std::ptrdiff_t>(r) * rowStep;
        std::uint8_t* out = const_cast<std::uint8_t*>(At(rect.left, rect.top + r));
        for (int c = 0; c < rect.width; ++c, out += 3) {
            const int index = indices[c];
            if (index == transparentIndex) {
                continue;
            }
            out[0] = colors[index].Blue;
            out[1] = colors[index].Green;
            out[2] = colors[index].Red;
        }
    }
}

GifRect GifCanvas::ChangedBounds(const std::uint8_t* indices, const GifColorType* colors, int transparentIndex) const
{
    GifBounds bounds;
    for (int y = 0; y < m_Height; ++y) {
        const std::size_t row = static_cast<std::size_t>(m_Height - 1 - y) * static_cast<std::size_t>(m_Width);
        const std::uint8_t* shown = m_Pixels.data() + row * 3u;
        for (int x = 0; x < m_Width; ++x, shown += 3) {
            const int index = indices[row + static_cast<std::size_t>(x)];
            if (index == transparentIndex) {
                continue;
            }
            const GifColorType& c = colors[index];
            if (c.Blue != shown[0] || c.Green != shown[1] || c.Red != shown[2]) {
                bounds.Add(x, y);
            }
        }
    }
    return bounds.Rect();
}

} // namespace pelidore
