// Writes the fuzzer's seed corpus: small valid stores (key and delta frames,
// snappy and zlib, tiny and odd sizes), a store with header count 0 and one
// with a torn tail. Usage: FrameStoreFuzzSeeds DIR
#include "CFrameStoreWriter.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace pelidore {

namespace {

std::vector<std::uint8_t> Frame(int w, int h, int index, std::mt19937& rng)
{
    std::vector<std::uint8_t> frame(std::size_t(w) * h * 3);
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = std::uint8_t((i / 3) % 7 * 30 + (i % 3) * 5);
    const std::size_t start = (std::size_t(index) * 13) % frame.size();
    for (std::size_t i = start; i < frame.size() && i < start + frame.size() / 8 + 1; ++i)
        frame[i] = std::uint8_t(rng());
    return frame;
}

bool Seed(const std::string& path, int w, int h, int frames, Compressor compressor, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    CFrameStoreWriter store;
    store.SetCompressor(compressor, 6);
    if (!store.Create(w, h) || !store.OpenForWriting(path))
        return false;
    for (int i = 0; i < frames; ++i) {
        if (!store.Append(0.05f * float(i + 1), Frame(w, h, i, rng).data()))
            return false;
    }
    return store.Close();
}

} // namespace

} // namespace pelidore

using namespace pelidore;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: FrameStoreFuzzSeeds DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    int written = 0;
    struct S {
        const char* name;
        int w, h, frames;
        Compressor c;
    };
    const S seeds[] = {
        {"tiny-1x1", 1, 1, 3, Compressor::Snappy}, {"small-4x2", 4, 2, 5, Compressor::Snappy},
        {"odd-5x3", 5, 3, 4, Compressor::Zlib},    {"key-and-deltas-16x8", 16, 8, 22, Compressor::Snappy},
        {"zlib-16x8", 16, 8, 6, Compressor::Zlib}, {"wide-64x4", 64, 4, 4, Compressor::Snappy},
    };
    for (const S& s : seeds)
        written += Seed(dir + "/" + s.name + ".dat", s.w, s.h, s.frames, s.c, 7) ? 1 : 0;
    // A store the recorder left behind: count 0, last record torn.
    const std::string crash = dir + "/crashed-16x8.dat";
    if (Seed(crash, 16, 8, 7, Compressor::Snappy, 9)) {
        std::FILE* f = std::fopen(crash.c_str(), "r+b");
        if (f) {
            const unsigned char zero[4] = {0, 0, 0, 0};
            std::fseek(f, 16, SEEK_SET);
            std::fwrite(zero, 1, 4, f);
            std::fclose(f);
            std::filesystem::resize_file(crash, std::filesystem::file_size(crash) - 11);
            ++written;
        }
    }
    std::printf("%d seeds in %s\n", written, dir.c_str());
    return 0;
}
