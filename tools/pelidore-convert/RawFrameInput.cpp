#include "RawFrameInput.h"

#include <memory>

namespace pelidore {

RawFrameInput::RawFrameInput(const std::string& name, const cli::FrameSize& size)
    : m_Name(name), m_Size(size), m_FrameBytes(size.FrameBytes()), m_Input(name)
{
    if (m_Input.Size() && *m_Input.Size() % m_FrameBytes != 0) {
        throw cli::Failure(m_Name + " holds " + std::to_string(*m_Input.Size()) + " bytes, not a whole number of " +
                           FramesOfThisSize() + " (" + std::to_string(m_FrameBytes) + " bytes each)");
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
    return m_Input.Size() ? *m_Input.Size() / m_FrameBytes : 0;
}

std::uint64_t RawFrameInput::ReadEveryFrame(const FrameSink& sink, cli::ProgressBar& progress)
{
    std::unique_ptr<std::uint8_t[]> frame(new std::uint8_t[static_cast<std::size_t>(m_FrameBytes)]);
    std::uint64_t frames = 0;
    for (;;) {
        const std::size_t got = m_Input.Read(frame.get(), static_cast<std::size_t>(m_FrameBytes));
        if (got == 0) {
            return frames;
        }
        if (got < m_FrameBytes) {
            throw cli::Failure(m_Name + " ends inside frame " + std::to_string(frames + 1) + " (" +
                               std::to_string(frames * m_FrameBytes + got) + " bytes, not a whole number of " +
                               FramesOfThisSize() + ")");
        }
        sink(frame.get(), frames);
        ++frames;
        progress.Update(frames);
    }
}

std::string RawFrameInput::FramesOfThisSize() const
{
    return std::to_string(m_Size.width) + "x" + std::to_string(m_Size.height) + " frames";
}

} // namespace pelidore
