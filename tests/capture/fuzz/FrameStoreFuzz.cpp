// libFuzzer target for the frame store reader, scanner and recovery (see
// FrameStoreFuzzCheck.h). Built and run by scripts/fuzz-framestore, never by
// the test command. Crashing inputs go to tests/capture/regressions/.
#include "FrameStoreFuzzCheck.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace pelidore;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::filesystem::path path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::filesystem::path(dir && *dir ? dir : "/tmp") /
               ("pelidore-framestore-fuzz-" + std::to_string(getpid()) + ".dat");
    }();
    const std::string problem = fuzzcheck::CheckFrameStoreInput(data, size, path);
    if (!problem.empty()) {
        std::fprintf(stderr, "frame store property broken: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
