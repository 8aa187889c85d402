// Synthetic test content for the GIF export tests and benchmarks: random,
// UI-like, photo-like frames and desktop-like sequences. Every frame is in the
// frame pixel layout: width x height x 3 bytes, blue, green, red, bottom row
// first. Deterministic for a given seed (photo content uses libm, so two
// platforms may differ in the last bit of a few pixels).
#pragma once

#include <cstdint>
#include <vector>

namespace pelidore {

namespace synth {

using Pixels = std::vector<std::uint8_t>;

// A small, portable pseudo-random generator (splitmix64).
class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_State(seed) {}
    std::uint64_t Next();
    // Uniform in [0, bound).
    std::uint32_t Below(std::uint32_t bound);

private:
    std::uint64_t m_State;
};

// Drawing in top-down coordinates onto a bottom-up BGR buffer.
class Canvas {
public:
    Canvas(int width, int height);
    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    void Set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b);
    void Blend(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, int alpha256);
    void Fill(int x, int y, int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b);
    // A line of pseudo-glyphs (6 x 10 cells, anti-aliased edges), `chars`
    // characters drawn from `seed`, colour r, g, b over what is there.
    void Text(int x, int y, int chars, std::uint32_t seed, std::uint8_t r, std::uint8_t g, std::uint8_t b);
    // The same glyphs with sub-pixel anti-aliasing: each colour channel has
    // its own coverage, shifted by a third of a pixel, as LCD text rendering
    // does (coloured fringes, many more colours).
    void SubpixelText(int x, int y, int chars, std::uint32_t seed, std::uint8_t r, std::uint8_t g, std::uint8_t b);
    // A linear gradient from the first colour to the second, left to right
    // (horizontal) or top to bottom.
    void Gradient(int x, int y, int w, int h, const std::uint8_t from[3], const std::uint8_t to[3], bool horizontal);
    // A UI window: border, title bar, white client area with text lines,
    // a few buttons.
    void Window(int x, int y, int w, int h, std::uint32_t seed);
    // A UI window drawn as current desktops do: gradient title and tool
    // bars, sub-pixel text, striped rows with a selected one, a side bar.
    void RichWindow(int x, int y, int w, int h, std::uint32_t seed);
    // Photo-like content (smooth fields plus sensor noise) in a rectangle;
    // phase shifts the content (animation). Natural: mostly luminance with
    // moderate colour; vivid: three independent fields filling the cube.
    void Photo(int x, int y, int w, int h, std::uint32_t seed, int phase = 0, bool vivid = false);
    // The mouse arrow with its tip at x, y.
    void Cursor(int x, int y);
    Pixels& Data() { return m_Pixels; }
    const Pixels& Data() const { return m_Pixels; }

private:
    int m_Width;
    int m_Height;
    Pixels m_Pixels;
};

// Every byte random.
Pixels RandomFrame(int width, int height, std::uint64_t seed);
// Flat UI: a desktop colour, windows with title bars, buttons and
// anti-aliased text, gradient icons. Hundreds of distinct colours, long runs.
Pixels UiFrame(int width, int height, std::uint64_t seed);
// The same layout with gradients (desktop, title and tool bars) and
// sub-pixel anti-aliased text over several backgrounds: thousands of
// colours, short runs in the gradients and the text.
Pixels RichUiFrame(int width, int height, std::uint64_t seed);
// Photo-like: smooth colour fields with noise; tens of thousands of colours.
Pixels PhotoFrame(int width, int height, std::uint64_t seed);
// Exactly `colors` distinct colours (1..2^21, and width x height at least
// that), in runs along the buffer, colour i taking (i % 7 + 1) parts of the
// area. The colours differ in their top 7 bits, so each has an octree leaf
// of its own, and none shares the leaf of the key colour magenta.
Pixels ColorsFrame(int width, int height, int colors);

// A desktop-like recording: a photo as wallpaper (vivid: see Photo), taskbar, an editor being typed into,
// an image viewer with a static photo and an animated (video-like) photo
// region, and a moving cursor; about 5 % of the pixels change per frame.
// scrolling: the editor is full of text and typed into faster, scrolling
// up one line whenever its last line fills.
class DesktopSequence {
public:
    DesktopSequence(int width, int height, std::uint64_t seed = 1, bool vividWallpaper = false, bool scrolling = false);
    Pixels Frame(int index) const;
    int Width() const { return m_Width; }
    int Height() const { return m_Height; }

private:
    int m_Width;
    int m_Height;
    void Type(Canvas& c, int index) const;
    void TypeAndScroll(Canvas& c, int index) const;

    std::uint64_t m_Seed;
    bool m_Scrolling;
    Pixels m_Base; // everything that never changes
};

// Mean PSNR helpers over BGR buffers of equal size (in dB; 99 for identical).
double Psnr(const std::uint8_t* a, const std::uint8_t* b, std::size_t bytes);

} // namespace synth

} // namespace pelidore
