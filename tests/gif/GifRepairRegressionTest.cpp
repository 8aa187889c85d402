// Replays every input under tests/gif/regressions/ (each one crashed or broke
// a property in the GIF repair fuzzer once, see scripts/fuzz-gifrepair)
// through the same checks the fuzzer runs.
#include "GifTestUtil.h"
#include "RegressionInputs.h"
#include "fuzz/GifRepairFuzzCheck.h"

#include <gtest/gtest.h>

namespace pelidore {

TEST(GifRepairRegression, EveryFuzzFindingStaysFixed)
{
    ReplayRegressionInputs(GIFREPAIR_REGRESSION_DIR, [](const std::vector<std::uint8_t>& bytes) {
        return fuzzcheck::CheckGifRepairInput(bytes.data(), bytes.size(), giftest::TempPath("replay.gif"));
    });
}

} // namespace pelidore
