#include "ReferenceOctree.h"

#include <gif_lib.h>

#include <cstddef>
#include <cstring>

namespace pelidore {

namespace reference {

namespace {

struct Node {
    bool leaf = false;
    unsigned level = 0;
    Node* children[8] = {};
    unsigned count = 0;
    long long red = 0;
    long long green = 0;
    long long blue = 0;
    Node* next = nullptr;
    Node* prev = nullptr;
};

class Tree {
public:
    Tree(unsigned limit, std::vector<Reduction>* log) : m_Limit(limit), m_Log(log)
    {
        m_Head.next = &m_Head;
        m_Head.prev = &m_Head;
        m_Root = new Node;
        m_Root->level = 7;
        LinkAfter(m_Root, &m_Head);
    }
    ~Tree() { Delete(m_Root); }

    void Insert(std::uint8_t r, std::uint8_t g, std::uint8_t b, bool reduce)
    {
        Node* node = m_Root;
        for (;;) {
            ++node->count;
            if (node->leaf) {
                break;
            }
            if (node->next != &m_Head) {
                MoveToSortedPlace(node);
            }
            const unsigned l = node->level;
            const unsigned index = (((r >> l) & 1u) << 2) | (((g >> l) & 1u) << 1) | ((b >> l) & 1u);
            Node*& child = node->children[index];
            if (child == nullptr) {
                child = new Node;
                child->level = l - 1;
                if (child->level == 0) {
                    child->leaf = true;
                    ++m_Leaves;
                } else {
                    LinkAfter(child, &m_Head);
                    MoveToSortedPlace(child);
                }
            }
            node = child;
        }
        node->red += r;
        node->green += g;
        node->blue += b;
        if (!reduce) {
            return;
        }
        while (m_Leaves > m_Limit && m_Head.next->next != &m_Head) {
            Node* first = m_Head.next;
            Unlink(first);
            if (m_Log != nullptr) {
                m_Log->push_back({first->level, first->count});
            }
            for (Node*& c : first->children) {
                if (c != nullptr) {
                    first->red += c->red;
                    first->green += c->green;
                    first->blue += c->blue;
                    Delete(c);
                    c = nullptr;
                    --m_Leaves;
                }
            }
            first->leaf = true;
            ++m_Leaves;
        }
    }

    int BuildPalette(GifColorType* map)
    {
        int next = 0;
        Walk(m_Root, map, next);
        return next;
    }

    unsigned Lookup(std::uint8_t r, std::uint8_t g, std::uint8_t b) const
    {
        const Node* node = m_Root;
        do {
            const unsigned l = node->level;
            node = node->children[(((r >> l) & 1u) << 2) | (((g >> l) & 1u) << 1) | ((b >> l) & 1u)];
        } while (!node->leaf);
        return node->count;
    }

private:
    static bool Greater(const Node* a, const Node* b)
    {
        return a->level > b->level || (a->level == b->level && a->count > b->count);
    }

    static void LinkAfter(Node* node, Node* where)
    {
        node->prev = where;
        node->next = where->next;
        where->next->prev = node;
        where->next = node;
    }

    static void Unlink(Node* node)
    {
        node->prev->next = node->next;
        node->next->prev = node->prev;
        node->next = node->prev = nullptr;
    }

    // Walk forward from the successor to the first node greater than this
    // one and re-link just before it (behind its equals).
    void MoveToSortedPlace(Node* node)
    {
        Node* p = node->next;
        while (p != &m_Head && !Greater(p, node)) {
            p = p->next;
        }
        Unlink(node);
        LinkAfter(node, p->prev);
    }

    void Delete(Node* node)
    {
        for (Node* c : node->children) {
            if (c != nullptr) {
                Delete(c);
            }
        }
        if (node->next != nullptr) {
            Unlink(node);
        }
        delete node;
    }

    void Walk(Node* node, GifColorType* map, int& next)
    {
        if (node->leaf) {
            if (next < 256) {
                map[next].Red = static_cast<GifByteType>(node->red / node->count);
                map[next].Green = static_cast<GifByteType>(node->green / node->count);
                map[next].Blue = static_cast<GifByteType>(node->blue / node->count);
            }
            node->count = static_cast<unsigned>(next++);
            return;
        }
        for (Node* c : node->children) {
            if (c != nullptr) {
                Walk(c, map, next);
            }
        }
    }

    Node m_Head;
    Node* m_Root;
    unsigned m_Leaves = 0;
    unsigned m_Limit;
    std::vector<Reduction>* m_Log;
};

} // namespace

bool OctreeQuantize(int width, int height, const std::uint8_t* pixels, std::uint8_t* indices, GifColorType* colorMap,
                    int maxColors, std::uint8_t* transparentIndex, bool transparency, int* colorsUsed,
                    std::vector<Reduction>* log)
{
    if (maxColors < 8 || maxColors > 256 || width <= 0 || height <= 0) {
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    Tree tree(static_cast<unsigned>(transparency ? maxColors - 1 : maxColors), log);
    for (std::size_t i = 0; i < count; ++i) {
        tree.Insert(pixels[i * 3 + 2], pixels[i * 3 + 1], pixels[i * 3], true);
    }
    if (transparency) {
        tree.Insert(255, 0, 255, false);
    }
    std::memset(colorMap, 0, sizeof(GifColorType) * 256);
    const int used = tree.BuildPalette(colorMap);
    if (colorsUsed != nullptr) {
        *colorsUsed = used;
    }
    *transparentIndex = transparency ? static_cast<std::uint8_t>(tree.Lookup(255, 0, 255)) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        indices[i] = static_cast<std::uint8_t>(tree.Lookup(pixels[i * 3 + 2], pixels[i * 3 + 1], pixels[i * 3]));
    }
    return true;
}

} // namespace reference

} // namespace pelidore
