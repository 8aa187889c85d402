#include "CNAreaTaps.h"

#include <algorithm>
#include <cmath>

namespace pelidore {

CNAreaTaps::CNAreaTaps(int from, int to)
{
    m_First.reserve(static_cast<std::size_t>(std::max(to, 0)) + 1);
    const double span = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        m_First.push_back(m_Source.size());
        const double start = i * span;
        const double end = start + span;
        const int last = std::min(from, static_cast<int>(std::ceil(end)));
        for (int source = static_cast<int>(start); source < last; ++source) {
            const double covered = std::min(end, source + 1.0) - std::max(start, static_cast<double>(source));
            if (covered <= 0.0)
                continue;
            m_Source.push_back(source);
            m_Share.push_back(static_cast<float>(covered / span));
        }
    }
    m_First.push_back(m_Source.size());
}

} // namespace pelidore
