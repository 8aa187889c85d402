#include "FrameRange.h"

#include <algorithm>
#include <climits>

namespace pelidore {

void FrameRange::DeclareOptions(cli::ArgParser& args)
{
    args.Value("--first").Value("--last");
}

FrameRange::FrameRange(const cli::ArgParser& args)
{
    if (const auto first = args.Get("--first"))
        m_First = static_cast<std::uint64_t>(cli::ParseInteger(*first, "--first", 1, INT_MAX));
    if (const auto last = args.Get("--last"))
        m_Last = static_cast<std::uint64_t>(cli::ParseInteger(*last, "--last", 1, INT_MAX));
    if (m_Last && m_First > *m_Last)
        throw cli::UsageError("--first " + std::to_string(m_First) + " comes after --last " + std::to_string(*m_Last));
}

void FrameRange::CheckAgainst(int frameCount, const std::string& storeName) const
{
    if (m_First == 1 && !m_Last)
        return; // every frame, however many
    const std::uint64_t frames = static_cast<std::uint64_t>(std::max(frameCount, 0));
    const std::uint64_t last = m_Last.value_or(m_First);
    if (last > frames) {
        throw cli::Failure(storeName + " holds " + std::to_string(frames) + (frames == 1 ? " frame" : " frames") +
                           ": " + (m_Last ? "--last " : "--first ") + std::to_string(last) +
                           " lies past them (frames count from 1)");
    }
}

std::uint64_t FrameRange::CountOf(int frameCount) const
{
    const std::uint64_t frames = static_cast<std::uint64_t>(std::max(frameCount, 0));
    const std::uint64_t last = std::min(m_Last.value_or(frames), frames);
    return last >= m_First ? last - m_First + 1 : 0;
}

bool FrameRange::Contains(std::uint64_t index) const
{
    return index + 1 >= m_First && !EndsBefore(index);
}

bool FrameRange::EndsBefore(std::uint64_t index) const
{
    return m_Last && index + 1 > *m_Last;
}

} // namespace pelidore
