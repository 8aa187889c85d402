#pragma once

#include <cstddef>
#include <vector>

namespace pelidore {

// How a row (or column) of `from` pixels is resized to `to` pixels by area:
// each new pixel covers from / to of the old ones, and takes each old pixel
// it covers by the share of it that it covers; the shares of one new pixel
// add up to 1. The taps of new pixel i are First(i) .. First(i + 1) - 1.
// Portable; the picture scaler and the Review window's frame reduction
// share it.
class CNAreaTaps {
public:
    // from and to must be positive.
    CNAreaTaps(int from, int to);

    std::size_t First(int pixel) const { return m_First[static_cast<std::size_t>(pixel)]; }
    int Source(std::size_t tap) const { return m_Source[tap]; }
    float Share(std::size_t tap) const { return m_Share[tap]; }

private:
    std::vector<std::size_t> m_First;
    std::vector<int> m_Source;
    std::vector<float> m_Share;
};

} // namespace pelidore
