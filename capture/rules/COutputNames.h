#pragma once
// Names of the files a recording leaves in the work folder. No name handed
// out is one that exists already, so a new recording or snapshot never
// replaces an earlier one. The existence check is injected: the program asks
// the file system, the tests a set of names.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace pelidore {

class COutputNames {
public:
    struct LocalTime {
        int year = 0;
        int month = 0;
        int day = 0;
        int hour = 0;
        int minute = 0;
        int second = 0;
        int milliseconds = 0;
    };
    using ExistsCheck = std::function<bool(const std::filesystem::path&)>;

    // Gives up after this many taken names and returns an empty path.
    static constexpr int kMaxAttempts = 100000;

    explicit COutputNames(ExistsCheck exists);

    // "year_month_day_N.gif", N the milliseconds since midnight (distinct
    // for every recording of a day), counted up past names already taken.
    std::filesystem::path GifPath(const std::filesystem::path& folder, const LocalTime& now) const;

    // "year_month_day_second_N.jpg", N the tick count's milliseconds part,
    // counted up past names already taken.
    std::filesystem::path SnapshotPath(const std::filesystem::path& folder, const LocalTime& now,
                                       std::uint32_t tickCount) const;

    // "temp.dat"; when a store kept from an earlier recording is still there
    // (its save failed), "temp_2.dat", "temp_3.dat", ... so it survives.
    std::filesystem::path FrameStorePath(const std::filesystem::path& folder) const;

    // Whether a file name is one FrameStorePath hands out.
    static bool IsFrameStoreName(const std::filesystem::path& fileName);

    // Whether a file name is one GifPath hands out: four whole numbers
    // joined by "_", then ".gif". Only such files are the program's to
    // repair after a crash.
    static bool IsRecordingName(const std::filesystem::path& fileName);

    static int MillisecondsSinceMidnight(const LocalTime& now);

private:
    using NameForNumber = std::function<std::string(long long)>;

    std::filesystem::path FirstFree(const std::filesystem::path& folder, long long firstNumber,
                                    const NameForNumber& nameFor) const;

    ExistsCheck m_Exists;
};

} // namespace pelidore
