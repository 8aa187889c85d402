// The size-limit forecast, shared by the writer (before each
// frame) and the capture side (after each push). Portable.
#pragma once

#include <cstdint>

namespace pelidore {

// True when a size limit is set, at least one frame has been written, and the
// file would grow past the limit if the next frame cost the average so far:
// limit != 0 && framesWritten != 0 && fileSize + fileSize / framesWritten > limit.
// All sizes are 64-bit, so recordings past 2 GiB neither wrap nor stop early.
inline bool SizeForecastExceeds(std::uint64_t limit, std::uint64_t fileSize, int framesWritten)
{
    if (limit == 0 || framesWritten <= 0) {
        return false;
    }
    return fileSize + fileSize / static_cast<std::uint64_t>(framesWritten) > limit;
}

} // namespace pelidore
