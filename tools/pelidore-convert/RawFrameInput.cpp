#include "tools/pelidore-convert/RawFrameInput.h"

#include <memory>

RawFrameInput::RawFrameInput(const std::string& name, const cli::FrameSize& size)
    : name_(name), size_(size), frameBytes_(size.FrameBytes()), input_(name)
{
    if (input_.Size() && *input_.Size() % frameBytes_ != 0) {
        throw cli::Failure(name_ + " holds " + std::to_string(*input_.Size()) + " bytes, not a whole number of " +
                           FramesOfThisSize() + " (" + std::to_string(frameBytes_) + " bytes each)");
    }
}

std::uint64_t RawFrameInput::Pump(const std::string& label, const FrameSink& sink, const Abandon& abandon)
{
    cli::ProgressBar progress(label, KnownFrameCount());
    std::uint64_t frames = 0;
    try {
        frames = ReadEveryFrame(sink, progress);
    } catch (...) {
        progress.Finish();
        abandon();
        throw;
    }
    progress.Finish();
    return frames;
}

// A pipe has no size: its bar counts without a total.
std::uint64_t RawFrameInput::KnownFrameCount() const
{
    return input_.Size() ? *input_.Size() / frameBytes_ : 0;
}

std::uint64_t RawFrameInput::ReadEveryFrame(const FrameSink& sink, cli::ProgressBar& progress)
{
    std::unique_ptr<std::uint8_t[]> frame(new std::uint8_t[static_cast<std::size_t>(frameBytes_)]);
    std::uint64_t frames = 0;
    for (;;) {
        const std::size_t got = input_.Read(frame.get(), static_cast<std::size_t>(frameBytes_));
        if (got == 0) {
            return frames;
        }
        if (got < frameBytes_) {
            throw cli::Failure(name_ + " ends inside frame " + std::to_string(frames + 1) + " (" +
                               std::to_string(frames * frameBytes_ + got) + " bytes, not a whole number of " +
                               FramesOfThisSize() + ")");
        }
        sink(frame.get(), frames);
        ++frames;
        progress.Update(frames);
    }
}

std::string RawFrameInput::FramesOfThisSize() const
{
    return std::to_string(size_.width) + "x" + std::to_string(size_.height) + " frames";
}
