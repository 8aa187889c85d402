#include "QColorQuantizer.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace pelidore {

// The described algorithm keeps every inner node in one list sorted by
// (level, pixel count) and, after each count increment, walks the node
// forward past its equals, so a node always sits at the end of its
// (level, count) group. Its place is therefore fixed by three numbers:
// level, count, and the moment it entered that group, which is the moment of
// its last increment (a new node is incremented in the insertion that
// creates it). The list order is (level, count, time of last increment), and
// the only question ever asked of it is "which is the first node", when a
// reduction is due. So here:
//   - an increment is just count += n and stamp = the insertion's tick;
//   - each level 1..6 keeps a min-heap of (count, stamp) entries; counts only
//     grow, so an entry's key is never above its node's true key, and a top
//     entry whose key is still its node's true key is the true first node.
//     Stale tops are re-pushed with their true key, dead ones dropped;
//   - the first node of the whole list is the first of the lowest level that
//     has reducible nodes (levels never interleave); the root (level 7) is
//     always last and is never reduced.
// A run of identical pixels goes in as one insertion when no reduction can
// follow its first pixel (the tree is below its limit even with a new leaf),
// else as its first pixel, the reduction, and one insertion for the rest: no
// leaf is added then, so no reduction happens, and every node on the path
// ends in the group of its final count at the end, as the pixel-by-pixel
// walk would leave it. Nodes come from a per-quantizer pool.

struct alignas(64) QColorQuantizer::Node {
    std::int32_t child[8];
    std::uint64_t stamp;      // tick of the last increment
    std::uint32_t count;      // pixels through this node; a leaf's palette index at the end
    std::uint32_t generation; // bumped when the node is freed (pool reuse)
    std::uint8_t level;
    bool leaf;
    bool inList; // an inner node in the reducible list
};

struct QColorQuantizer::Entry {
    std::uint64_t stamp;
    std::uint32_t count;
    std::int32_t node;
    std::uint32_t generation;
};

namespace {

inline unsigned ChildIndex(std::uint8_t r, std::uint8_t g, std::uint8_t b, unsigned level)
{
    return (((r >> level) & 1u) << 2) | (((g >> level) & 1u) << 1) | ((b >> level) & 1u);
}

// std::push_heap and pop_heap keep the greatest on top; "greater" puts the
// smallest (count, stamp) there.
struct Later {
    template <class E>
    bool operator()(const E& a, const E& b) const
    {
        return a.count != b.count ? a.count > b.count : a.stamp > b.stamp;
    }
};

} // namespace

QColorQuantizer::QColorQuantizer() = default;

QColorQuantizer::~QColorQuantizer() = default;

void QColorQuantizer::Reset()
{
    m_Nodes.clear();
    m_Sums.clear();
    m_FreeNodes.clear();
    for (int i = 0; i < 8; ++i) {
        m_Heaps[i].clear();
        m_InList[i] = 0;
    }
    m_Clock = 0;
    m_LeafCount = 0;
    m_Root = NewNode(7);
}

std::int32_t QColorQuantizer::NewNode(unsigned level)
{
    std::int32_t id;
    std::uint32_t generation = 0;
    if (!m_FreeNodes.empty()) {
        id = m_FreeNodes.back();
        m_FreeNodes.pop_back();
        generation = m_Nodes[static_cast<std::size_t>(id)].generation;
    } else {
        id = static_cast<std::int32_t>(m_Nodes.size());
        m_Nodes.emplace_back();
        m_Sums.emplace_back();
    }
    Node& n = m_Nodes[static_cast<std::size_t>(id)];
    for (auto& c : n.child) {
        c = -1;
    }
    n.stamp = 0;
    n.count = 0;
    n.generation = generation;
    n.level = static_cast<std::uint8_t>(level);
    n.leaf = level == 0;
    n.inList = false;
    m_Sums[static_cast<std::size_t>(id)] = Sums{0, 0, 0};
    return id;
}

void QColorQuantizer::FreeNode(std::int32_t node)
{
    Node& n = m_Nodes[static_cast<std::size_t>(node)];
    ++n.generation;
    if (n.inList) {
        n.inList = false;
        --m_InList[n.level];
    }
    m_FreeNodes.push_back(node);
}

void QColorQuantizer::InsertColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint32_t times)
{
    const std::uint64_t tick = ++m_Clock;
    std::int32_t node = m_Root;
    Node* n = &m_Nodes[static_cast<std::size_t>(node)];
    for (;;) {
        n->count += times;
        n->stamp = tick;
        if (n->leaf) {
            Sums& sum = m_Sums[static_cast<std::size_t>(node)];
            sum.red += static_cast<std::uint64_t>(r) * times;
            sum.green += static_cast<std::uint64_t>(g) * times;
            sum.blue += static_cast<std::uint64_t>(b) * times;
            return;
        }
        const unsigned level = n->level;
        const unsigned index = ChildIndex(r, g, b, level);
        std::int32_t child = n->child[index];
        if (child == -1) {
            child = NewNode(level - 1);
            m_Nodes[static_cast<std::size_t>(node)].child[index] = child;
            Node& c = m_Nodes[static_cast<std::size_t>(child)];
            if (level - 1 == 0) {
                ++m_LeafCount;
            } else {
                // Into the list; its entry already carries the count and tick
                // the descent below gives it.
                c.inList = true;
                ++m_InList[level - 1];
                auto& heap = m_Heaps[level - 1];
                heap.push_back(Entry{tick, times, child, c.generation});
                std::push_heap(heap.begin(), heap.end(), Later());
            }
        }
        node = child;
        n = &m_Nodes[static_cast<std::size_t>(node)];
    }
}

std::int32_t QColorQuantizer::TakeFirst(unsigned level)
{
    auto& heap = m_Heaps[level];
    while (!heap.empty()) {
        std::pop_heap(heap.begin(), heap.end(), Later());
        const Entry e = heap.back();
        heap.pop_back();
        Node& n = m_Nodes[static_cast<std::size_t>(e.node)];
        if (n.generation != e.generation || !n.inList) {
            continue; // freed or reduced since
        }
        if (n.count == e.count && n.stamp == e.stamp) {
            n.inList = false;
            --m_InList[level];
            return e.node;
        }
        heap.push_back(Entry{n.stamp, n.count, e.node, n.generation});
        std::push_heap(heap.begin(), heap.end(), Later());
    }
    return -1;
}

void QColorQuantizer::DeleteSubtree(std::int32_t node)
{
    for (int i = 0; i < 8; ++i) {
        const std::int32_t c = m_Nodes[static_cast<std::size_t>(node)].child[i];
        if (c != -1) {
            DeleteSubtree(c);
        }
    }
    FreeNode(node);
}

void QColorQuantizer::ReduceWhileOverLimit()
{
    while (m_LeafCount > m_Limit) {
        unsigned level = 1;
        while (level < 7 && m_InList[level] == 0) {
            ++level;
        }
        if (level == 7) {
            return; // only the root is left in the list
        }
        const std::int32_t first = TakeFirst(level);
        if (first == -1) {
            return; // cannot happen: m_InList counts the heap's live entries
        }
        if (m_Log != nullptr) {
            m_Log->push_back({level, m_Nodes[static_cast<std::size_t>(first)].count});
        }
        for (int i = 0; i < 8; ++i) {
            const std::int32_t c = m_Nodes[static_cast<std::size_t>(first)].child[i];
            if (c == -1) {
                continue;
            }
            Sums& n = m_Sums[static_cast<std::size_t>(first)];
            const Sums& k = m_Sums[static_cast<std::size_t>(c)];
            n.red += k.red;
            n.green += k.green;
            n.blue += k.blue;
            DeleteSubtree(c);
            m_Nodes[static_cast<std::size_t>(first)].child[i] = -1;
            --m_LeafCount;
        }
        m_Nodes[static_cast<std::size_t>(first)].leaf = true;
        ++m_LeafCount;
    }
}

std::int32_t QColorQuantizer::FindLeaf(std::uint8_t r, std::uint8_t g, std::uint8_t b) const
{
    std::int32_t node = m_Root;
    for (;;) {
        const Node& n = m_Nodes[static_cast<std::size_t>(node)];
        const std::int32_t c = n.child[ChildIndex(r, g, b, n.level)];
        if (c == -1) {
            return -1; // cannot happen for an inserted colour
        }
        if (m_Nodes[static_cast<std::size_t>(c)].leaf) {
            return c;
        }
        node = c;
    }
}
bool QColorQuantizer::Quantize(int width, int height, const std::uint8_t* pixels, std::uint8_t* indices,
                               GifColorType* colorMap, int maxColors, std::uint8_t* transparentIndex, bool transparency,
                               int* colorsUsed)
{
    if (maxColors < 8 || maxColors > 256 || width <= 0 || height <= 0 || pixels == nullptr || indices == nullptr ||
        colorMap == nullptr || transparentIndex == nullptr) {
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    Reset();
    m_Limit = static_cast<unsigned>(transparency ? maxColors - 1 : maxColors);

    // 1-2: insert every pixel; a run of one colour as its first pixel
    // (with the reduction) and then the rest in one step.
    std::size_t i = 0;
    while (i < count) {
        const std::uint8_t* p = pixels + i * 3;
        const std::uint8_t b = p[0];
        const std::uint8_t g = p[1];
        const std::uint8_t r = p[2];
        std::size_t j = i + 1;
        const std::uint8_t* q = p + 3;
        while (j < count && q[0] == b && q[1] == g && q[2] == r) {
            ++j;
            q += 3;
        }
        std::size_t rest = j - i;
        if (m_LeafCount < m_Limit) {
            // Even a new leaf cannot bring the tree over its limit, so no
            // reduction can follow the run's first pixel: the whole run is
            // one step.
            const std::uint32_t step = rest > 0x40000000u ? 0x40000000u : static_cast<std::uint32_t>(rest);
            InsertColor(r, g, b, step);
            rest -= step;
        } else {
            InsertColor(r, g, b, 1);
            ReduceWhileOverLimit();
            rest -= 1;
        }
        while (rest > 0) {
            const std::uint32_t step = rest > 0x40000000u ? 0x40000000u : static_cast<std::uint32_t>(rest);
            InsertColor(r, g, b, step);
            rest -= step;
        }
        i = j;
    }
    // 3: the key colour once more, without a reduction.
    if (transparency) {
        InsertColor(255, 0, 255, 1);
    }

    // 4: palette, depth first, children in index order.
    std::memset(colorMap, 0, sizeof(GifColorType) * 256);
    int next = 0;
    std::int32_t stack[8 * 8];
    int top = 0;
    stack[top++] = m_Root;
    while (top > 0) {
        const std::int32_t node = stack[--top];
        Node& n = m_Nodes[static_cast<std::size_t>(node)];
        if (n.leaf) {
            if (next < 256 && n.count != 0) {
                const Sums& sum = m_Sums[static_cast<std::size_t>(node)];
                colorMap[next].Red = static_cast<GifByteType>(sum.red / n.count);
                colorMap[next].Green = static_cast<GifByteType>(sum.green / n.count);
                colorMap[next].Blue = static_cast<GifByteType>(sum.blue / n.count);
            }
            n.count = static_cast<std::uint32_t>(next);
            ++next;
            continue;
        }
        for (int c = 7; c >= 0; --c) {
            if (n.child[c] != -1) {
                stack[top++] = n.child[c];
            }
        }
    }
    if (colorsUsed != nullptr) {
        *colorsUsed = next;
    }

    // 5: the transparent index.
    *transparentIndex = 0;
    if (transparency) {
        const std::int32_t leaf = FindLeaf(255, 0, 255);
        *transparentIndex = static_cast<std::uint8_t>(m_Nodes[static_cast<std::size_t>(leaf)].count);
    }

    // 6: mapping. The node reached through bits 7..3 of a colour is kept in
    // a table keyed by those bits, so most pixels need one or two steps.
    if (m_Table.size() != kTableSize) {
        m_Table.resize(kTableSize);
    }
    std::fill(m_Table.begin(), m_Table.end(), -1);
    std::uint32_t lastKey = 0xFFFFFFFFu;
    std::uint8_t lastIndex = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint8_t* p = pixels + k * 3;
        const std::uint32_t key = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                  (static_cast<std::uint32_t>(p[2]) << 16);
        if (key != lastKey) {
            const std::uint8_t b = p[0];
            const std::uint8_t g = p[1];
            const std::uint8_t r = p[2];
            const std::size_t slot = (static_cast<std::size_t>(r >> 3) << 10) |
                                     (static_cast<std::size_t>(g >> 3) << 5) | static_cast<std::size_t>(b >> 3);
            std::int32_t node = m_Table[slot];
            if (node == -1) {
                node = m_Root;
                while (!m_Nodes[static_cast<std::size_t>(node)].leaf &&
                       m_Nodes[static_cast<std::size_t>(node)].level >= 3) {
                    const Node& n = m_Nodes[static_cast<std::size_t>(node)];
                    node = n.child[ChildIndex(r, g, b, n.level)];
                }
                m_Table[slot] = node;
            }
            while (!m_Nodes[static_cast<std::size_t>(node)].leaf) {
                const Node& n = m_Nodes[static_cast<std::size_t>(node)];
                node = n.child[ChildIndex(r, g, b, n.level)];
            }
            lastIndex = static_cast<std::uint8_t>(m_Nodes[static_cast<std::size_t>(node)].count);
            lastKey = key;
        }
        indices[k] = lastIndex;
    }
    return true;
}

} // namespace pelidore
