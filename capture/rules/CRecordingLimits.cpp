#include "CRecordingLimits.h"

#include "CReadoutRules.h"
#include "SizeForecast.h"

namespace pelidore {

std::uint64_t CRecordingLimits::WriterSizeLimit(int sizeLimitMb, int quality)
{
    if (quality != 0 || sizeLimitMb <= 0)
        return 0;
    return static_cast<std::uint64_t>(sizeLimitMb) * kBytesPerMegabyte;
}

bool CRecordingLimits::ShouldStop(const RecordingProgress& progress, const RecordingLocks& locks)
{
    return CReadoutRules::LockReached(progress.elapsedSeconds, progress.bytes, locks.timeLimitSeconds,
                                      locks.sizeLimitMb, locks.quality) ||
           SizeForecastExceeds(progress.writerSizeLimit, progress.bytes, progress.framesWritten);
}

} // namespace pelidore
