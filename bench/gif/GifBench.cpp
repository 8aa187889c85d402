// GIF export benchmarks: the fast octree beside the plain sorted
// list, libimagequant at speeds 9, 6 and 3, the single-thread "High Speed"
// frame cost (quantize + write), and the whole export in frames per second.
#include "GifExporter.h"
#include "GifWriter.h"
#include "ImgPrReduceColor.h"
#include "LiqQuantizer.h"
#include "QColorQuantizer.h"
#include "ReferenceOctree.h"
#include "SyntheticFrames.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <array>
#include <filesystem>
#include <map>
#include <memory>

namespace pelidore {

namespace {

enum Content { kUi = 0, kPhoto = 1, kDesktop = 2, kRichUi = 3 };

const char* ContentName(int c)
{
    static const char* const kNames[] = {"ui", "photo", "desktop", "rich ui"};
    return kNames[c];
}

// A few distinct frames of each kind, generated once.
const std::vector<synth::Pixels>& Frames(int content, int w, int h)
{
    static std::map<std::tuple<int, int, int>, std::vector<synth::Pixels>> cache;
    auto& frames = cache[{content, w, h}];
    if (frames.empty()) {
        if (content == kDesktop) {
            synth::DesktopSequence seq(w, h, 1);
            for (int i = 0; i < 8; ++i) {
                frames.push_back(seq.Frame(i));
            }
        } else {
            for (std::uint64_t s = 1; s <= 4; ++s) {
                frames.push_back(content == kUi       ? synth::UiFrame(w, h, s)
                                 : content == kRichUi ? synth::RichUiFrame(w, h, s)
                                                      : synth::PhotoFrame(w, h, s));
            }
        }
    }
    return frames;
}

std::filesystem::path BenchPath(const char* name)
{
    return std::filesystem::temp_directory_path() / name;
}

void SetPixelsProcessed(benchmark::State& state, int w, int h)
{
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(w) * h);
}

void BM_OctreeFast(benchmark::State& state)
{
    const int content = static_cast<int>(state.range(0));
    const int w = 1280, h = 720;
    const auto& frames = Frames(content, w, h);
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(w) * h);
    std::array<GifColorType, 256> colors{};
    std::uint8_t transparent = 0;
    QColorQuantizer q;
    std::size_t i = 0;
    for (auto _ : state) {
        q.Quantize(w, h, frames[i++ % frames.size()].data(), indices.data(), colors.data(), 256, &transparent, false);
        benchmark::DoNotOptimize(indices.data());
    }
    state.SetLabel(ContentName(content));
    SetPixelsProcessed(state, w, h);
}
BENCHMARK(BM_OctreeFast)->Arg(kUi)->Arg(kRichUi)->Arg(kPhoto)->Arg(kDesktop)->Unit(benchmark::kMillisecond);

void BM_OctreePlainList(benchmark::State& state)
{
    const int content = static_cast<int>(state.range(0));
    const int w = 1280, h = 720;
    const auto& frames = Frames(content, w, h);
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(w) * h);
    std::array<GifColorType, 256> colors{};
    std::uint8_t transparent = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        reference::OctreeQuantize(w, h, frames[i++ % frames.size()].data(), indices.data(), colors.data(), 256,
                                  &transparent, false);
        benchmark::DoNotOptimize(indices.data());
    }
    state.SetLabel(ContentName(content));
    SetPixelsProcessed(state, w, h);
}
BENCHMARK(BM_OctreePlainList)
    ->Arg(kUi)
    ->Arg(kRichUi)
    ->Arg(kPhoto)
    ->Arg(kDesktop)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

void BM_LibImageQuant(benchmark::State& state)
{
    const int quality = static_cast<int>(state.range(0)); // 1, 2, 3 -> speed 9, 6, 3
    const int content = static_cast<int>(state.range(1));
    const int w = 1280, h = 720;
    const auto& frames = Frames(content, w, h);
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(w) * h);
    std::vector<std::uint8_t> rgba;
    std::array<GifColorType, 256> colors{};
    std::size_t i = 0;
    for (auto _ : state) {
        LiqQuantize(w, h, frames[i++ % frames.size()].data(), quality, true, rgba, indices.data(), colors.data());
        benchmark::DoNotOptimize(indices.data());
    }
    state.SetLabel(std::string("speed ") + std::to_string(LiqSpeedForQuality(quality)) + " " + ContentName(content));
    SetPixelsProcessed(state, w, h);
}
BENCHMARK(BM_LibImageQuant)
    ->Args({1, kUi})
    ->Args({2, kUi})
    ->Args({3, kUi})
    ->Args({1, kPhoto})
    ->Args({2, kPhoto})
    ->Args({3, kPhoto})
    ->Unit(benchmark::kMillisecond);

// "High Speed" on one thread: a quantizer + WriteGifFrame to a file. The
// fast octree and the plain sorted list go through the same writer, so their
// ratio is the one the speed target speaks of.
template <class Quantize>
void HighSpeedFrames(benchmark::State& state, const char* file, Quantize quantize)
{
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    const int content = static_cast<int>(state.range(2));
    const auto& frames = Frames(content, w, h);
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(w) * h);
    std::array<GifColorType, 256> colors{};
    std::uint8_t transparent = 0;
    GifWriter writer;
    writer.Open(BenchPath(file), w, h, false);
    std::size_t i = 0;
    for (auto _ : state) {
        quantize(w, h, frames[i++ % frames.size()].data(), indices.data(), colors.data(), &transparent);
        writer.WriteFrame(10, colors.data(), indices.data(), transparent);
    }
    writer.Close();
    state.SetLabel(ContentName(content));
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_HighSpeedFrameOneThread(benchmark::State& state)
{
    QColorQuantizer q;
    HighSpeedFrames(
        state, "pelidore-bench-frame.gif",
        [&q](int w, int h, const std::uint8_t* pixels, std::uint8_t* indices, GifColorType* colors,
             std::uint8_t* transparent) { q.Quantize(w, h, pixels, indices, colors, 256, transparent, false); });
}
BENCHMARK(BM_HighSpeedFrameOneThread)
    ->Args({640, 360, kUi})
    ->Args({1280, 720, kUi})
    ->Args({1280, 720, kRichUi})
    ->Args({1280, 720, kDesktop})
    ->Args({1280, 720, kPhoto})
    ->Unit(benchmark::kMillisecond);

void BM_HighSpeedFramePlainList(benchmark::State& state)
{
    HighSpeedFrames(state, "pelidore-bench-frame-plain.gif",
                    [](int w, int h, const std::uint8_t* pixels, std::uint8_t* indices, GifColorType* colors,
                       std::uint8_t* transparent) {
                        reference::OctreeQuantize(w, h, pixels, indices, colors, 256, transparent, false);
                    });
}
BENCHMARK(BM_HighSpeedFramePlainList)
    ->Args({1280, 720, kUi})
    ->Args({1280, 720, kRichUi})
    ->Args({1280, 720, kDesktop})
    ->Args({1280, 720, kPhoto})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

// The whole export as the save thread drives it: Start, a waiting push per
// frame, Stop; frames per second from push to bytes on disk.
void BM_Export(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    const int quality = static_cast<int>(state.range(2));
    const int content = static_cast<int>(state.range(3));
    const auto& frames = Frames(content, w, h);
    const int perExport = 16;
    for (auto _ : state) {
        GifExporter exporter;
        exporter.Start(w, h, false, false, BenchPath("pelidore-bench-export.gif"), quality);
        for (int f = 0; f < perExport; ++f) {
            exporter.PushFrame(frames[static_cast<std::size_t>(f) % frames.size()].data(), true, 0.1f);
        }
        exporter.Stop();
    }
    state.SetLabel(std::string(quality == 0 ? "High Speed" : "libimagequant q" + std::to_string(quality)) + " " +
                   ContentName(content));
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations() * perExport), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Export)
    ->Args({640, 360, 0, kUi})
    ->Args({1280, 720, 0, kUi})
    ->Args({640, 360, 0, kDesktop})
    ->Args({1280, 720, 0, kDesktop})
    ->Args({1280, 720, 1, kUi})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Issue 10: the reducer behind "Dithering", palette kept (steady state over
// a recording), and a frame that builds its palette (the first, or a drift).
void BM_ImgPrReduce(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    const bool fresh = state.range(2) != 0;
    const auto& frames = Frames(kDesktop, w, h);
    std::vector<std::uint8_t> out(frames[0].size());
    ImgPrReducer reducer;
    reducer.Reduce(frames[0].data(), w, h, out.data());
    std::size_t i = 0;
    for (auto _ : state) {
        if (fresh) {
            reducer.Reset();
        }
        reducer.Reduce(frames[i++ % frames.size()].data(), w, h, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetLabel(fresh ? "palette built each frame" : "palette kept");
    SetPixelsProcessed(state, w, h);
}
BENCHMARK(BM_ImgPrReduce)
    ->Args({640, 360, 0})
    ->Args({1280, 720, 0})
    ->Args({1280, 720, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace

} // namespace pelidore

BENCHMARK_MAIN();
