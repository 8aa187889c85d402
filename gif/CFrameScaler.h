// Shrinks 24-bit frames by averaging the source pixels each target pixel
// covers: text and edges stay legible where picking every n-th pixel would
// tear them. Portable.
#pragma once

#include <cstdint>
#include <vector>

namespace pelidore {

class CFrameScaler {
public:
    // The size a side of `length` pixels has at `percent` (1..100), at least 1.
    static int ScaledLength(int length, int percent);

    // Prepares for frames of width x height scaled to percent.
    CFrameScaler(int width, int height, int percent);

    int OutWidth() const { return m_OutWidth; }
    int OutHeight() const { return m_OutHeight; }

    // bgr: width x height x 3 bytes; rows in any order, kept as they are.
    // Returns OutWidth() x OutHeight() x 3 bytes, valid until the next call.
    const std::uint8_t* Scale(const std::uint8_t* bgr);

private:
    // For each target column (row), the first source column (row) it covers;
    // one more entry ends the last.
    static std::vector<int> Edges(int from, int to);

    int m_Width;
    int m_Height;
    int m_OutWidth;
    int m_OutHeight;
    std::vector<int> m_Columns;
    std::vector<int> m_Rows;
    std::vector<std::uint32_t> m_Sums;
    std::vector<std::uint8_t> m_Out;
};

} // namespace pelidore
