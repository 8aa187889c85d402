// libFuzzer target for the GIF block walk and repair (see GifRepairFuzzCheck.h).
// Built and run by scripts/fuzz-gifrepair, never by the test command.
// Findings go to tests/gif/regressions/.
#include "GifRepairFuzzCheck.h"

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
               ("pelidore-gifrepair-fuzz-" + std::to_string(getpid()) + ".gif");
    }();
    const std::string problem = fuzzcheck::CheckGifRepairInput(data, size, path);
    if (!problem.empty()) {
        std::fprintf(stderr, "GIF repair property broken: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
