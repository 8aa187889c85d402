#include "SyntheticFrames.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace pelidore {

namespace synth {

std::uint64_t Rng::Next()
{
    std::uint64_t z = (m_State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint32_t Rng::Below(std::uint32_t bound)
{
    return bound == 0 ? 0u : static_cast<std::uint32_t>(Next() % bound);
}

namespace {

std::uint32_t Hash(std::uint32_t a, std::uint32_t b)
{
    std::uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u + (a << 6) + (a >> 2));
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

std::uint8_t Clamp(double v)
{
    return static_cast<std::uint8_t>(v < 0.0 ? 0.0 : (v > 255.0 ? 255.0 : v + 0.5));
}

} // namespace

Canvas::Canvas(int width, int height)
    : m_Width(width), m_Height(height),
      m_Pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u, 0)
{
}

void Canvas::Set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    if (x < 0 || y < 0 || x >= m_Width || y >= m_Height) {
        return;
    }
    const std::size_t row = static_cast<std::size_t>(m_Height - 1 - y);
    std::uint8_t* p = &m_Pixels[(row * static_cast<std::size_t>(m_Width) + static_cast<std::size_t>(x)) * 3u];
    p[0] = b;
    p[1] = g;
    p[2] = r;
}

void Canvas::Blend(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, int alpha256)
{
    if (x < 0 || y < 0 || x >= m_Width || y >= m_Height) {
        return;
    }
    const std::size_t row = static_cast<std::size_t>(m_Height - 1 - y);
    std::uint8_t* p = &m_Pixels[(row * static_cast<std::size_t>(m_Width) + static_cast<std::size_t>(x)) * 3u];
    p[0] = static_cast<std::uint8_t>((p[0] * (256 - alpha256) + b * alpha256) >> 8);
    p[1] = static_cast<std::uint8_t>((p[1] * (256 - alpha256) + g * alpha256) >> 8);
    p[2] = static_cast<std::uint8_t>((p[2] * (256 - alpha256) + r * alpha256) >> 8);
}

void Canvas::Fill(int x, int y, int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    const int x0 = std::max(0, x);
    const int y0 = std::max(0, y);
    const int x1 = std::min(m_Width, x + w);
    const int y1 = std::min(m_Height, y + h);
    for (int yy = y0; yy < y1; ++yy) {
        for (int xx = x0; xx < x1; ++xx) {
            Set(xx, yy, r, g, b);
        }
    }
}

namespace {

// A glyph's coverage, 0..4 per cell of its 6 x 10 box: a 4 x 7 core of
// strokes from the hash at full strength, their 4-neighbours at partial
// strength (anti-aliasing). False for a space.
bool GlyphCoverage(std::uint32_t h, int (&strength)[10][6])
{
    if (h % 7 == 0) {
        return false;
    }
    for (auto& row : strength) {
        for (int& s : row) {
            s = 0;
        }
    }
    for (int gy = 0; gy < 7; ++gy) {
        for (int gx = 0; gx < 4; ++gx) {
            if ((Hash(h, static_cast<std::uint32_t>(gy * 4 + gx)) & 3u) == 0) {
                const int cx = gx + 1;
                const int cy = gy + 1;
                strength[cy][cx] = 4;
                const int ax[4] = {cx - 1, cx + 1, cx, cx};
                const int ay[4] = {cy, cy, cy - 1, cy + 1};
                for (int k = 0; k < 4; ++k) {
                    int& s = strength[ay[k]][ax[k]];
                    s = std::max(s, 1 + static_cast<int>(Hash(h, static_cast<std::uint32_t>(100 + k)) % 2));
                }
            }
        }
    }
    return true;
}

} // namespace

void Canvas::Text(int x, int y, int chars, std::uint32_t seed, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    static const int kLevels[] = {0, 64, 128, 192, 256};
    for (int c = 0; c < chars; ++c) {
        int strength[10][6];
        if (!GlyphCoverage(Hash(seed, static_cast<std::uint32_t>(c)), strength)) {
            continue;
        }
        for (int gy = 0; gy < 10; ++gy) {
            for (int gx = 0; gx < 6; ++gx) {
                if (strength[gy][gx] > 0) {
                    Blend(x + c * 6 + gx, y + gy, r, g, b, kLevels[strength[gy][gx]]);
                }
            }
        }
    }
}

void Canvas::SubpixelText(int x, int y, int chars, std::uint32_t seed, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    for (int c = 0; c < chars; ++c) {
        int strength[10][6];
        if (!GlyphCoverage(Hash(seed, static_cast<std::uint32_t>(c)), strength)) {
            continue;
        }
        for (int gy = 0; gy < 10; ++gy) {
            for (int gx = 0; gx < 6; ++gx) {
                const int left = gx > 0 ? strength[gy][gx - 1] : 0;
                const int mid = strength[gy][gx];
                const int right = gx < 5 ? strength[gy][gx + 1] : 0;
                if (left + mid + right == 0) {
                    continue;
                }
                const int px = x + c * 6 + gx;
                const int py = y + gy;
                if (px < 0 || py < 0 || px >= m_Width || py >= m_Height) {
                    continue;
                }
                // Red sees the left third of the pixel, blue the right.
                const int alpha[3] = {(2 * mid + right) * 64 / 3, mid * 64, (left + 2 * mid) * 64 / 3};
                const std::uint8_t ink[3] = {b, g, r};
                const std::size_t row = static_cast<std::size_t>(m_Height - 1 - py);
                std::uint8_t* p =
                    &m_Pixels[(row * static_cast<std::size_t>(m_Width) + static_cast<std::size_t>(px)) * 3u];
                for (int k = 0; k < 3; ++k) {
                    p[k] = static_cast<std::uint8_t>((p[k] * (256 - alpha[k]) + ink[k] * alpha[k]) >> 8);
                }
            }
        }
    }
}

void Canvas::Gradient(int x, int y, int w, int h, const std::uint8_t from[3], const std::uint8_t to[3], bool horizontal)
{
    const int steps = std::max(1, (horizontal ? w : h) - 1);
    for (int i = 0; i < (horizontal ? w : h); ++i) {
        std::uint8_t c[3];
        for (int k = 0; k < 3; ++k) {
            c[k] = static_cast<std::uint8_t>(from[k] + (to[k] - from[k]) * i / steps);
        }
        if (horizontal) {
            Fill(x + i, y, 1, h, c[0], c[1], c[2]);
        } else {
            Fill(x, y + i, w, 1, c[0], c[1], c[2]);
        }
    }
}

void Canvas::Window(int x, int y, int w, int h, std::uint32_t seed)
{
    Fill(x, y, w, h, 120, 120, 120);           // border
    Fill(x + 1, y + 1, w - 2, 22, 0, 84, 166); // title bar
    Text(x + 8, y + 7, std::max(0, (w - 80) / 12), seed, 255, 255, 255);
    Fill(x + w - 22, y + 5, 14, 14, 200, 60, 50);  // close button
    Fill(x + 1, y + 23, w - 2, 24, 240, 240, 240); // tool bar
    for (int i = 0; i < 5 && 8 + i * 30 + 24 < w; ++i) {
        Fill(x + 8 + i * 30, y + 26, 24, 18, 225, 225, 225);
        // Icons with a vertical gradient.
        for (int row = 0; row < 10; ++row) {
            Fill(x + 12 + i * 30, y + 30 + row, 16, 1, static_cast<std::uint8_t>(60 + i * 30 + row * 6),
                 static_cast<std::uint8_t>(140 + row * 5), static_cast<std::uint8_t>(200 - i * 25 - row * 4));
        }
    }
    Fill(x + 1, y + 47, w - 2, h - 48, 255, 255, 255); // client area
    for (int line = 0; y + 54 + line * 14 + 10 < y + h - 30; ++line) {
        const int len = static_cast<int>(Hash(seed, static_cast<std::uint32_t>(line)) %
                                         static_cast<std::uint32_t>(std::max(1, (w - 24) / 6)));
        const bool link = line % 5 == 3;
        Text(x + 10, y + 54 + line * 14, len, seed * 31u + static_cast<std::uint32_t>(line), link ? 0 : 30,
             link ? 90 : 30, link ? 200 : 30);
    }
    if (h > 80 && w > 160) {
        Fill(x + w - 170, y + h - 28, 76, 22, 0, 120, 215); // buttons
        Text(x + w - 160, y + h - 22, 8, seed + 7u, 255, 255, 255);
        Fill(x + w - 88, y + h - 28, 76, 22, 225, 225, 225);
        Text(x + w - 78, y + h - 22, 8, seed + 9u, 0, 0, 0);
    }
}

void Canvas::RichWindow(int x, int y, int w, int h, std::uint32_t seed)
{
    static const std::uint8_t kTitleFrom[3] = {0, 84, 166};
    static const std::uint8_t kTitleTo[3] = {96, 170, 226};
    static const std::uint8_t kToolFrom[3] = {250, 250, 252};
    static const std::uint8_t kToolTo[3] = {214, 220, 230};
    Fill(x, y, w, h, 120, 120, 120);
    Gradient(x + 1, y + 1, w - 2, 22, kTitleFrom, kTitleTo, true);
    SubpixelText(x + 8, y + 7, std::max(0, (w - 80) / 12), seed, 255, 255, 255);
    Fill(x + w - 22, y + 5, 14, 14, 200, 60, 50);
    Gradient(x + 1, y + 23, w - 2, 24, kToolFrom, kToolTo, false);
    for (int i = 0; i < 6 && 8 + i * 30 + 24 < w; ++i) {
        const std::uint8_t from[3] = {static_cast<std::uint8_t>(60 + i * 30), 140,
                                      static_cast<std::uint8_t>(200 - i * 25)};
        const std::uint8_t to[3] = {static_cast<std::uint8_t>(120 + i * 20), 200,
                                    static_cast<std::uint8_t>(160 - i * 20)};
        Gradient(x + 12 + i * 30, y + 28, 16, 14, from, to, (i & 1) != 0);
    }
    const int side = std::min(160, w / 4);
    Fill(x + 1, y + 47, side, h - 48, 243, 243, 243);
    Fill(x + 1 + side, y + 47, w - 2 - side, h - 48, 255, 255, 255);
    for (int line = 0; y + 54 + line * 16 + 12 < y + h - 4; ++line) {
        const int ly = y + 52 + line * 16;
        const std::uint32_t lineSeed = seed * 31u + static_cast<std::uint32_t>(line);
        SubpixelText(x + 10, ly + 3, std::max(1, (side - 20) / 6), lineSeed + 5u, 60, 60, 60);
        const bool selected = line == 4;
        if (selected) {
            Fill(x + 1 + side, ly, w - 2 - side, 16, 0, 120, 215);
        } else if (line % 2 == 1) {
            Fill(x + 1 + side, ly, w - 2 - side, 16, 245, 247, 250);
        }
        const int len = static_cast<int>(Hash(seed, static_cast<std::uint32_t>(line)) %
                                         static_cast<std::uint32_t>(std::max(1, (w - side - 24) / 6)));
        const bool link = line % 5 == 3;
        SubpixelText(x + side + 10, ly + 3, len, lineSeed, selected ? 255 : (link ? 0 : 30),
                     selected ? 255 : (link ? 90 : 30), selected ? 255 : (link ? 200 : 30));
    }
}

void Canvas::Photo(int x, int y, int w, int h, std::uint32_t seed, int phase, bool vivid)
{
    const double s = static_cast<double>(seed % 97u);
    for (int yy = 0; yy < h; ++yy) {
        for (int xx = 0; xx < w; ++xx) {
            const double u = (xx + phase * 3) * 0.021 + s;
            const double v = (yy + phase) * 0.017 + s * 0.5;
            const std::uint32_t n =
                Hash(seed + static_cast<std::uint32_t>(phase) * 7919u, static_cast<std::uint32_t>(yy * 65536 + xx));
            const double noise = static_cast<double>(static_cast<int>(n & 7u) - 4);
            double r, g, b;
            if (vivid) {
                // Three independent fields: the whole colour cube.
                r = 120 + 70 * std::sin(u) + 40 * std::sin(v * 1.7 + u * 0.3) + noise;
                g = 110 + 60 * std::sin(v + 1.0) + 45 * std::cos(u * 0.6 - v) + noise;
                b = 100 + 80 * std::cos(u * 0.8 + v * 0.9) + 25 * std::sin(v * 2.3) + noise;
            } else {
                // Like a natural picture: mostly luminance, with slowly
                // varying colour of moderate saturation.
                const double l = 118 + 62 * std::sin(u) + 34 * std::sin(v * 1.7 + u * 0.3) +
                                 14 * std::sin(u * 3.1 + v * 2.3) + noise;
                const double cr = 46 * std::sin(u * 0.45 + v * 0.3 + s);
                const double cb = 42 * std::cos(v * 0.4 - u * 0.25 + s * 0.7);
                r = l + cr;
                g = l - 0.45 * cr - 0.35 * cb;
                b = l + cb;
            }
            Set(x + xx, y + yy, Clamp(r), Clamp(g), Clamp(b));
        }
    }
}

void Canvas::Cursor(int x, int y)
{
    for (int row = 0; row < 16; ++row) {
        for (int col = 0; col <= row / 2 + 1 && col < 10; ++col) {
            const bool edge = col == 0 || col == row / 2 + 1 || row == 15;
            if (edge) {
                Set(x + col, y + row, 0, 0, 0);
            } else {
                Set(x + col, y + row, 255, 255, 255);
            }
        }
    }
}

Pixels RandomFrame(int width, int height, std::uint64_t seed)
{
    Rng rng(seed);
    Pixels p(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u);
    std::size_t i = 0;
    while (i < p.size()) {
        std::uint64_t v = rng.Next();
        for (int k = 0; k < 8 && i < p.size(); ++k, ++i) {
            p[i] = static_cast<std::uint8_t>(v >> (k * 8));
        }
    }
    return p;
}

namespace {

// Three windows of random size and place above the taskbar.
void PlaceWindows(Canvas& c, std::uint64_t seed, void (Canvas::*draw)(int, int, int, int, std::uint32_t))
{
    const int width = c.Width();
    const int height = c.Height();
    Rng rng(seed);
    for (int i = 0; i < 3; ++i) {
        const int w = width / 2 + static_cast<int>(rng.Below(static_cast<std::uint32_t>(width / 4 + 1)));
        const int h = height / 2 + static_cast<int>(rng.Below(static_cast<std::uint32_t>(height / 4 + 1)));
        const int x = static_cast<int>(rng.Below(static_cast<std::uint32_t>(std::max(1, width - w))));
        const int y = static_cast<int>(rng.Below(static_cast<std::uint32_t>(std::max(1, height - 30 - h))));
        (c.*draw)(x, y, w, std::min(h, height - 30 - y),
                  static_cast<std::uint32_t>(seed * 13u + static_cast<std::uint64_t>(i)));
    }
}

} // namespace

Pixels UiFrame(int width, int height, std::uint64_t seed)
{
    Canvas c(width, height);
    c.Fill(0, 0, width, height, 0, 99, 177);       // desktop
    c.Fill(0, height - 30, width, 30, 32, 32, 40); // taskbar
    for (int i = 0; i * 40 + 48 < width && i < 12; ++i) {
        for (int row = 0; row < 22; ++row) {
            c.Fill(8 + i * 40, height - 26 + row, 24, 1, static_cast<std::uint8_t>(80 + i * 13 + row * 3),
                   static_cast<std::uint8_t>(160 - i * 7 - row * 2), static_cast<std::uint8_t>(210 - row));
        }
    }
    PlaceWindows(c, seed, &Canvas::Window);
    c.Cursor(width / 3, height / 3);
    return c.Data();
}

Pixels RichUiFrame(int width, int height, std::uint64_t seed)
{
    static const std::uint8_t kDesktopTop[3] = {24, 70, 140};
    static const std::uint8_t kDesktopBottom[3] = {110, 40, 120};
    Canvas c(width, height);
    c.Gradient(0, 0, width, height - 30, kDesktopTop, kDesktopBottom, false);
    c.Fill(0, height - 30, width, 30, 32, 32, 40);
    for (int i = 0; i * 40 + 48 < width && i < 12; ++i) {
        c.SubpixelText(8 + i * 40, height - 20, 4, static_cast<std::uint32_t>(seed + i), 230, 230, 230);
    }
    PlaceWindows(c, seed, &Canvas::RichWindow);
    c.Cursor(width / 3, height / 3);
    return c.Data();
}

Pixels PhotoFrame(int width, int height, std::uint64_t seed)
{
    Canvas c(width, height);
    c.Photo(0, 0, width, height, static_cast<std::uint32_t>(seed));
    return c.Data();
}

Pixels ColorsFrame(int width, int height, int colors)
{
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::size_t parts = 0;
    for (int i = 0; i < colors; ++i) {
        parts += static_cast<std::size_t>(i % 7 + 1);
    }
    Pixels p(count * 3u);
    std::size_t pos = 0;
    std::uint32_t j = 0;
    for (int i = 0; i < colors; ++i) {
        // Up to 2^21 colours spread over the cube and distinct in their top
        // 7 bits (so each has an octree leaf of its own), never in the leaf
        // of the transparency key (R 255, G 0, B 255).
        std::uint32_t key;
        do {
            key = (j++ * 0x9E3B5u) & 0x1FFFFFu; // odd multiplier: a bijection
        } while (key == ((127u << 14) | 127u));
        std::uint8_t r = static_cast<std::uint8_t>((key >> 14) << 1);
        std::uint8_t g = static_cast<std::uint8_t>(((key >> 7) & 127u) << 1);
        std::uint8_t b = static_cast<std::uint8_t>((key & 127u) << 1);
        if (colors > (1 << 21)) {
            r = static_cast<std::uint8_t>(i >> 16);
            g = static_cast<std::uint8_t>(i >> 8);
            b = static_cast<std::uint8_t>(i);
        }
        std::size_t n = count * static_cast<std::size_t>(i % 7 + 1) / parts;
        if (i == colors - 1) {
            n = count - pos;
        }
        if (n == 0 && pos < count) {
            n = 1;
        }
        for (std::size_t k = 0; k < n && pos < count; ++k, ++pos) {
            p[pos * 3] = b;
            p[pos * 3 + 1] = g;
            p[pos * 3 + 2] = r;
        }
    }
    return p;
}

DesktopSequence::DesktopSequence(int width, int height, std::uint64_t seed, bool vividWallpaper, bool scrolling)
    : m_Width(width), m_Height(height), m_Seed(seed), m_Scrolling(scrolling)
{
    Canvas c(width, height);
    // Wallpaper: a photo.
    c.Photo(0, 0, width, height, static_cast<std::uint32_t>(seed * 7u + 11u), 0, vividWallpaper);
    c.Fill(0, height - 30, width, 30, 32, 32, 40);
    for (int i = 0; i * 40 + 48 < width && i < 12; ++i) {
        for (int row = 0; row < 22; ++row) {
            c.Fill(8 + i * 40, height - 26 + row, 24, 1, static_cast<std::uint8_t>(80 + i * 13 + row * 3),
                   static_cast<std::uint8_t>(160 - i * 7 - row * 2), static_cast<std::uint8_t>(210 - row));
        }
    }
    // Editor window, left; image viewer, right.
    c.Window(width / 32, height / 20, width * 9 / 16, height * 3 / 4, static_cast<std::uint32_t>(seed * 7u + 1u));
    const int vx = width * 5 / 8;
    const int vy = height / 10;
    const int vw = width * 11 / 32;
    const int vh = height * 5 / 8;
    c.Window(vx, vy, vw, vh, static_cast<std::uint32_t>(seed * 7u + 2u));
    c.Photo(vx + 4, vy + 50, vw - 8, vh - 90, static_cast<std::uint32_t>(seed * 7u + 3u));
    m_Base = c.Data();
}

Pixels DesktopSequence::Frame(int index) const
{
    Canvas c(m_Width, m_Height);
    c.Data() = m_Base;
    if (m_Scrolling) {
        TypeAndScroll(c, index);
    } else {
        Type(c, index);
    }
    // A video-like photo region in the viewer, about 4 % of the screen.
    const int vw = m_Width / 5;
    const int vh = m_Height / 5;
    c.Photo(m_Width * 5 / 8 + 20, m_Height / 10 + 70, vw, vh, static_cast<std::uint32_t>(m_Seed * 7u + 5u), index);
    // The cursor moves along a path.
    const int cx = (m_Width / 4 + index * 7) % std::max(1, m_Width - 20);
    const int cy = m_Height / 2 + static_cast<int>(60 * std::sin(index * 0.1));
    c.Cursor(cx, cy);
    return c.Data();
}

void DesktopSequence::Type(Canvas& c, int index) const
{
    // Typing: the editor's first free line fills up, a few characters a frame.
    const int ex = m_Width / 32 + 10;
    const int ey = m_Height / 20 + 54;
    const int lineChars = std::max(1, (m_Width * 9 / 16 - 24) / 6);
    const int typed = index * 2;
    const int lines = std::max(1, (m_Height * 3 / 4 - 100) / 14);
    for (int line = 0; line <= typed / lineChars && line < lines; ++line) {
        const int y = ey + line * 14;
        c.Fill(ex - 2, y - 1, lineChars * 6 + 4, 12, 255, 255, 255);
        const int n = line < typed / lineChars ? lineChars : typed % lineChars;
        c.Text(ex, y, n, static_cast<std::uint32_t>(m_Seed * 101u + static_cast<std::uint64_t>(line)), 30, 30, 30);
        if (line == typed / lineChars && (index / 5) % 2 == 0) {
            c.Fill(ex + n * 6, y, 1, 10, 0, 0, 0); // caret
        }
    }
}

// The editor holds a page of text; four characters a frame go into its last
// line, and a full last line scrolls the page up by one line.
void DesktopSequence::TypeAndScroll(Canvas& c, int index) const
{
    const int ex = m_Width / 32 + 10;
    const int ey = m_Height / 20 + 54;
    const int lineChars = std::max(1, (m_Width * 9 / 16 - 24) / 6);
    const int lines = std::max(1, (m_Height * 3 / 4 - 100) / 14);
    const int typed = index * 4;
    const int current = lines - 1 + typed / lineChars;
    const int first = std::max(0, current - lines + 1);
    c.Fill(ex - 2, ey - 1, lineChars * 6 + 4, lines * 14, 255, 255, 255);
    for (int line = first; line <= current; ++line) {
        const int y = ey + (line - first) * 14;
        const int n = line < current ? lineChars : typed % lineChars;
        c.Text(ex, y, n, static_cast<std::uint32_t>(m_Seed * 101u + static_cast<std::uint64_t>(line)), 30, 30, 30);
        if (line == current && (index / 5) % 2 == 0) {
            c.Fill(ex + n * 6, y, 1, 10, 0, 0, 0); // caret
        }
    }
}

double Psnr(const std::uint8_t* a, const std::uint8_t* b, std::size_t bytes)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < bytes; ++i) {
        const double d = static_cast<double>(a[i]) - static_cast<double>(b[i]);
        sum += d * d;
    }
    if (sum == 0.0 || bytes == 0) {
        return 99.0;
    }
    const double mse = sum / static_cast<double>(bytes);
    return 10.0 * std::log10(255.0 * 255.0 / mse);
}

} // namespace synth

} // namespace pelidore
