#include "ImgPrReduceColor.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

namespace pelidore {

namespace {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// The octree leaf a colour falls into (bits 7..1 of each channel), and the
// leaf of the transparency key R 255, G 0, B 255.
inline std::uint32_t LeafKey(const Rgb& c)
{
    return (static_cast<std::uint32_t>(c.r >> 1) << 14) | (static_cast<std::uint32_t>(c.g >> 1) << 7) |
           static_cast<std::uint32_t>(c.b >> 1);
}
constexpr std::uint32_t kKeyLeaf = (127u << 14) | 127u;

// Histogram bins of the palette builder: 5 bits a channel.
inline std::uint32_t BinKey(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return (static_cast<std::uint32_t>(r >> 3) << 10) | (static_cast<std::uint32_t>(g >> 3) << 5) |
           static_cast<std::uint32_t>(b >> 3);
}
constexpr std::size_t kBins = 1u << 15;

// Cells of the mapping table: 5 bits a channel (6 bits measured no better).
inline std::uint32_t CellKey(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return BinKey(r, g, b);
}
constexpr std::size_t kCells = 1u << 15;

constexpr int kRefineSteps = 2; // measured: +0.6 to +1 dB; more steps add little

inline std::uint32_t Pack(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | b;
}

inline std::uint32_t HashSlot(std::uint32_t packed, std::uint32_t mask)
{
    return (packed * 2654435761u >> 7) & mask;
}

// 8x8 Bayer matrix, thresholds (v + 0.5) / 64.
const std::uint8_t kBayer[64] = {0,  32, 8,  40, 2,  34, 10, 42, 48, 16, 56, 24, 50, 18, 58, 26, 12, 44, 4,  36, 14, 46,
                                 6,  38, 60, 28, 52, 20, 62, 30, 54, 22, 3,  35, 11, 43, 1,  33, 9,  41, 51, 19, 59, 27,
                                 49, 17, 57, 25, 15, 47, 7,  39, 13, 45, 5,  37, 63, 31, 55, 23, 61, 29, 53, 21};

struct Stats {
    double error = 0.0;   // sum over dithered pixels of |p - c1|^2
    std::size_t flat = 0; // dithered pixels equal to their left neighbour
    std::size_t pixels = 0;
};

} // namespace

struct ImgPrReducer::Impl {
    struct Cell {
        std::int16_t exact; // exact palette colour inside this cell; -1 none, -2 several
        std::uint8_t c1, c2;
        std::uint8_t ready;
        std::int16_t dr, dg, db;
        float inv; // 1 / |c2 - c1|^2, 0 when c2 == c1
    };

    std::vector<Rgb> palette;
    int exactCount = 0;
    bool havePalette = false;
    int rebuilds = 0;
    int sinceRebuild = 0;
    Stats baseline;
    float strength = 0.5f;

    std::vector<Cell> cells = std::vector<Cell>(kCells);
    // The exact colours, for cells that hold several.
    static constexpr std::uint32_t kExactSlots = 1024;
    std::uint32_t exactKeys[kExactSlots];
    std::uint8_t exactIndex[kExactSlots];

    // Palette building scratch.
    static constexpr std::uint32_t kHistSlots = 1u << 17;
    std::vector<std::uint32_t> histKeys = std::vector<std::uint32_t>(kHistSlots);
    std::vector<std::uint32_t> histCounts = std::vector<std::uint32_t>(kHistSlots);
    struct Bin {
        std::uint64_t n, r, g, b;
    };
    std::vector<Bin> bins = std::vector<Bin>(kBins);
    std::vector<std::uint8_t> scratch; // the source of an in-place call

    void Build(const std::uint8_t* src, std::size_t width, std::size_t count);
    void MedianCut(int boxes, std::vector<Rgb>& out);
    void Refine(std::vector<Rgb>& colors);
    void AddColor(Rgb c, bool nudge, std::vector<std::uint32_t>& leaves);
    void PrepareCells();
    void FillCell(std::uint32_t key);
    bool IsExact(const Cell& cell, std::uint8_t r, std::uint8_t g, std::uint8_t b) const;
    Stats Map(const std::uint8_t* src, int width, int height, std::uint8_t* dst);
};

ImgPrReducer::ImgPrReducer() : m_Impl(new Impl) {}

ImgPrReducer::~ImgPrReducer() = default;

void ImgPrReducer::Reset()
{
    m_Impl->havePalette = false;
    m_Impl->palette.clear();
    m_Impl->exactCount = 0;
    m_Impl->rebuilds = 0;
    m_Impl->sinceRebuild = 0;
}

void ImgPrReducer::SetDitherStrength(float strength)
{
    m_Impl->strength = strength < 0.0f ? 0.0f : (strength > 1.0f ? 1.0f : strength);
}

int ImgPrReducer::PaletteSize() const
{
    return static_cast<int>(m_Impl->palette.size());
}

int ImgPrReducer::ExactColors() const
{
    return m_Impl->exactCount;
}

int ImgPrReducer::Rebuilds() const
{
    return m_Impl->rebuilds;
}

void ImgPrReducer::Impl::AddColor(Rgb c, bool nudge, std::vector<std::uint32_t>& leaves)
{
    auto taken = [&](const Rgb& x) {
        const std::uint32_t k = LeafKey(x);
        return k == kKeyLeaf || std::find(leaves.begin(), leaves.end(), k) != leaves.end();
    };
    if (taken(c)) {
        if (!nudge) {
            return;
        }
        // Move to the nearest free leaf: steps of 2 in one or more channels.
        static const int kSteps[][3] = {{2, 0, 0},  {-2, 0, 0},  {0, 2, 0},  {0, -2, 0},  {0, 0, 2},  {0, 0, -2},
                                        {2, 2, 0},  {-2, -2, 0}, {0, 2, 2},  {0, -2, -2}, {2, 0, 2},  {-2, 0, -2},
                                        {2, -2, 0}, {-2, 2, 0},  {0, 2, -2}, {0, -2, 2},  {2, 0, -2}, {-2, 0, 2},
                                        {4, 0, 0},  {-4, 0, 0},  {0, 4, 0},  {0, -4, 0},  {0, 0, 4},  {0, 0, -4}};
        bool found = false;
        for (const auto& s : kSteps) {
            const int r = c.r + s[0], g = c.g + s[1], b = c.b + s[2];
            if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) {
                continue;
            }
            const Rgb n{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
            if (!taken(n)) {
                c = n;
                found = true;
                break;
            }
        }
        if (!found) {
            return;
        }
    }
    leaves.push_back(LeafKey(c));
    palette.push_back(c);
}

void ImgPrReducer::Impl::MedianCut(int boxes, std::vector<Rgb>& out)
{
    struct Item {
        float c[3];
        std::uint64_t n;
    };
    std::vector<Item> items;
    for (const Bin& bin : bins) {
        if (bin.n != 0) {
            const float n = static_cast<float>(bin.n);
            items.push_back(Item{
                {static_cast<float>(bin.r) / n, static_cast<float>(bin.g) / n, static_cast<float>(bin.b) / n}, bin.n});
        }
    }
    if (items.empty() || boxes <= 0) {
        return;
    }
    struct Box {
        std::size_t begin, end;
        double sse;
        int axis;
    };
    auto measure = [&](Box& box) {
        double sn = 0, s[3] = {0, 0, 0}, q[3] = {0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i) {
            const double n = static_cast<double>(items[i].n);
            sn += n;
            for (int a = 0; a < 3; ++a) {
                s[a] += n * items[i].c[a];
                q[a] += n * items[i].c[a] * items[i].c[a];
            }
        }
        double best = -1.0;
        box.sse = 0.0;
        box.axis = 0;
        for (int a = 0; a < 3; ++a) {
            // Green weighs most in what the eye sees; PSNR weighs all alike.
            const double v = q[a] - s[a] * s[a] / sn;
            box.sse += v;
            if (v > best) {
                best = v;
                box.axis = a;
            }
        }
        if (box.end - box.begin < 2) {
            box.sse = 0.0;
        }
    };
    std::vector<Box> list;
    Box all{0, items.size(), 0.0, 0};
    measure(all);
    list.push_back(all);
    while (static_cast<int>(list.size()) < boxes) {
        std::size_t pick = 0;
        for (std::size_t i = 1; i < list.size(); ++i) {
            if (list[i].sse > list[pick].sse) {
                pick = i;
            }
        }
        Box box = list[pick];
        if (box.sse <= 0.0) {
            break;
        }
        const int axis = box.axis;
        std::sort(items.begin() + static_cast<long>(box.begin), items.begin() + static_cast<long>(box.end),
                  [axis](const Item& a, const Item& b) { return a.c[axis] < b.c[axis]; });
        std::uint64_t total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            total += items[i].n;
        }
        std::uint64_t acc = 0;
        std::size_t cut = box.begin + 1;
        for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
            acc += items[i].n;
            cut = i + 1;
            if (acc * 2 >= total) {
                break;
            }
        }
        Box lo{box.begin, cut, 0.0, 0};
        Box hi{cut, box.end, 0.0, 0};
        measure(lo);
        measure(hi);
        list[pick] = lo;
        list.push_back(hi);
    }
    // Largest boxes first, so that a nudge or a drop hits the small ones.
    std::vector<std::pair<std::uint64_t, Rgb>> colors;
    for (const Box& box : list) {
        double sn = 0, s[3] = {0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i) {
            const double n = static_cast<double>(items[i].n);
            sn += n;
            for (int a = 0; a < 3; ++a) {
                s[a] += n * items[i].c[a];
            }
        }
        auto round = [](double v) { return static_cast<std::uint8_t>(std::min(255.0, std::max(0.0, v + 0.5))); };
        colors.push_back({static_cast<std::uint64_t>(sn), Rgb{round(s[0] / sn), round(s[1] / sn), round(s[2] / sn)}});
    }
    std::stable_sort(colors.begin(), colors.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& c : colors) {
        out.push_back(c.second);
    }
}

// A few Lloyd (k-means) steps over the histogram bins, the exact colours
// staying where they are: each bin goes to its nearest colour, each free
// colour moves to the mean of its bins.
void ImgPrReducer::Impl::Refine(std::vector<Rgb>& colors)
{
    const int fixed = exactCount;
    const int total = fixed + static_cast<int>(colors.size());
    if (colors.empty()) {
        return;
    }
    std::vector<float> cr(static_cast<std::size_t>(total)), cg(cr.size()), cb(cr.size());
    for (int i = 0; i < total; ++i) {
        const Rgb& c = i < fixed ? palette[static_cast<std::size_t>(i)] : colors[static_cast<std::size_t>(i - fixed)];
        cr[static_cast<std::size_t>(i)] = c.r;
        cg[static_cast<std::size_t>(i)] = c.g;
        cb[static_cast<std::size_t>(i)] = c.b;
    }
    struct Item {
        float r, g, b, n;
    };
    std::vector<Item> items;
    for (const Bin& bin : bins) {
        if (bin.n != 0) {
            const float n = static_cast<float>(bin.n);
            items.push_back(
                Item{static_cast<float>(bin.r) / n, static_cast<float>(bin.g) / n, static_cast<float>(bin.b) / n, n});
        }
    }
    std::vector<double> sr(cr.size()), sg(cr.size()), sb(cr.size()), sn(cr.size());
    for (int step = 0; step < kRefineSteps; ++step) {
        std::fill(sr.begin(), sr.end(), 0.0);
        std::fill(sg.begin(), sg.end(), 0.0);
        std::fill(sb.begin(), sb.end(), 0.0);
        std::fill(sn.begin(), sn.end(), 0.0);
        for (const Item& it : items) {
            int best = 0;
            float bestD = 1e30f;
            for (int i = 0; i < total; ++i) {
                const float dr = it.r - cr[static_cast<std::size_t>(i)];
                const float dg = it.g - cg[static_cast<std::size_t>(i)];
                const float db = it.b - cb[static_cast<std::size_t>(i)];
                const float d = dr * dr + dg * dg + db * db;
                if (d < bestD) {
                    bestD = d;
                    best = i;
                }
            }
            const std::size_t k = static_cast<std::size_t>(best);
            sr[k] += static_cast<double>(it.r * it.n);
            sg[k] += static_cast<double>(it.g * it.n);
            sb[k] += static_cast<double>(it.b * it.n);
            sn[k] += static_cast<double>(it.n);
        }
        for (int i = fixed; i < total; ++i) {
            const std::size_t k = static_cast<std::size_t>(i);
            if (sn[k] > 0.0) {
                cr[k] = static_cast<float>(sr[k] / sn[k]);
                cg[k] = static_cast<float>(sg[k] / sn[k]);
                cb[k] = static_cast<float>(sb[k] / sn[k]);
            }
        }
    }
    auto round = [](float v) { return static_cast<std::uint8_t>(std::min(255.0f, std::max(0.0f, v + 0.5f))); };
    for (int i = fixed; i < total; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        colors[k - static_cast<std::size_t>(fixed)] = Rgb{round(cr[k]), round(cg[k]), round(cb[k])};
    }
}

void ImgPrReducer::Impl::Build(const std::uint8_t* src, std::size_t width, std::size_t count)
{
    std::fill(histKeys.begin(), histKeys.end(), 0u);
    std::fill(bins.begin(), bins.end(), Bin{0, 0, 0, 0});
    const std::uint32_t mask = kHistSlots - 1;
    std::uint32_t used = 0;
    // Histogram of exact colours (runs at a time) and of 5-bit cells.
    std::size_t i = 0;
    while (i < count) {
        const std::uint8_t* p = src + i * 3;
        std::size_t j = i + 1;
        const std::uint8_t* q = p + 3;
        while (j < count && q[0] == p[0] && q[1] == p[1] && q[2] == p[2]) {
            ++j;
            q += 3;
        }
        const std::uint32_t n = static_cast<std::uint32_t>(j - i);
        const std::uint8_t b = p[0], g = p[1], r = p[2];
        Bin& bin = bins[BinKey(r, g, b)];
        bin.n += n;
        bin.r += static_cast<std::uint64_t>(r) * n;
        bin.g += static_cast<std::uint64_t>(g) * n;
        bin.b += static_cast<std::uint64_t>(b) * n;
        const std::uint32_t key = Pack(r, g, b) + 1;
        std::uint32_t slot = HashSlot(key, mask);
        for (;;) {
            if (histKeys[slot] == key) {
                histCounts[slot] += n;
                break;
            }
            if (histKeys[slot] == 0) {
                // A new colour only from a run or a pixel like the one below
                // it in the buffer: photo noise would fill the table first.
                const bool repeated = n > 1 || (i >= width && std::memcmp(p, p - width * 3, 3) == 0);
                if (used < kHistSlots / 2 && repeated) {
                    histKeys[slot] = key;
                    histCounts[slot] = n;
                    ++used;
                }
                break;
            }
            slot = (slot + 1) & mask;
        }
        i = j;
    }
    // Exact candidates: colours covering enough pixels.
    const std::uint32_t minCount = static_cast<std::uint32_t>(std::max<std::size_t>(8, count / 2000));
    std::vector<std::pair<std::uint32_t, std::uint32_t>> candidates; // count, packed colour
    std::uint64_t candidatePixels = 0;
    for (std::uint32_t s = 0; s < kHistSlots; ++s) {
        if (histKeys[s] != 0 && histCounts[s] >= minCount) {
            candidates.push_back({histCounts[s], histKeys[s] - 1});
        }
    }
    std::sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    for (const auto& c : candidates) {
        candidatePixels += c.first;
    }
    const double rest = count == 0 ? 0.0 : static_cast<double>(count - candidatePixels) / static_cast<double>(count);
    int continuous = rest <= 0.0 ? 0 : static_cast<int>(std::lround(kMaxColors * std::sqrt(rest)));
    continuous = std::min(continuous, kMaxColors);
    const int exactTarget = kMaxColors - continuous;

    palette.clear();
    std::vector<std::uint32_t> leaves;
    for (const auto& c : candidates) {
        if (static_cast<int>(palette.size()) >= exactTarget) {
            break;
        }
        const Rgb color{static_cast<std::uint8_t>(c.second >> 16), static_cast<std::uint8_t>(c.second >> 8),
                        static_cast<std::uint8_t>(c.second)};
        const std::size_t before = palette.size();
        AddColor(color, false, leaves);
        if (palette.size() != before) {
            Bin& bin = bins[BinKey(color.r, color.g, color.b)];
            bin.n -= c.first;
            bin.r -= static_cast<std::uint64_t>(color.r) * c.first;
            bin.g -= static_cast<std::uint64_t>(color.g) * c.first;
            bin.b -= static_cast<std::uint64_t>(color.b) * c.first;
        }
    }
    exactCount = static_cast<int>(palette.size());
    // The rest of the picture: median cut of what the exact colours leave.
    std::vector<Rgb> cut;
    MedianCut(kMaxColors - exactCount, cut);
    Refine(cut);
    for (const Rgb& c : cut) {
        if (static_cast<int>(palette.size()) >= kMaxColors) {
            break;
        }
        AddColor(c, true, leaves);
    }
    if (palette.empty()) {
        palette.push_back(Rgb{0, 0, 0});
    }
    PrepareCells();
    havePalette = true;
    ++rebuilds;
    sinceRebuild = 0;
}

void ImgPrReducer::Impl::PrepareCells()
{
    for (Cell& cell : cells) {
        cell.exact = -1;
        cell.ready = 0;
    }
    std::memset(exactKeys, 0, sizeof exactKeys);
    for (int i = 0; i < exactCount; ++i) {
        const Rgb& c = palette[static_cast<std::size_t>(i)];
        Cell& cell = cells[CellKey(c.r, c.g, c.b)];
        cell.exact = cell.exact == -1 ? static_cast<std::int16_t>(i) : static_cast<std::int16_t>(-2);
        const std::uint32_t key = Pack(c.r, c.g, c.b) + 1;
        std::uint32_t slot = HashSlot(key, kExactSlots - 1);
        while (exactKeys[slot] != 0) {
            slot = (slot + 1) & (kExactSlots - 1);
        }
        exactKeys[slot] = key;
        exactIndex[slot] = static_cast<std::uint8_t>(i);
    }
}

void ImgPrReducer::Impl::FillCell(std::uint32_t key)
{
    Cell& cell = cells[key];
    const int pr = static_cast<int>(((key >> 10) & 31u) << 3) + 4;
    const int pg = static_cast<int>(((key >> 5) & 31u) << 3) + 4;
    const int pb = static_cast<int>((key & 31u) << 3) + 4;
    const int n = static_cast<int>(palette.size());
    int c1 = 0;
    int best = 1 << 30;
    for (int i = 0; i < n; ++i) {
        const Rgb& c = palette[static_cast<std::size_t>(i)];
        const int dr = pr - c.r, dg = pg - c.g, db = pb - c.b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < best) {
            best = d;
            c1 = i;
        }
    }
    // The partner: the colour whose segment from c1 passes closest to p.
    const Rgb& a = palette[static_cast<std::size_t>(c1)];
    int c2 = c1;
    double bestLine = static_cast<double>(best);
    for (int i = 0; i < n; ++i) {
        if (i == c1) {
            continue;
        }
        const Rgb& c = palette[static_cast<std::size_t>(i)];
        const double dr = c.r - a.r, dg = c.g - a.g, db = c.b - a.b;
        const double len = dr * dr + dg * dg + db * db;
        const double t = ((pr - a.r) * dr + (pg - a.g) * dg + (pb - a.b) * db) / len;
        if (t <= 0.0) {
            continue;
        }
        const double tt = t > 1.0 ? 1.0 : t;
        const double er = pr - (a.r + tt * dr), eg = pg - (a.g + tt * dg), eb = pb - (a.b + tt * db);
        const double e = er * er + eg * eg + eb * eb;
        if (e < bestLine - 1e-9) {
            bestLine = e;
            c2 = i;
        }
    }
    const Rgb& b = palette[static_cast<std::size_t>(c2)];
    cell.c1 = static_cast<std::uint8_t>(c1);
    cell.c2 = static_cast<std::uint8_t>(c2);
    cell.dr = static_cast<std::int16_t>(b.r - a.r);
    cell.dg = static_cast<std::int16_t>(b.g - a.g);
    cell.db = static_cast<std::int16_t>(b.b - a.b);
    const int len = cell.dr * cell.dr + cell.dg * cell.dg + cell.db * cell.db;
    cell.inv = len == 0 ? 0.0f : 1.0f / static_cast<float>(len);
    cell.ready = 1;
}

bool ImgPrReducer::Impl::IsExact(const Cell& cell, std::uint8_t r, std::uint8_t g, std::uint8_t b) const
{
    if (cell.exact >= 0) {
        const Rgb& c = palette[static_cast<std::size_t>(cell.exact)];
        return c.r == r && c.g == g && c.b == b;
    }
    if (cell.exact == -1) {
        return false;
    }
    const std::uint32_t key = Pack(r, g, b) + 1;
    std::uint32_t slot = HashSlot(key, kExactSlots - 1);
    while (exactKeys[slot] != 0) {
        if (exactKeys[slot] == key) {
            return true;
        }
        slot = (slot + 1) & (kExactSlots - 1);
    }
    return false;
}

Stats ImgPrReducer::Impl::Map(const std::uint8_t* src, int width, int height, std::uint8_t* dst)
{
    Stats stats;
    stats.pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    // t' = (t - 0.5) / strength + 0.5: full mixing at 1, nearest at 0.
    const float gain = strength > 1e-3f ? 1.0f / strength : 1e3f;
    const float bias = 0.5f - 0.5f * gain;
    std::uint32_t lastColor = 0xFFFFFFFFu;
    bool lastExact = false;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = kBayer + (y & 7) * 8;
        const std::size_t base = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3u;
        for (int x = 0; x < width; ++x) {
            const std::size_t o = base + static_cast<std::size_t>(x) * 3u;
            const std::uint8_t b = src[o], g = src[o + 1], r = src[o + 2];
            const std::uint32_t color = Pack(r, g, b);
            if (color == lastColor && lastExact) {
                dst[o] = b;
                dst[o + 1] = g;
                dst[o + 2] = r;
                continue;
            }
            const bool flat = color == lastColor;
            lastColor = color;
            const std::uint32_t key = CellKey(r, g, b);
            Cell& cell = cells[key];
            if (IsExact(cell, r, g, b)) {
                lastExact = true;
                dst[o] = b;
                dst[o + 1] = g;
                dst[o + 2] = r;
                continue;
            }
            lastExact = false;
            if (!cell.ready) {
                FillCell(key);
            }
            const Rgb& c1 = palette[cell.c1];
            const int er = r - c1.r, eg = g - c1.g, eb = b - c1.b;
            stats.error += static_cast<double>(er * er + eg * eg + eb * eb);
            stats.flat += flat ? 1u : 0u;
            const float t = static_cast<float>(er * cell.dr + eg * cell.dg + eb * cell.db) * cell.inv;
            const float threshold = (static_cast<float>(row[x & 7]) + 0.5f) * (1.0f / 64.0f);
            const Rgb& out = t * gain + bias > threshold ? palette[cell.c2] : c1;
            dst[o] = out.b;
            dst[o + 1] = out.g;
            dst[o + 2] = out.r;
        }
    }
    return stats;
}

bool ImgPrReducer::Reduce(const std::uint8_t* src, int width, int height, std::uint8_t* dst)
{
    if (src == nullptr || dst == nullptr || width <= 0 || height <= 0) {
        return false;
    }
    Impl& m = *m_Impl;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (src == dst) {
        // In place: a drift would rebuild from pixels already mapped.
        m.scratch.assign(src, src + count * 3);
        src = m.scratch.data();
    }
    if (!m.havePalette) {
        m.Build(src, static_cast<std::size_t>(width), count);
        m.baseline = m.Map(src, width, height, dst);
        return true;
    }
    const Stats stats = m.Map(src, width, height, dst);
    ++m.sinceRebuild;
    const double px = static_cast<double>(count);
    const double meanError = stats.error / px;
    const double baseError = m.baseline.error / px;
    const bool severe = meanError > baseError * 2.0 + 16.0 || stats.flat > m.baseline.flat + count / 50;
    const bool mild = meanError > baseError * 1.3 + 4.0 || stats.flat > m.baseline.flat + count / 200;
    if (severe || (mild && m.sinceRebuild >= 8)) {
        // The colours drifted: a palette for this picture, and this frame
        // mapped again with it.
        m.Build(src, static_cast<std::size_t>(width), count);
        m.baseline = m.Map(src, width, height, dst);
    }
    return true;
}

bool ImgPrReduceColor(ImgPrReducer& state, const std::uint8_t* src, int width, int height, std::uint8_t* dst)
{
    return state.Reduce(src, width, height, dst);
}

bool ImgPrReduceColor(const std::uint8_t* src, int width, int height, std::uint8_t* dst)
{
    thread_local ImgPrReducer reducer;
    reducer.Reset();
    return reducer.Reduce(src, width, height, dst);
}

} // namespace pelidore
