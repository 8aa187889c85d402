// Moving about a closed 1280 x 720 frame store of 1000 frames (the 2 %
// window scene, a key frame every 20th) with CFrameStoreSeeker: random
// seeks, the frames farthest from a key frame, steps forward and back, and
// the indexing scan of Open. Figures:
// bench/README.md.
//
// Counters: median_ms and worst_ms are over the single moves of the run
// (wall clock), beside Google Benchmark's mean per move.
#include "BenchFrames.h"
#include "CFrameStoreSeeker.h"
#include "CFrameStoreWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <vector>

namespace pelidore {

namespace {

using namespace benchframes;

constexpr int kStoreFrames = 1000;

// Written once per run, removed at exit.
class BenchStore {
public:
    BenchStore() : m_Path(std::filesystem::temp_directory_path() / "pelidore-bench-seek.dat")
    {
        const auto& frames = Frames(kTwoPercent);
        CFrameStoreWriter store;
        m_Ok = store.Create(kW, kH) && store.OpenForWriting(m_Path);
        for (int i = 0; m_Ok && i < kStoreFrames; ++i)
            m_Ok = store.Append(0.1f, frames[std::size_t(i) % frames.size()].data());
        m_Ok = store.Close() && m_Ok;
    }
    ~BenchStore()
    {
        std::error_code ignored;
        std::filesystem::remove(m_Path, ignored);
    }
    bool Ok() const { return m_Ok; }
    const std::filesystem::path& Path() const { return m_Path; }

private:
    std::filesystem::path m_Path;
    bool m_Ok = false;
};

const BenchStore& Store()
{
    static const BenchStore store;
    return store;
}

bool OpenSeeker(benchmark::State& state, CFrameStoreSeeker& seeker)
{
    if (!Store().Ok() || !seeker.Open(Store().Path()) || seeker.FrameCount() != kStoreFrames) {
        state.SkipWithError("cannot write or open the store");
        return false;
    }
    return true;
}

// Times each move, `next` naming the frame to move to.
template <typename Next>
void TimeMoves(benchmark::State& state, CFrameStoreSeeker& seeker, Next next)
{
    std::vector<double> ms;
    for (auto _ : state) {
        const int index = next();
        const auto start = std::chrono::steady_clock::now();
        const std::uint8_t* pixels = seeker.FrameAt(index);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (!pixels)
            state.SkipWithError(seeker.ErrorMessage().c_str());
        benchmark::DoNotOptimize(pixels);
    }
    if (ms.empty())
        return;
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["worst_ms"] = ms.back();
}

void BM_SeekRandom(benchmark::State& state)
{
    CFrameStoreSeeker seeker;
    if (!OpenSeeker(state, seeker))
        return;
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> frame(0, kStoreFrames - 1);
    TimeMoves(state, seeker, [&] { return frame(rng); });
}

// The last frame before each key frame, in turn: every move decodes a key
// frame and the 19 delta frames after it, the most a move ever decodes here.
void BM_SeekFarthestFromKey(benchmark::State& state)
{
    CFrameStoreSeeker seeker;
    if (!OpenSeeker(state, seeker))
        return;
    int index = -1;
    TimeMoves(state, seeker, [&] { return index = (index + CFrameStoreWriter::kKeyFrameInterval) % kStoreFrames; });
}

void BM_SeekStepForward(benchmark::State& state)
{
    CFrameStoreSeeker seeker;
    if (!OpenSeeker(state, seeker))
        return;
    int index = -1;
    TimeMoves(state, seeker, [&] { return index = (index + 1) % kStoreFrames; });
}

void BM_SeekStepBack(benchmark::State& state)
{
    CFrameStoreSeeker seeker;
    if (!OpenSeeker(state, seeker))
        return;
    int index = 0;
    TimeMoves(state, seeker, [&] { return index = (index + kStoreFrames - 1) % kStoreFrames; });
}

void BM_SeekOpen(benchmark::State& state)
{
    for (auto _ : state) {
        CFrameStoreSeeker seeker;
        if (!OpenSeeker(state, seeker))
            return;
    }
}

} // namespace

BENCHMARK(BM_SeekRandom)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SeekFarthestFromKey)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SeekStepForward)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SeekStepBack)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SeekOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace pelidore

BENCHMARK_MAIN();
