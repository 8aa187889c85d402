#pragma once
// Whether a running recording has reached a lock set on the control panel,
// judged on the capture thread after every frame with the same rule the
// panel draws its read-outs by.
#include <cstdint>

namespace pelidore {

struct RecordingProgress {
    std::int64_t elapsedSeconds = 0;
    std::uint64_t bytes = 0;
    int framesWritten = 0;
    // The GIF writer's own byte limit; 0 when none (always in deferred mode).
    std::uint64_t writerSizeLimit = 0;
};

struct RecordingLocks {
    int timeLimitSeconds = 0;
    int sizeLimitMb = 0;
    int quality = 0;
};

class CRecordingLimits {
public:
    static constexpr std::uint64_t kBytesPerMegabyte = 1048576;

    // The byte limit handed to the GIF writer for a live recording.
    static std::uint64_t WriterSizeLimit(int sizeLimitMb, int quality);

    // A lock is reached, or the next frame of average size would pass the
    // writer's byte limit.
    static bool ShouldStop(const RecordingProgress& progress, const RecordingLocks& locks);
};

} // namespace pelidore
