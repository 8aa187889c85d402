#include "tools/pelidore-convert/RawFrameInput.h"

#include <memory>

RawFrameInput::RawFrameInput(const std::string& name, const cli::FrameSize& size)
    : m_name(name), m_size(size), m_frameBytes(size.FrameBytes()), m_input(name)
{
    if (m_input.Size() && *m_input.Size() % m_frameBytes != 0) {
        throw cli::Failure(m_name + " holds " + std::to_string(*m_input.Size()) + " bytes, not a whole number of " +
                           FramesOfThisSize() + " (" + std::to_string(m_frameBytes) + " bytes each)");
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
    return m_input.Size() ? *m_input.Size() / m_frameBytes : 0;
}

std::uint64_t RawFrameInput::ReadEveryFrame(const FrameSink& sink, cli::ProgressBar& progress)
{
    std::unique_ptr<std::uint8_t[]> frame(new std::uint8_t[static_cast<std::size_t>(m_frameBytes)]);
    std::uint64_t frames = 0;
    for (;;) {
        const std::size_t got = m_input.Read(frame.get(), static_cast<std::size_t>(m_frameBytes));
        if (got == 0) {
            return frames;
        }
        if (got < m_frameBytes) {
            throw cli::Failure(m_name + " ends inside frame " + std::to_string(frames + 1) + " (" +
                               std::to_string(frames * m_frameBytes + got) + " bytes, not a whole number of " +
                               FramesOfThisSize() + ")");
        }
        sink(frame.get(), frames);
        ++frames;
        progress.Update(frames);
    }
}

std::string RawFrameInput::FramesOfThisSize() const
{
    return std::to_string(m_size.width) + "x" + std::to_string(m_size.height) + " frames";
}
