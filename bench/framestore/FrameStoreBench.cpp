// Frame store codec speed on 1280 x 720 frames: encode and decode of
// frames that are identical, that change in 2 % of their area (a moving
// window) and that change everywhere, beside a plain memcpy of the frame and
// snappy on the raw frame, measured in the same run. Figures: bench/README.md.
//
// Counters: bytes_per_second is raw frame bytes (N = 2764800) per second;
// ratio is the blob (or snappy output) size over N.
#include "BenchFrames.h"
#include "CFrameDecoder.h"
#include "CFrameEncoder.h"
#include "CFrameStoreReader.h"
#include "CFrameStoreWriter.h"

#include <benchmark/benchmark.h>
#include <snappy.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace pelidore {

namespace {

using namespace benchframes;

// The scene a benchmark runs on is its argument; the label names it in the report.
int LabelledScene(benchmark::State& state)
{
    const int scene = int(state.range(0));
    state.SetLabel(SceneName(scene));
    return scene;
}

void SetFrameBytesProcessed(benchmark::State& state)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kN));
}

void SetCounters(benchmark::State& state, double compressedBytesPerFrame)
{
    SetFrameBytesProcessed(state);
    state.counters["ratio"] = compressedBytesPerFrame / double(kN);
}

// Each iteration compresses the next frame of the cyclic sequence; compress
// says how many bytes that frame came to, and the ratio is their mean.
template <typename Compress>
void CompressEachFrameInTurn(benchmark::State& state, const std::vector<Bytes>& frames, Compress compress)
{
    std::size_t total = 0, count = 0, i = 0;
    for (auto _ : state) {
        total += compress(frames[i]);
        ++count;
        i = (i + 1) % frames.size();
    }
    SetCounters(state, double(total) / double(count));
}

// ---- Baselines ------------------------------------------------------------------

void BM_Memcpy(benchmark::State& state)
{
    const Bytes& src = Frames(kTwoPercent)[0];
    Bytes dst(kN);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kN);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    SetFrameBytesProcessed(state);
}

void BM_SnappyRawCompress(benchmark::State& state)
{
    const int scene = LabelledScene(state);
    const auto& frames = Frames(scene);
    std::vector<char> out(snappy::MaxCompressedLength(kN));
    CompressEachFrameInTurn(state, frames, [&](const Bytes& frame) {
        std::size_t length = 0;
        snappy::RawCompress(reinterpret_cast<const char*>(frame.data()), kN, out.data(), &length);
        benchmark::DoNotOptimize(out.data());
        return length;
    });
}

void BM_SnappyRawUncompress(benchmark::State& state)
{
    const int scene = LabelledScene(state);
    std::string packed;
    snappy::Compress(reinterpret_cast<const char*>(Frames(scene)[0].data()), kN, &packed);
    Bytes out(kN);
    for (auto _ : state) {
        snappy::RawUncompress(packed.data(), packed.size(), reinterpret_cast<char*>(out.data()));
        benchmark::DoNotOptimize(out.data());
    }
    SetCounters(state, double(packed.size()));
}

// ---- The codec ------------------------------------------------------------------

// Delta frames: each iteration codes the next frame of the cyclic sequence
// against the one before it.
void BM_EncodeDelta(benchmark::State& state)
{
    const int scene = LabelledScene(state);
    const auto& frames = Frames(scene);
    CFrameEncoder codec;
    codec.Init(kN);
    codec.Encode(frames.back().data(), true);
    CompressEachFrameInTurn(state, frames, [&](const Bytes& frame) {
        if (!codec.Encode(frame.data(), false))
            state.SkipWithError("encode failed");
        return codec.BlobLength();
    });
}

void BM_EncodeKey(benchmark::State& state)
{
    const int scene = LabelledScene(state);
    const auto& frames = Frames(scene);
    CFrameEncoder codec;
    codec.Init(kN);
    CompressEachFrameInTurn(state, frames, [&](const Bytes& frame) {
        codec.Encode(frame.data(), true);
        return codec.BlobLength();
    });
}

// The blobs of the cyclic sequence: delta k codes frame k against frame k - 1,
// so decoding them in a loop from frame 0 is exact.
struct Blobs {
    Bytes key;
    std::vector<Bytes> deltas;
    double meanDelta = 0;
};

const Blobs& SceneBlobs(int scene)
{
    static Blobs blobs[3];
    Blobs& b = blobs[scene];
    if (b.deltas.empty()) {
        const auto& frames = Frames(scene);
        CFrameEncoder codec;
        codec.Init(kN);
        codec.Encode(frames[0].data(), true);
        b.key = codec.Blob();
        double total = 0;
        for (std::size_t k = 1; k <= frames.size(); ++k) {
            codec.Encode(frames[k % frames.size()].data(), false);
            b.deltas.push_back(codec.Blob());
            total += double(b.deltas.back().size());
        }
        b.meanDelta = total / double(b.deltas.size());
    }
    return b;
}

void BM_DecodeDelta(benchmark::State& state)
{
    const int scene = LabelledScene(state);
    const Blobs& blobs = SceneBlobs(scene);
    CFrameDecoder codec;
    codec.Init(kN);
    Bytes pixels;
    std::string why;
    codec.Decode(blobs.key.data(), blobs.key.size(), pixels, &why);
    std::size_t i = 0;
    for (auto _ : state) {
        const Bytes& blob = blobs.deltas[i];
        if (!codec.Decode(blob.data(), blob.size(), pixels, &why))
            state.SkipWithError(why.c_str());
        benchmark::DoNotOptimize(pixels.data());
        i = (i + 1) % blobs.deltas.size();
    }
    if (pixels != Frames(scene)[i % Frames(scene).size()])
        state.SkipWithError("decoded frame differs");
    SetCounters(state, blobs.meanDelta);
}

void BM_DecodeKey(benchmark::State& state)
{
    const int scene = LabelledScene(state);
    const Blobs& blobs = SceneBlobs(scene);
    CFrameDecoder codec;
    codec.Init(kN);
    Bytes pixels;
    std::string why;
    for (auto _ : state) {
        codec.Decode(blobs.key.data(), blobs.key.size(), pixels, &why);
        benchmark::DoNotOptimize(pixels.data());
    }
    SetCounters(state, double(blobs.key.size()));
}

// ---- The whole store: Append to a file, and NextFrame back ---------------------

void BM_StoreAppend(benchmark::State& state)
{
    const int scene = LabelledScene(state);
    const auto& frames = Frames(scene);
    const auto path = std::filesystem::temp_directory_path() / "pelidore-bench-temp.dat";
    CFrameStoreWriter store;
    store.Create(kW, kH);
    store.OpenForWriting(path);
    std::size_t i = 0;
    for (auto _ : state) {
        if (!store.Append(0.1f, frames[i].data()))
            state.SkipWithError("append failed");
        i = (i + 1) % frames.size();
    }
    const double bytes = double(store.BytesWritten() - FrameStoreLayout::kHeaderBytes);
    const int count = store.FramesWritten();
    store.Close();
    std::filesystem::remove(path);
    SetCounters(state, bytes / std::max(1, count));
}

void BM_StoreNextFrame(benchmark::State& state)
{
    const int scene = LabelledScene(state);
    const auto& frames = Frames(scene);
    const auto path = std::filesystem::temp_directory_path() / "pelidore-bench-read.dat";
    {
        CFrameStoreWriter store;
        store.Create(kW, kH);
        store.OpenForWriting(path);
        for (int k = 0; k < 60; ++k)
            store.Append(0.1f, frames[std::size_t(k) % frames.size()].data());
        store.Close();
    }
    CFrameStoreReader store;
    CFrameStoreReader::Frame frame;
    store.OpenForReading(path);
    for (auto _ : state) {
        CFrameStoreReader::ReadStatus status = store.NextFrame(frame);
        if (status == CFrameStoreReader::ReadStatus::End) {
            state.PauseTiming();
            store.OpenForReading(path);
            state.ResumeTiming();
            status = store.NextFrame(frame);
        }
        if (status != CFrameStoreReader::ReadStatus::Frame)
            state.SkipWithError("read failed");
    }
    const double bytes = double(store.FileSize() - FrameStoreLayout::kHeaderBytes) / 60.0;
    store.Close();
    std::filesystem::remove(path);
    SetCounters(state, bytes);
}

} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SnappyRawCompress)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SnappyRawUncompress)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeDelta)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeDelta)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeKey)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeKey)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StoreAppend)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StoreNextFrame)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace pelidore

BENCHMARK_MAIN();
