#include "QColorQuantizer.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace pelidore {

// The plain algorithm keeps every inner node in one list sorted by
// (level, pixel count) and, after each count increment, walks the node
// forward past its equals, so a node always sits at the end of its
// (level, count) group. Its place is therefore fixed by three numbers:
// level, count, and the moment it entered that group, which is the moment of
// its last increment (a new node is incremented in the insertion that
// creates it). The list order is (level, count, time of last increment), and
// the only question ever asked of it is "which is the first node", when a
// reduction is due. So here:
//   - only the leaf an insertion ends in is touched: count += n and stamp =
//     the insertion's tick. Every pixel through an inner node goes on to one
//     of its children, so an inner node's count is the sum of its children's
//     and its stamp their latest; both are worked out when a reduction asks;
//   - each level 1..6 keeps a min-heap of (count, stamp) entries; counts only
//     grow, so an entry's key is never above its node's true key, and a top
//     entry whose key is still its node's true key is the true first node.
//     Stale tops are re-pushed with their true key, dead ones dropped;
//   - the first node of the whole list is the first of the lowest level that
//     has reducible nodes (levels never interleave); the root (level 7) is
//     always last and is never reduced. Below that level every node is a
//     leaf, so a true key is a sum over at most 8 leaves.
// A run of identical pixels goes in as one insertion when no reduction can
// follow its first pixel (the colour already has its leaf, or the tree is
// below its limit even with a new leaf), else as its first pixel, the
// reduction, and one insertion for the rest: no leaf is added then, so no
// reduction happens, and every node on the path ends in the group of its
// final count at the end, as the pixel-by-pixel walk would leave it.
// A leaf stays the leaf of its colours until a reduction above it frees it,
// and a node stays where bits 7..3 of a colour lead until it is freed, so a
// small cache of colour -> leaf and a table of bits 7..3 -> node (both
// checked against the node's generation) spare most runs all or most of the
// walk down the tree. The runs are kept, and mapped to palette indices a run
// at a time. Nodes come from a per-quantizer pool.

struct alignas(64) QColorQuantizer::Node {
    std::int32_t child[8];
    std::uint64_t stamp;      // a leaf's tick of the last increment
    std::uint32_t count;      // a leaf's pixels; its palette index at the end
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

constexpr std::uint32_t kNoColor = 0xFFFFFFFFu;

inline unsigned Red(std::uint32_t color)
{
    return color >> 16;
}

inline unsigned Green(std::uint32_t color)
{
    return (color >> 8) & 0xFFu;
}

inline unsigned Blue(std::uint32_t color)
{
    return color & 0xFFu;
}

inline std::size_t PathSlot(std::uint32_t color)
{
    return ((color >> 9) & 0x7C00u) | ((color >> 6) & 0x3E0u) | ((color >> 3) & 0x1Fu);
}

inline unsigned ChildIndex(std::uint32_t color, unsigned level)
{
    return (((color >> (16 + level)) & 1u) << 2) | (((color >> (8 + level)) & 1u) << 1) | ((color >> level) & 1u);
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
    m_Gate.Reset();
    m_Cache.assign(std::size_t{1} << kCacheBits, CacheSlot{kNoColor, RefTo(m_Root)});
    m_Paths.assign(std::size_t{1} << 15, RefTo(m_Root)); // the root starts every path
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

bool QColorQuantizer::IsAlive(const NodeRef& ref) const
{
    return m_Nodes[static_cast<std::size_t>(ref.node)].generation == ref.generation;
}

QColorQuantizer::NodeRef QColorQuantizer::RefTo(std::int32_t node) const
{
    return NodeRef{node, m_Nodes[static_cast<std::size_t>(node)].generation};
}

std::int32_t QColorQuantizer::CachedLeaf(std::uint32_t color) const
{
    const CacheSlot& slot = m_Cache[(color * 0x9E3779B1u) >> (32 - kCacheBits)];
    return slot.color == color && IsAlive(slot.leaf) ? slot.leaf.node : -1;
}

void QColorQuantizer::Remember(std::uint32_t color, std::int32_t leaf)
{
    m_Cache[(color * 0x9E3779B1u) >> (32 - kCacheBits)] = CacheSlot{color, RefTo(leaf)};
}

std::int32_t QColorQuantizer::PathStart(std::uint32_t color) const
{
    // A node never moves, so while it is alive, bits 7..3 that led to it
    // still lead to it (a reduction there only made it a leaf).
    const NodeRef& ref = m_Paths[PathSlot(color)];
    return IsAlive(ref) ? ref.node : m_Root;
}

void QColorQuantizer::AddToLeaf(std::int32_t leaf, std::uint32_t color, std::uint32_t times)
{
    Node& n = m_Nodes[static_cast<std::size_t>(leaf)];
    n.count += times;
    n.stamp = ++m_Clock;
    Sums& sum = m_Sums[static_cast<std::size_t>(leaf)];
    sum.red += static_cast<std::uint64_t>(Red(color)) * times;
    sum.green += static_cast<std::uint64_t>(Green(color)) * times;
    sum.blue += static_cast<std::uint64_t>(Blue(color)) * times;
}

std::int32_t QColorQuantizer::Descend(std::uint32_t color, std::uint32_t times)
{
    // The tick this insertion's leaf will get: new inner nodes enter their
    // heap with it, as the key the descent gives them.
    const std::uint64_t tick = m_Clock + 1;
    std::int32_t node = PathStart(color);
    bool pathKnown = node != m_Root;
    while (!m_Nodes[static_cast<std::size_t>(node)].leaf) {
        const unsigned level = m_Nodes[static_cast<std::size_t>(node)].level;
        if (!pathKnown && level <= 2) {
            m_Paths[PathSlot(color)] = RefTo(node);
            pathKnown = true;
        }
        const unsigned index = ChildIndex(color, level);
        std::int32_t child = m_Nodes[static_cast<std::size_t>(node)].child[index];
        if (child == -1) {
            child = NewNode(level - 1);
            m_Nodes[static_cast<std::size_t>(node)].child[index] = child;
            Node& c = m_Nodes[static_cast<std::size_t>(child)];
            if (level - 1 == 0) {
                ++m_LeafCount;
            } else {
                c.inList = true;
                ++m_InList[level - 1];
                auto& heap = m_Heaps[level - 1];
                heap.push_back(Entry{tick, times, child, c.generation});
                std::push_heap(heap.begin(), heap.end(), Later());
            }
        }
        node = child;
    }
    if (!pathKnown) {
        m_Paths[PathSlot(color)] = RefTo(node);
    }
    AddToLeaf(node, color, times);
    return node;
}

void QColorQuantizer::InsertRun(std::uint32_t color, std::uint32_t length)
{
    const bool ask = m_Gate.Open();
    std::int32_t leaf = ask ? CachedLeaf(color) : -1;
    if (leaf != -1) {
        m_Gate.CountHit();
        AddToLeaf(leaf, color, length); // no leaf added, so no reduction
        return;
    }
    if (m_LeafCount < m_Limit) {
        // Even a new leaf cannot bring the tree over its limit.
        leaf = Descend(color, length);
    } else {
        leaf = Descend(color, 1);
        if (m_LeafCount > m_Limit) {
            ReduceWhileOverLimit();
            leaf = FindLeaf(color); // the reduction may have merged it into an ancestor
        }
        if (length > 1) {
            AddToLeaf(leaf, color, length - 1);
        }
    }
    if (ask) {
        Remember(color, leaf);
    }
}

QColorQuantizer::Key QColorQuantizer::TrueKey(std::int32_t node) const
{
    const Node& n = m_Nodes[static_cast<std::size_t>(node)];
    if (n.leaf) {
        return Key{n.count, n.stamp};
    }
    Key key{0, 0};
    for (const std::int32_t c : n.child) {
        if (c != -1) {
            const Key k = TrueKey(c);
            key.count += k.count;
            key.stamp = std::max(key.stamp, k.stamp);
        }
    }
    return key;
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
        const Key key = TrueKey(e.node);
        if (key.count == e.count && key.stamp == e.stamp) {
            n.inList = false;
            --m_InList[level];
            n.count = key.count; // it becomes a leaf and keeps both
            n.stamp = key.stamp;
            return e.node;
        }
        heap.push_back(Entry{key.stamp, key.count, e.node, n.generation});
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

std::int32_t QColorQuantizer::FindLeaf(std::uint32_t color) const
{
    std::int32_t node = PathStart(color);
    while (!m_Nodes[static_cast<std::size_t>(node)].leaf) {
        const Node& n = m_Nodes[static_cast<std::size_t>(node)];
        node = n.child[ChildIndex(color, n.level)];
        if (node == -1) {
            return m_Root; // cannot happen for an inserted colour
        }
    }
    return node;
}

int QColorQuantizer::NumberLeaves(GifColorType* colorMap)
{
    // Depth first, children in index order; a leaf's count becomes its index.
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
    return next;
}

std::int32_t QColorQuantizer::MappedLeaf(std::uint32_t color)
{
    if (!m_Gate.Open()) {
        return FindLeaf(color);
    }
    std::int32_t leaf = CachedLeaf(color);
    if (leaf != -1) {
        m_Gate.CountHit();
    } else {
        leaf = FindLeaf(color);
        Remember(color, leaf);
    }
    return leaf;
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

    m_Runs.Scan(pixels, count, [this](std::uint32_t color, std::uint32_t length) { InsertRun(color, length); });
    // The key colour once more, without a reduction.
    const std::uint32_t key = ColorRuns::kTransparentKey;
    if (transparency) {
        Remember(key, Descend(key, 1));
    }

    const int used = NumberLeaves(colorMap);
    if (colorsUsed != nullptr) {
        *colorsUsed = used;
    }
    *transparentIndex = 0;
    if (transparency) {
        *transparentIndex = static_cast<std::uint8_t>(m_Nodes[static_cast<std::size_t>(FindLeaf(key))].count);
    }
    m_Gate.Reset();
    m_Runs.Fill(pixels, indices, count, [this](std::uint32_t color) {
        return static_cast<std::uint8_t>(m_Nodes[static_cast<std::size_t>(MappedLeaf(color))].count);
    });
    return true;
}

} // namespace pelidore
