// "High Speed" quantizer: the program's own octree, with the
// result of the plain sorted-list algorithm at a fraction of its cost.
// Portable.
#pragma once

#include "ColorRuns.h"
#include "LookupGate.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct GifColorType;

namespace pelidore {

class QColorQuantizer {
public:
    QColorQuantizer();
    virtual ~QColorQuantizer();

    // pixels: width x height x 3 bytes, blue, green, red, rows in buffer order.
    // indices: width x height bytes out, same order. colorMap: 256 entries
    // out; entries not produced are black. With transparency the key colour
    // (R 255, G 0, B 255) is inserted once more after the pixels and its leaf
    // becomes *transparentIndex; else *transparentIndex = 0.
    // False without doing anything when maxColors < 8 or maxColors > 256, a
    // buffer is null or a size is not positive.
    // colorsUsed (optional): number of palette entries produced.
    bool Quantize(int width, int height, const std::uint8_t* pixels, std::uint8_t* indices, GifColorType* colorMap,
                  int maxColors, std::uint8_t* transparentIndex, bool transparency, int* colorsUsed = nullptr);

    // For tests: every reduction (level and pixel count of the node reduced),
    // in order, is appended to *log while it is set; null stops the logging.
    struct Reduction {
        unsigned level;
        unsigned count;
    };
    void SetReductionLog(std::vector<Reduction>* log) { m_Log = log; }

private:
    struct Node;
    struct Entry;
    struct Sums {
        std::uint64_t red;
        std::uint64_t green;
        std::uint64_t blue;
    };
    struct Key {
        std::uint32_t count;
        std::uint64_t stamp;
    };
    struct NodeRef {
        std::int32_t node;
        std::uint32_t generation;
    };
    struct CacheSlot {
        std::uint32_t color; // kNoColor when empty
        NodeRef leaf;
    };

    void Reset();
    std::int32_t NewNode(unsigned level);
    void FreeNode(std::int32_t node);
    void InsertRun(std::uint32_t color, std::uint32_t length);
    std::int32_t Descend(std::uint32_t color, std::uint32_t times);
    void AddToLeaf(std::int32_t leaf, std::uint32_t color, std::uint32_t times);
    void ReduceWhileOverLimit();
    std::int32_t TakeFirst(unsigned level);
    Key TrueKey(std::int32_t node) const;
    void DeleteSubtree(std::int32_t node);
    std::int32_t FindLeaf(std::uint32_t color) const;
    bool IsAlive(const NodeRef& ref) const;
    NodeRef RefTo(std::int32_t node) const;
    std::int32_t PathStart(std::uint32_t color) const;
    std::int32_t CachedLeaf(std::uint32_t color) const;
    void Remember(std::uint32_t color, std::int32_t leaf);
    int NumberLeaves(GifColorType* colorMap);
    std::int32_t MappedLeaf(std::uint32_t color);

    std::vector<Node> m_Nodes;
    std::vector<Sums> m_Sums;
    std::vector<std::int32_t> m_FreeNodes;
    std::vector<Entry> m_Heaps[8]; // per level 1..6: the reducible nodes
    unsigned m_InList[8] = {};     // per level: nodes in the reducible list
    std::uint64_t m_Clock = 0;     // one tick per insertion
    std::int32_t m_Root = -1;
    unsigned m_LeafCount = 0;
    unsigned m_Limit = 0;
    std::vector<Reduction>* m_Log = nullptr;
    ColorRuns m_Runs;
    static constexpr unsigned kCacheBits = 11;
    std::vector<CacheSlot> m_Cache; // colour -> its leaf, direct-mapped
    LookupGate m_Gate;
    std::vector<NodeRef> m_Paths; // bits 7..3 of a colour -> the node they lead to
};

} // namespace pelidore
