// Replays every input under tests/gif/regressions/ (each one crashed or broke
// a property in the GIF repair fuzzer once, see scripts/fuzz-gifrepair)
// through the same checks the fuzzer runs.
#include "GifTestUtil.h"
#include "fuzz/GifRepairFuzzCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace pelidore {

TEST(GifRepairRegression, EveryFuzzFindingStaysFixed)
{
    const std::filesystem::path dir = GIFREPAIR_REGRESSION_DIR;
    ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.is_regular_file() && entry.path().filename() != "README.md")
            inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& input : inputs) {
        const std::vector<std::uint8_t> bytes = giftest::ReadBytes(input);
        SCOPED_TRACE(input.filename().string());
        EXPECT_EQ(fuzzcheck::CheckGifRepairInput(bytes.data(), bytes.size(), giftest::TempPath("replay.gif")), "");
    }
    std::printf("replayed %zu regression inputs\n", inputs.size());
}

} // namespace pelidore
