// Writes a GIF that must fit a size: whole trial passes over the recording,
// each at the FitStep CSizeFitter chooses, each into a file of its own
// beside the GIF; the best fit replaces the GIF. Portable.
#pragma once

#include "CSizeFitter.h"
#include "FitStep.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

namespace pelidore {

class CFitPasses {
public:
    struct PassResult {
        bool written = false; // the whole recording is in the file
        int frames = 0;       // of the recording, all it saves (a step drops among them)
        double seconds = 0.0; // its duration
    };
    // Writes the recording at step into path.
    using Pass = std::function<PassResult(const FitStep& step, const std::filesystem::path& path)>;

    enum class Result {
        Fitted,    // the GIF is at gifPath and within the limit
        CannotFit, // even the smallest step is too large; nothing at gifPath
        Stopped,   // a pass was not written whole; gifPath has the best fit, else that pass's part
    };

    explicit CFitPasses(std::uint64_t limitBytes);

    Result Run(const std::filesystem::path& gifPath, const Pass& pass);

    // After Fitted: what was given up, and the file's size.
    const FitStep& Step() const { return m_Step; }
    std::uint64_t Size() const { return m_Size; }
    // The recording's frames a second, for telling what a step gives up.
    double RecordedFps() const { return m_RecordedFps; }
    int Passes() const { return m_Passes; }

private:
    static std::uint64_t SizeOf(const std::filesystem::path& path);
    static bool Replace(const std::filesystem::path& from, const std::filesystem::path& to);

    std::uint64_t m_Limit;
    FitStep m_Step;
    std::uint64_t m_Size = 0;
    double m_RecordedFps = 0.0;
    int m_Passes = 0;
};

} // namespace pelidore
