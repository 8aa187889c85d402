#include "RegressionInputs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace pelidore {

namespace {

std::vector<std::uint8_t> ReadInput(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int ReplayRegressionInputs(const std::filesystem::path& folder, const FuzzCheck& check)
{
    EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    std::vector<std::filesystem::path> inputs;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file() && entry.path().filename() != "README.md")
            inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        EXPECT_EQ(check(ReadInput(input)), "");
    }
    std::printf("replayed %zu regression inputs\n", inputs.size());
    return static_cast<int>(inputs.size());
}

} // namespace pelidore
