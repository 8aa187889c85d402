#include "COutputNames.h"

#include <utility>

namespace pelidore {

namespace {

const char kFrameStoreStem[] = "temp";
const char kFrameStoreExtension[] = ".dat";

const char kRecordingExtension[] = ".gif";
const int kRecordingNumbers = 4; // year, month, day, the recording's number

using NativeName = std::filesystem::path::string_type;

// Compared on the native characters: converting a Windows name that holds
// characters of another script to narrow text could fail.
bool MatchesAt(const NativeName& name, std::size_t position, const std::string& ascii)
{
    if (position + ascii.size() > name.size())
        return false;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        if (name[position + i] != static_cast<std::filesystem::path::value_type>(ascii[i]))
            return false;
    }
    return true;
}

bool IsDigit(std::filesystem::path::value_type c)
{
    return c >= '0' && c <= '9';
}

std::string DatePrefix(const COutputNames::LocalTime& now)
{
    return std::to_string(now.year) + "_" + std::to_string(now.month) + "_" + std::to_string(now.day) + "_";
}

} // namespace

COutputNames::COutputNames(ExistsCheck exists) : m_Exists(std::move(exists)) {}

std::filesystem::path COutputNames::GifPath(const std::filesystem::path& folder, const LocalTime& now) const
{
    const std::string prefix = DatePrefix(now);
    return FirstFree(folder, MillisecondsSinceMidnight(now),
                     [&prefix](long long n) { return prefix + std::to_string(n) + kRecordingExtension; });
}

std::filesystem::path COutputNames::SnapshotPath(const std::filesystem::path& folder, const LocalTime& now,
                                                 std::uint32_t tickCount) const
{
    const std::string prefix = DatePrefix(now) + std::to_string(now.second) + "_";
    return FirstFree(folder, tickCount % 1000u, [&prefix](long long n) { return prefix + std::to_string(n) + ".jpg"; });
}

std::filesystem::path COutputNames::FrameStorePath(const std::filesystem::path& folder) const
{
    return FirstFree(folder, 1, [](long long n) {
        std::string name = kFrameStoreStem;
        if (n > 1)
            name += "_" + std::to_string(n);
        return name + kFrameStoreExtension;
    });
}

bool COutputNames::IsFrameStoreName(const std::filesystem::path& fileName)
{
    const NativeName name = fileName.filename().native();
    const std::string stem = kFrameStoreStem;
    const std::string extension = kFrameStoreExtension;
    if (name.size() < stem.size() + extension.size())
        return false;
    const std::size_t extensionAt = name.size() - extension.size();
    if (!MatchesAt(name, 0, stem) || !MatchesAt(name, extensionAt, extension))
        return false;
    if (extensionAt == stem.size())
        return true;
    if (name[stem.size()] != '_' || extensionAt == stem.size() + 1)
        return false;
    for (std::size_t i = stem.size() + 1; i < extensionAt; ++i) {
        if (!IsDigit(name[i]))
            return false;
    }
    return true;
}

bool COutputNames::IsRecordingName(const std::filesystem::path& fileName)
{
    const NativeName name = fileName.filename().native();
    const std::string extension = kRecordingExtension;
    if (name.size() <= extension.size() || !MatchesAt(name, name.size() - extension.size(), extension))
        return false;
    int numbers = 0;
    bool inNumber = false;
    for (std::size_t i = 0; i < name.size() - extension.size(); ++i) {
        if (IsDigit(name[i])) {
            if (!inNumber)
                ++numbers;
            inNumber = true;
        } else if (name[i] == '_' && inNumber) {
            inNumber = false;
        } else {
            return false;
        }
    }
    return inNumber && numbers == kRecordingNumbers;
}

int COutputNames::MillisecondsSinceMidnight(const LocalTime& now)
{
    return ((now.hour * 60 + now.minute) * 60 + now.second) * 1000 + now.milliseconds;
}

std::filesystem::path COutputNames::FirstFree(const std::filesystem::path& folder, long long firstNumber,
                                              const NameForNumber& nameFor) const
{
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        std::filesystem::path candidate = folder / nameFor(firstNumber + attempt);
        if (!m_Exists(candidate))
            return candidate;
    }
    return {};
}

} // namespace pelidore
