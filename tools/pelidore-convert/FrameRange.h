// --first N --last M: the frames of a store a subcommand works on, numbered
// from 1 as the review window counts them, both ends included. Either may be
// left out (from the first frame, to the last).
#pragma once

#include "Cli.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pelidore {

class FrameRange {
public:
    static constexpr const char* kUsage = "[--first N] [--last M]";

    static void DeclareOptions(cli::ArgParser& args);

    // Throws cli::UsageError for N < 1, M < 1 or N > M.
    explicit FrameRange(const cli::ArgParser& args);

    // Throws cli::Failure naming the store when the range reaches past its
    // frameCount frames.
    void CheckAgainst(int frameCount, const std::string& storeName) const;
    // Frames in the range out of frameCount.
    std::uint64_t CountOf(int frameCount) const;
    // index: 0-based, in recording order.
    bool Contains(std::uint64_t index) const;
    bool EndsBefore(std::uint64_t index) const;

private:
    std::uint64_t m_First = 1;
    std::optional<std::uint64_t> m_Last;
};

} // namespace pelidore
