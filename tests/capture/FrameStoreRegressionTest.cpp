// Replays every input under tests/capture/regressions/ (each one crashed or
// broke a property in the frame store fuzzer once, see scripts/fuzz-framestore)
// through the same checks the fuzzer runs.
#include "FrameStoreTestUtil.h"
#include "fuzz/FrameStoreFuzzCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace pelidore {

TEST(FrameStoreRegression, EveryFuzzFindingStaysFixed)
{
    const std::filesystem::path dir = FRAMESTORE_REGRESSION_DIR;
    ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.is_regular_file() && entry.path().filename() != "README.md")
            inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    fstest::TempDir temp;
    for (const auto& input : inputs) {
        const fstest::Bytes bytes = fstest::ReadAll(input);
        SCOPED_TRACE(input.filename().string());
        EXPECT_EQ(fuzzcheck::CheckFrameStoreInput(bytes.data(), bytes.size(), temp / "replay.dat"), "");
    }
    RecordProperty("inputs", int(inputs.size()));
    std::printf("replayed %zu regression inputs\n", inputs.size());
}

} // namespace pelidore
