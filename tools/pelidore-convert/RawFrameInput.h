// Raw frames back to back (the frame pixel layout, FrameSize::FrameBytes()
// each) from a file or standard input, for the subcommands that turn them into
// something else. A regular file that does not hold whole frames is refused
// before any output exists; a pipe can only be judged as it is read.
#pragma once

#include "Cli.h"

#include <cstdint>
#include <functional>
#include <string>

namespace pelidore {

class RawFrameInput {
public:
    using FrameSink = std::function<void(const std::uint8_t* pixels, std::uint64_t index)>;
    using Abandon = std::function<void()>;

    // Throws cli::Failure when the input cannot be opened or its size is not a
    // whole number of frames.
    RawFrameInput(const std::string& name, const cli::FrameSize& size);

    std::uint64_t FrameBytes() const { return m_FrameBytes; }

    // Hands every frame to sink in order under a progress bar named label and
    // returns how many there were. A torn last frame is a cli::Failure. When
    // anything fails, the bar is finished and abandon runs (to take back a
    // half-made output) before the failure goes on.
    std::uint64_t Pump(const std::string& label, const FrameSink& sink, const Abandon& abandon);

private:
    std::uint64_t KnownFrameCount() const;
    std::uint64_t ReadEveryFrame(const FrameSink& sink, cli::ProgressBar& progress);
    std::string FramesOfThisSize() const;

    std::string m_Name;
    cli::FrameSize m_Size;
    std::uint64_t m_FrameBytes;
    cli::InputFile m_Input;
};

} // namespace pelidore
