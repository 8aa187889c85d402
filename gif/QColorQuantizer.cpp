#include "gif/QColorQuantizer.h"

#include <gif_lib.h>

#include <cstddef>
#include <cstring>

// The described algorithm keeps every inner node in one list sorted by
// (level, pixel count) and, after each count increment, walks the node
// forward past its equals. A node therefore always sits at the end of its
// (level, count) group in arrival order, which is the structure of an LFU
// cache: here each level (1..6; the root, level 7, is always last and never
// moves) holds a list of buckets ascending by count, each bucket a FIFO of
// nodes. Moving a node to the end of a later group and taking the first node
// of the lowest group are constant work (a bulk move walks the buckets of one
// level). A run of identical pixels is inserted as its first pixel (with the
// reduction after it) followed by one step for the rest: no leaf is added
// after the first pixel, so no reduction happens, and every node on the path
// just ends at the end of the group of its final count.

struct QColorQuantizer::Node {
    std::int32_t child[8];
    std::uint64_t red;
    std::uint64_t green;
    std::uint64_t blue;
    std::uint32_t count;
    std::int32_t prev;   // neighbours inside its bucket
    std::int32_t next;
    std::int32_t bucket; // -1 when not in the reducible list
    std::uint8_t level;
    bool leaf;
};

struct QColorQuantizer::Bucket {
    std::uint32_t count;
    std::int32_t head;
    std::int32_t tail;
    std::int32_t prev; // neighbours inside its level, ascending by count
    std::int32_t next;
};

namespace {

inline unsigned ChildIndex(std::uint8_t r, std::uint8_t g, std::uint8_t b, unsigned level)
{
    return (((r >> level) & 1u) << 2) | (((g >> level) & 1u) << 1) | ((b >> level) & 1u);
}

} // namespace

QColorQuantizer::QColorQuantizer()
{
    for (int i = 0; i < 8; ++i) {
        levelHead_[i] = -1;
        levelTail_[i] = -1;
    }
}

QColorQuantizer::~QColorQuantizer() = default;

void QColorQuantizer::Reset()
{
    nodes_.clear();
    freeNodes_.clear();
    buckets_.clear();
    freeBuckets_.clear();
    for (int i = 0; i < 8; ++i) {
        levelHead_[i] = -1;
        levelTail_[i] = -1;
    }
    leafCount_ = 0;
    root_ = NewNode(7);
}

std::int32_t QColorQuantizer::NewNode(unsigned level)
{
    std::int32_t id;
    if (!freeNodes_.empty()) {
        id = freeNodes_.back();
        freeNodes_.pop_back();
    } else {
        id = static_cast<std::int32_t>(nodes_.size());
        nodes_.emplace_back();
    }
    Node& n = nodes_[static_cast<std::size_t>(id)];
    for (auto& c : n.child) {
        c = -1;
    }
    n.red = n.green = n.blue = 0;
    n.count = 0;
    n.prev = n.next = -1;
    n.bucket = -1;
    n.level = static_cast<std::uint8_t>(level);
    n.leaf = level == 0;
    return id;
}

void QColorQuantizer::FreeNode(std::int32_t node)
{
    freeNodes_.push_back(node);
}

std::int32_t QColorQuantizer::NewBucket(std::uint32_t count)
{
    std::int32_t id;
    if (!freeBuckets_.empty()) {
        id = freeBuckets_.back();
        freeBuckets_.pop_back();
    } else {
        id = static_cast<std::int32_t>(buckets_.size());
        buckets_.emplace_back();
    }
    Bucket& b = buckets_[static_cast<std::size_t>(id)];
    b.count = count;
    b.head = b.tail = -1;
    b.prev = b.next = -1;
    return id;
}

void QColorQuantizer::FreeBucket(unsigned level, std::int32_t bucket)
{
    Bucket& b = buckets_[static_cast<std::size_t>(bucket)];
    if (b.prev != -1) {
        buckets_[static_cast<std::size_t>(b.prev)].next = b.next;
    } else {
        levelHead_[level] = b.next;
    }
    if (b.next != -1) {
        buckets_[static_cast<std::size_t>(b.next)].prev = b.prev;
    } else {
        levelTail_[level] = b.prev;
    }
    freeBuckets_.push_back(bucket);
}

void QColorQuantizer::Unlink(std::int32_t node)
{
    Node& n = nodes_[static_cast<std::size_t>(node)];
    const std::int32_t bucket = n.bucket;
    if (bucket == -1) {
        return;
    }
    Bucket& b = buckets_[static_cast<std::size_t>(bucket)];
    if (n.prev != -1) {
        nodes_[static_cast<std::size_t>(n.prev)].next = n.next;
    } else {
        b.head = n.next;
    }
    if (n.next != -1) {
        nodes_[static_cast<std::size_t>(n.next)].prev = n.prev;
    } else {
        b.tail = n.prev;
    }
    n.prev = n.next = -1;
    n.bucket = -1;
    if (b.head == -1) {
        FreeBucket(n.level, bucket);
    }
}

// Links node at the end of the bucket of `count` in its level; `after` is
// the last bucket of that level known to hold a smaller count (-1: none).
void QColorQuantizer::InsertAtCount(std::int32_t node, std::int32_t after, unsigned level, std::uint32_t count)
{
    std::int32_t target = after == -1 ? levelHead_[level] : buckets_[static_cast<std::size_t>(after)].next;
    while (target != -1 && buckets_[static_cast<std::size_t>(target)].count < count) {
        after = target;
        target = buckets_[static_cast<std::size_t>(target)].next;
    }
    if (target == -1 || buckets_[static_cast<std::size_t>(target)].count != count) {
        const std::int32_t fresh = NewBucket(count);
        Bucket& f = buckets_[static_cast<std::size_t>(fresh)];
        f.prev = after;
        f.next = target;
        if (after != -1) {
            buckets_[static_cast<std::size_t>(after)].next = fresh;
        } else {
            levelHead_[level] = fresh;
        }
        if (target != -1) {
            buckets_[static_cast<std::size_t>(target)].prev = fresh;
        } else {
            levelTail_[level] = fresh;
        }
        target = fresh;
    }
    Bucket& t = buckets_[static_cast<std::size_t>(target)];
    Node& n = nodes_[static_cast<std::size_t>(node)];
    n.bucket = target;
    n.next = -1;
    n.prev = t.tail;
    if (t.tail != -1) {
        nodes_[static_cast<std::size_t>(t.tail)].next = node;
    } else {
        t.head = node;
    }
    t.tail = node;
}

void QColorQuantizer::MoveToCount(std::int32_t node, std::uint32_t count)
{
    Node& n = nodes_[static_cast<std::size_t>(node)];
    const std::int32_t from = n.bucket;
    const unsigned level = n.level;
    // Find the insertion point before unlinking, so that freeing an emptied
    // source bucket cannot invalidate it: the source bucket counts less.
    std::int32_t after = from;
    std::int32_t next = buckets_[static_cast<std::size_t>(from)].next;
    while (next != -1 && buckets_[static_cast<std::size_t>(next)].count < count) {
        after = next;
        next = buckets_[static_cast<std::size_t>(next)].next;
    }
    std::int32_t target = next;
    if (target == -1 || buckets_[static_cast<std::size_t>(target)].count != count) {
        target = NewBucket(count);
        Bucket& f = buckets_[static_cast<std::size_t>(target)];
        f.prev = after;
        f.next = next;
        buckets_[static_cast<std::size_t>(after)].next = target;
        if (next != -1) {
            buckets_[static_cast<std::size_t>(next)].prev = target;
        } else {
            levelTail_[level] = target;
        }
    }
    Unlink(node);
    Bucket& t = buckets_[static_cast<std::size_t>(target)];
    Node& m = nodes_[static_cast<std::size_t>(node)];
    m.bucket = target;
    m.next = -1;
    m.prev = t.tail;
    if (t.tail != -1) {
        nodes_[static_cast<std::size_t>(t.tail)].next = node;
    } else {
        t.head = node;
    }
    t.tail = node;
}

void QColorQuantizer::InsertColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint32_t times)
{
    std::int32_t node = root_;
    for (;;) {
        Node* n = &nodes_[static_cast<std::size_t>(node)];
        n->count += times;
        if (n->leaf) {
            n->red += static_cast<std::uint64_t>(r) * times;
            n->green += static_cast<std::uint64_t>(g) * times;
            n->blue += static_cast<std::uint64_t>(b) * times;
            return;
        }
        if (node != root_) {
            MoveToCount(node, n->count);
            n = &nodes_[static_cast<std::size_t>(node)];
        }
        const unsigned level = n->level;
        const unsigned index = ChildIndex(r, g, b, level);
        std::int32_t child = n->child[index];
        if (child == -1) {
            child = NewNode(level - 1);
            nodes_[static_cast<std::size_t>(node)].child[index] = child;
            if (level - 1 == 0) {
                ++leafCount_;
            } else {
                InsertAtCount(child, -1, level - 1, 0);
            }
        }
        node = child;
    }
}

void QColorQuantizer::DeleteSubtree(std::int32_t node)
{
    Node& n = nodes_[static_cast<std::size_t>(node)];
    if (n.bucket != -1) {
        Unlink(node);
    }
    for (int i = 0; i < 8; ++i) {
        const std::int32_t c = nodes_[static_cast<std::size_t>(node)].child[i];
        if (c != -1) {
            DeleteSubtree(c);
        }
    }
    FreeNode(node);
}

void QColorQuantizer::ReduceWhileOverLimit()
{
    while (leafCount_ > limit_) {
        std::int32_t first = -1;
        for (unsigned level = 1; level < 7; ++level) {
            if (levelHead_[level] != -1) {
                first = buckets_[static_cast<std::size_t>(levelHead_[level])].head;
                break;
            }
        }
        if (first == -1) {
            return; // only the root is left in the list
        }
        Unlink(first);
        if (log_ != nullptr) {
            const Node& f = nodes_[static_cast<std::size_t>(first)];
            log_->push_back({f.level, f.count});
        }
        for (int i = 0; i < 8; ++i) {
            const std::int32_t c = nodes_[static_cast<std::size_t>(first)].child[i];
            if (c == -1) {
                continue;
            }
            Node& n = nodes_[static_cast<std::size_t>(first)];
            const Node& k = nodes_[static_cast<std::size_t>(c)];
            n.red += k.red;
            n.green += k.green;
            n.blue += k.blue;
            DeleteSubtree(c);
            nodes_[static_cast<std::size_t>(first)].child[i] = -1;
            --leafCount_;
        }
        nodes_[static_cast<std::size_t>(first)].leaf = true;
        ++leafCount_;
    }
}

std::int32_t QColorQuantizer::FindLeaf(std::uint8_t r, std::uint8_t g, std::uint8_t b) const
{
    std::int32_t node = root_;
    for (;;) {
        const Node& n = nodes_[static_cast<std::size_t>(node)];
        const std::int32_t c = n.child[ChildIndex(r, g, b, n.level)];
        if (c == -1) {
            return -1; // cannot happen for an inserted colour
        }
        if (nodes_[static_cast<std::size_t>(c)].leaf) {
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
    limit_ = static_cast<unsigned>(transparency ? maxColors - 1 : maxColors);

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
        InsertColor(r, g, b, 1);
        ReduceWhileOverLimit();
        std::size_t rest = j - i - 1;
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
    stack[top++] = root_;
    while (top > 0) {
        const std::int32_t node = stack[--top];
        Node& n = nodes_[static_cast<std::size_t>(node)];
        if (n.leaf) {
            if (next < 256 && n.count != 0) {
                colorMap[next].Red = static_cast<GifByteType>(n.red / n.count);
                colorMap[next].Green = static_cast<GifByteType>(n.green / n.count);
                colorMap[next].Blue = static_cast<GifByteType>(n.blue / n.count);
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
        *transparentIndex = static_cast<std::uint8_t>(nodes_[static_cast<std::size_t>(leaf)].count);
    }

    // 6: mapping.
    std::uint32_t lastKey = 0xFFFFFFFFu;
    std::uint8_t lastIndex = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint8_t* p = pixels + k * 3;
        const std::uint32_t key = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                  (static_cast<std::uint32_t>(p[2]) << 16);
        if (key != lastKey) {
            const std::int32_t leaf = FindLeaf(p[2], p[1], p[0]);
            lastIndex = static_cast<std::uint8_t>(nodes_[static_cast<std::size_t>(leaf)].count);
            lastKey = key;
        }
        indices[k] = lastIndex;
    }
    return true;
}
