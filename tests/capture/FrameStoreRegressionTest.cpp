// Replays every input under tests/capture/regressions/ (each one crashed or
// broke a property in the frame store fuzzer once, see scripts/fuzz-framestore)
// through the same checks the fuzzer runs.
#include "FrameStoreTestUtil.h"
#include "RegressionInputs.h"
#include "fuzz/FrameStoreFuzzCheck.h"

#include <gtest/gtest.h>

namespace pelidore {

TEST(FrameStoreRegression, EveryFuzzFindingStaysFixed)
{
    fstest::TempDir temp;
    const int replayed = ReplayRegressionInputs(FRAMESTORE_REGRESSION_DIR, [&](const std::vector<std::uint8_t>& bytes) {
        return fuzzcheck::CheckFrameStoreInput(bytes.data(), bytes.size(), temp / "replay.dat");
    });
    RecordProperty("inputs", replayed);
}

} // namespace pelidore
