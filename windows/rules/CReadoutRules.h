#pragma once
// The control panel's read-outs and the lock test. Both the capture thread
// (to stop at once when a lock is reached) and the panel (to draw what the
// capture side posted) use these, so they are plain functions of the values
// and hold no state.

#include <cstdint>
#include <string>

namespace pelidore {

class CReadoutRules {
public:
    static constexpr std::uint64_t BytesPerMegabyte = 1048576;

    // The size read-out and the size lock exist only while the GIF is written
    // during the recording ("High Speed"); deferred modes write a frame store
    // whose size says nothing about the GIF.
    static bool ShowsSize(int qualityIndex);

    // A limit of zero or less is off. A lock counts as reached once nothing
    // remains, so a 5 s lock is reached when 5 s have elapsed.
    static bool TimeLockReached(std::int64_t elapsedSeconds, int timeLimitSeconds);
    static bool SizeLockReached(std::uint64_t bytes, int sizeLimitMb, int qualityIndex);
    static bool LockReached(std::int64_t elapsedSeconds, std::uint64_t bytes, int timeLimitSeconds, int sizeLimitMb,
                            int qualityIndex);

    // "mm:ss": the time left when a time lock is set, else the time elapsed.
    // Minutes above 99 wrap modulo 99; negative elapsed times read as zero.
    static std::wstring TimeText(std::int64_t elapsedSeconds, int timeLimitSeconds);

    // "%d.%d mb": the bytes left when a size lock is set, else the bytes written.
    static std::wstring SizeText(std::uint64_t bytes, int sizeLimitMb);

private:
    static std::uint64_t ShownSeconds(std::int64_t elapsedSeconds, int timeLimitSeconds);
    static std::uint64_t ShownBytes(std::uint64_t bytes, int sizeLimitMb);
    static std::uint64_t LimitBytes(int sizeLimitMb);
};

} // namespace pelidore
