#include "CFrameScaler.h"

#include <algorithm>
#include <cstddef>

namespace pelidore {

int CFrameScaler::ScaledLength(int length, int percent)
{
    const int clamped = std::clamp(percent, 1, 100);
    const long long scaled = (static_cast<long long>(length) * clamped + 50) / 100;
    return static_cast<int>(std::max(1LL, scaled));
}

CFrameScaler::CFrameScaler(int width, int height, int percent)
    : m_Width(width), m_Height(height), m_OutWidth(ScaledLength(width, percent)),
      m_OutHeight(ScaledLength(height, percent)), m_Columns(Edges(width, m_OutWidth)),
      m_Rows(Edges(height, m_OutHeight)), m_Sums(static_cast<std::size_t>(m_OutWidth) * 3),
      m_Out(static_cast<std::size_t>(m_OutWidth) * static_cast<std::size_t>(m_OutHeight) * 3)
{
}

std::vector<int> CFrameScaler::Edges(int from, int to)
{
    std::vector<int> edges(static_cast<std::size_t>(to) + 1);
    for (int i = 0; i <= to; ++i)
        edges[static_cast<std::size_t>(i)] = static_cast<int>(static_cast<long long>(i) * from / to);
    return edges;
}

const std::uint8_t* CFrameScaler::Scale(const std::uint8_t* bgr)
{
    const std::size_t stride = static_cast<std::size_t>(m_Width) * 3;
    for (int y = 0; y < m_OutHeight; ++y) {
        std::fill(m_Sums.begin(), m_Sums.end(), 0u);
        const int top = m_Rows[static_cast<std::size_t>(y)];
        const int bottom = m_Rows[static_cast<std::size_t>(y) + 1];
        for (int sy = top; sy < bottom; ++sy) {
            const std::uint8_t* row = bgr + static_cast<std::size_t>(sy) * stride;
            for (int x = 0; x < m_OutWidth; ++x) {
                std::uint32_t* sum = &m_Sums[static_cast<std::size_t>(x) * 3];
                for (int sx = m_Columns[static_cast<std::size_t>(x)]; sx < m_Columns[static_cast<std::size_t>(x) + 1];
                     ++sx) {
                    const std::uint8_t* pixel = row + static_cast<std::size_t>(sx) * 3;
                    sum[0] += pixel[0];
                    sum[1] += pixel[1];
                    sum[2] += pixel[2];
                }
            }
        }
        std::uint8_t* out = &m_Out[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_OutWidth) * 3];
        for (int x = 0; x < m_OutWidth; ++x) {
            const std::uint32_t count = static_cast<std::uint32_t>(bottom - top) *
                                        static_cast<std::uint32_t>(m_Columns[static_cast<std::size_t>(x) + 1] -
                                                                   m_Columns[static_cast<std::size_t>(x)]);
            for (int c = 0; c < 3; ++c)
                out[x * 3 + c] =
                    static_cast<std::uint8_t>((m_Sums[static_cast<std::size_t>(x) * 3 + c] + count / 2) / count);
        }
    }
    return m_Out.data();
}

} // namespace pelidore
