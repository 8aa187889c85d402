// Quality of the GIF export per configuration: mean PSNR of what a
// viewer shows against the recorded frames, file size, and time per frame, on
// desktop-like sequences with a photo-like region.
//
//   GifQuality [--frames N] [--size WxH]... [--liq] [--bound] [--natural-only]
//
// Without --size: 640x360 and 1280x720. --liq adds the libimagequant
// qualities (slow on photo content). --bound adds what one palette of 255
// colours can reach on the first frame: libimagequant at its slowest, best
// setting, with no dithering (what "Dithering" is measured against).
#include "GifExporter.h"
#include "GifPlayer.h"
#include "GifTestUtil.h"
#include "ImgPrReduceColor.h"
#include "QColorQuantizer.h"
#include "SyntheticFrames.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <tuple>
#include <vector>

namespace pelidore {

namespace {

struct Config {
    const char* name;
    int quality;
    bool dithering;
    bool transparency;
};

struct Outcome {
    double psnr = 0.0;
    double minPsnr = 99.0;
    std::uint64_t bytes = 0;
    double msPerFrame = 0.0;
    int frames = 0;
};

Outcome Run(const Config& config, const std::vector<synth::Pixels>& frames, int w, int h)
{
    const auto path = giftest::TempPath("quality.gif");
    Outcome o;
    const auto t0 = std::chrono::steady_clock::now();
    GifExporter exporter;
    if (!exporter.Start(w, h, config.dithering, config.transparency, path, config.quality)) {
        std::fprintf(stderr, "cannot create %s\n", path.u8string().c_str());
        std::exit(1);
    }
    for (const auto& f : frames) {
        exporter.PushFrame(f.data(), true, 0.1f);
    }
    exporter.Stop();
    const auto t1 = std::chrono::steady_clock::now();
    o.msPerFrame = std::chrono::duration<double, std::milli>(t1 - t0).count() / static_cast<double>(frames.size());
    const auto bytes = giftest::ReadBytes(path);
    o.bytes = bytes.size();
    const auto gif = giftest::Decode(bytes);
    giftest::GifPlayer player(gif);
    double sum = 0.0;
    for (std::size_t i = 0; i < frames.size() && player.Next(); ++i) {
        const double psnr = synth::Psnr(player.Picture().data(), frames[i].data(), frames[i].size());
        sum += psnr;
        o.minPsnr = psnr < o.minPsnr ? psnr : o.minPsnr;
    }
    o.frames = static_cast<int>(gif.frames.size());
    o.psnr = o.frames == 0 ? 0.0 : sum / o.frames;
    return o;
}

// The reducer alone: CPU ms per frame with its palette kept, and the PSNR of
// reducer + octree (what "High Speed" with "Dithering" shows, without
// transparency) for a dither strength.
void ReducerSweep(const std::vector<synth::Pixels>& frames, int w, int h)
{
    std::vector<std::uint8_t> reduced(frames[0].size());
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(w) * h);
    GifColorType colors[256];
    std::uint8_t transparent = 0;
    QColorQuantizer octree;
    for (const float strength : {1.0f, 0.75f, 0.5f, 0.0f}) {
        ImgPrReducer reducer;
        reducer.SetDitherStrength(strength);
        double ms = 0.0, first = 0.0, psnr = 0.0, exact = 0.0;
        int used = 0, maxUsed = 0;
        for (const auto& f : frames) {
            // CPU time of this one thread: the machine may be shared.
            const std::clock_t t0 = std::clock();
            ImgPrReduceColor(reducer, f.data(), w, h, reduced.data());
            const double took = 1000.0 * static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC;
            if (&f == &frames[0]) {
                first = took;
            } else {
                ms += took;
            }
            octree.Quantize(w, h, reduced.data(), indices.data(), colors, 256, &transparent, false, &used);
            maxUsed = used > maxUsed ? used : maxUsed;
            std::vector<std::uint8_t> shown(f.size());
            bool same = true;
            for (std::size_t i = 0; i < indices.size(); ++i) {
                shown[i * 3] = colors[indices[i]].Blue;
                shown[i * 3 + 1] = colors[indices[i]].Green;
                shown[i * 3 + 2] = colors[indices[i]].Red;
                same = same && shown[i * 3] == reduced[i * 3] && shown[i * 3 + 1] == reduced[i * 3 + 1] &&
                       shown[i * 3 + 2] == reduced[i * 3 + 2];
            }
            exact += same ? 1.0 : 0.0;
            psnr += synth::Psnr(shown.data(), f.data(), f.size());
        }
        const double n = static_cast<double>(frames.size());
        std::printf(
            "  reducer, dither strength %.2f: %6.2f ms/frame (first %6.2f ms), %6.2f dB, palette %d (%d exact), "
            "%d rebuilds, octree exact on %.0f%% of frames\n",
            strength, n > 1 ? ms / (n - 1) : 0.0, first, psnr / n, reducer.PaletteSize(), reducer.ExactColors(),
            reducer.Rebuilds(), 100.0 * exact / n);
        (void)maxUsed;
    }
}

// PSNR of the first frame through libimagequant at speed 1 with 255 colours
// (one left for the transparency key, as in the exporter) and no dithering;
// a negative value when libimagequant refuses.
double PaletteBound(const synth::Pixels& frame, int w, int h)
{
    const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    std::vector<std::uint8_t> rgba(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        rgba[i * 4] = frame[i * 3 + 2];
        rgba[i * 4 + 1] = frame[i * 3 + 1];
        rgba[i * 4 + 2] = frame[i * 3];
        rgba[i * 4 + 3] = 255;
    }
    liq_attr* attr = liq_attr_create();
    liq_image* image = attr ? liq_image_create_rgba(attr, rgba.data(), w, h, 0) : nullptr;
    liq_result* result = nullptr;
    double psnr = -1.0;
    if (image && liq_set_speed(attr, 1) == LIQ_OK && liq_set_max_colors(attr, 255) == LIQ_OK &&
        liq_image_quantize(image, attr, &result) == LIQ_OK && liq_set_dithering_level(result, 0.0f) == LIQ_OK) {
        std::vector<std::uint8_t> indices(count);
        if (liq_write_remapped_image(result, image, indices.data(), indices.size()) == LIQ_OK) {
            const liq_palette* palette = liq_get_palette(result);
            std::vector<std::uint8_t> shown(count * 3);
            for (std::size_t i = 0; i < count; ++i) {
                const liq_color& c = palette->entries[indices[i]];
                shown[i * 3] = c.b;
                shown[i * 3 + 1] = c.g;
                shown[i * 3 + 2] = c.r;
            }
            psnr = synth::Psnr(shown.data(), frame.data(), shown.size());
        }
    }
    if (result) {
        liq_result_destroy(result);
    }
    if (image) {
        liq_image_destroy(image);
    }
    if (attr) {
        liq_attr_destroy(attr);
    }
    return psnr;
}

} // namespace

} // namespace pelidore

using namespace pelidore;

int main(int argc, char** argv)
{
    int frameCount = 100;
    bool liq = false;
    bool bound = false;
    bool vividToo = true;
    std::vector<std::pair<int, int>> sizes;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            frameCount = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            int w = 0, h = 0;
            if (std::sscanf(argv[++i], "%dx%d", &w, &h) == 2 && w > 0 && h > 0) {
                sizes.push_back({w, h});
            }
        } else if (std::strcmp(argv[i], "--liq") == 0) {
            liq = true;
        } else if (std::strcmp(argv[i], "--bound") == 0) {
            bound = true;
        } else if (std::strcmp(argv[i], "--natural-only") == 0) {
            vividToo = false;
        } else {
            std::fprintf(stderr, "usage: GifQuality [--frames N] [--size WxH]... [--liq] [--bound] [--natural-only]\n");
            return 2;
        }
    }
    if (sizes.empty()) {
        sizes = {{640, 360}, {1280, 720}};
    }
    // The natural-photo sequence at every size, then the vivid (hardest) one.
    std::vector<std::tuple<int, int, bool>> runs;
    for (const auto& [w, h] : sizes) {
        runs.emplace_back(w, h, false);
    }
    if (vividToo) {
        for (const auto& [w, h] : sizes) {
            runs.emplace_back(w, h, true);
        }
    }
    std::vector<Config> configs = {
        {"octree (plain High Speed, no Dithering)", 0, false, false},
        {"octree + Transparent", 0, false, true},
        {"High Speed + Dithering", 0, true, false},
        {"High Speed + Dithering + Transparent", 0, true, true},
    };
    if (liq) {
        configs.push_back({"Low Quality (libimagequant 9)", 1, false, false});
        configs.push_back({"Low Quality + Dithering (libimagequant 9)", 1, true, false});
        configs.push_back({"Medium Quality + Dithering (libimagequant 6)", 2, true, false});
    }
    for (const auto& [w, h, vivid] : runs) {
        synth::DesktopSequence seq(w, h, 1, vivid);
        std::vector<synth::Pixels> frames;
        for (int i = 0; i < frameCount; ++i) {
            frames.push_back(seq.Frame(i));
        }
        std::printf("desktop-like sequence %dx%d, %s wallpaper, %d frames\n", w, h, vivid ? "vivid" : "natural",
                    frameCount);
        Outcome base;
        Outcome baseTransparent;
        for (const Config& c : configs) {
            const Outcome o = Run(c, frames, w, h);
            if (&c == &configs[0]) {
                base = o;
            }
            if (&c == &configs[1]) {
                baseTransparent = o;
            }
            std::printf("  %-46s %6.2f dB mean (%6.2f min) %9.1f KiB  %.2fx size of octree%s  %6.2f ms/frame\n", c.name,
                        o.psnr, o.minPsnr, static_cast<double>(o.bytes) / 1024.0,
                        static_cast<double>(o.bytes) /
                            static_cast<double>(c.transparency ? baseTransparent.bytes : base.bytes),
                        c.transparency ? " + Transparent" : "", o.msPerFrame);
        }
        if (bound) {
            std::printf(
                "  one palette at best, first frame (libimagequant speed 1, 255 colours, no dither): %6.2f dB\n",
                PaletteBound(frames[0], w, h));
        }
        ReducerSweep(frames, w, h);
    }
    return 0;
}
