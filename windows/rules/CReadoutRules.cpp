#include "CReadoutRules.h"

#include <cwchar>

namespace pelidore {

namespace {

constexpr std::uint64_t SecondsPerMinute = 60;
constexpr std::uint64_t MinuteWrap = 99;
constexpr std::uint64_t BytesPerKilobyte = 1024;

std::uint64_t NonNegative(std::int64_t value)
{
    return value < 0 ? 0 : static_cast<std::uint64_t>(value);
}

} // namespace

bool CReadoutRules::ShowsSize(int qualityIndex)
{
    return qualityIndex == 0;
}

bool CReadoutRules::TimeLockReached(std::int64_t elapsedSeconds, int timeLimitSeconds)
{
    return timeLimitSeconds > 0 && elapsedSeconds >= timeLimitSeconds;
}

bool CReadoutRules::SizeLockReached(std::uint64_t bytes, int sizeLimitMb, int qualityIndex)
{
    return ShowsSize(qualityIndex) && sizeLimitMb > 0 && bytes >= LimitBytes(sizeLimitMb);
}

bool CReadoutRules::LockReached(std::int64_t elapsedSeconds, std::uint64_t bytes, int timeLimitSeconds, int sizeLimitMb,
                                int qualityIndex)
{
    return TimeLockReached(elapsedSeconds, timeLimitSeconds) || SizeLockReached(bytes, sizeLimitMb, qualityIndex);
}

std::wstring CReadoutRules::TimeText(std::int64_t elapsedSeconds, int timeLimitSeconds)
{
    const std::uint64_t shown = ShownSeconds(elapsedSeconds, timeLimitSeconds);
    std::uint64_t minutes = shown / SecondsPerMinute;
    const std::uint64_t seconds = shown % SecondsPerMinute;
    if (minutes > MinuteWrap)
        minutes %= MinuteWrap;
    wchar_t text[16];
    const int written = std::swprintf(text, sizeof text / sizeof text[0], L"%02u:%02u", static_cast<unsigned>(minutes),
                                      static_cast<unsigned>(seconds));
    return written > 0 ? std::wstring(text) : std::wstring(L"00:00");
}

std::wstring CReadoutRules::SizeText(std::uint64_t bytes, int sizeLimitMb)
{
    const std::uint64_t shown = ShownBytes(bytes, sizeLimitMb);
    const auto tenths =
        static_cast<unsigned>(static_cast<double>((shown / BytesPerKilobyte) % BytesPerKilobyte) / 102.4);
    const auto megabytes = static_cast<unsigned long long>(shown / BytesPerMegabyte);
    wchar_t text[40];
    const int written = std::swprintf(text, sizeof text / sizeof text[0], L"%llu.%u mb", megabytes, tenths);
    return written > 0 ? std::wstring(text) : std::wstring(L"0.0 mb");
}

std::uint64_t CReadoutRules::ShownSeconds(std::int64_t elapsedSeconds, int timeLimitSeconds)
{
    const std::uint64_t elapsed = NonNegative(elapsedSeconds);
    if (timeLimitSeconds <= 0)
        return elapsed;
    const auto limit = static_cast<std::uint64_t>(timeLimitSeconds);
    return elapsed >= limit ? 0 : limit - elapsed;
}

std::uint64_t CReadoutRules::ShownBytes(std::uint64_t bytes, int sizeLimitMb)
{
    if (sizeLimitMb <= 0)
        return bytes;
    const std::uint64_t limit = LimitBytes(sizeLimitMb);
    return bytes >= limit ? 0 : limit - bytes;
}

std::uint64_t CReadoutRules::LimitBytes(int sizeLimitMb)
{
    return static_cast<std::uint64_t>(sizeLimitMb) * BytesPerMegabyte;
}

} // namespace pelidore
