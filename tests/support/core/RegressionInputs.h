#pragma once
// Replays the inputs a fuzzer once found (the files of a regressions folder,
// its README aside, in name order) through the fuzzer's own check, which
// returns what went wrong or nothing.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pelidore {

using FuzzCheck = std::function<std::string(const std::vector<std::uint8_t>& input)>;

// Expects every input to pass; returns how many were replayed.
int ReplayRegressionInputs(const std::filesystem::path& folder, const FuzzCheck& check);

} // namespace pelidore
