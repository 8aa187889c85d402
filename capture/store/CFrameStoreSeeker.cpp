#include "CFrameStoreSeeker.h"

#include "FormatText.h"

#include <new>
#include <utility>

namespace pelidore {

using ReadStatus = CFrameStoreReader::ReadStatus;

CFrameStoreSeeker::CFrameStoreSeeker() : m_Cache(kCachedFrames) {}

bool CFrameStoreSeeker::Open(const std::filesystem::path& store)
{
    Close();
    if (!m_Reader.OpenForScanning(store)) {
        m_Error = m_Reader.ErrorMessage();
        return false;
    }
    if (!IndexRecords()) {
        std::string why = std::move(m_Error);
        Close();
        m_Error = std::move(why);
        return false;
    }
    return true;
}

bool CFrameStoreSeeker::IndexRecords()
{
    const int counted = m_Reader.HeaderFrameCount();
    int keyFrame = 0;
    try {
        for (int index = 0; counted == 0 || index < counted; ++index) {
            const std::uint64_t offset = m_Reader.ReadOffset();
            const ReadStatus status = m_Reader.NextFrame(m_Frame);
            if (status == ReadStatus::Error)
                m_Error = m_Reader.ErrorMessage();
            if (status != ReadStatus::Frame)
                break;
            if (m_Frame.keyFrame)
                keyFrame = index;
            m_Records.push_back({offset, keyFrame});
            m_Delays.push_back(m_Frame.delay);
        }
    } catch (const std::bad_alloc&) {
        m_Error = "out of memory for the index of the frames";
        return false;
    }
    if (m_Records.empty() && m_Error.empty())
        m_Error = "the store holds no frame";
    return !m_Records.empty();
}

void CFrameStoreSeeker::Close()
{
    m_Reader.Close();
    m_Cache.Clear();
    m_Frame = CFrameStoreReader::Frame{};
    std::vector<Record>().swap(m_Records);
    std::vector<float>().swap(m_Delays);
    m_Error.clear();
    m_NextToRead = -1;
}

bool CFrameStoreSeeker::IsKeyFrame(int index) const
{
    return index >= 0 && index < FrameCount() && m_Records[static_cast<std::size_t>(index)].keyFrame == index;
}

const std::uint8_t* CFrameStoreSeeker::FrameAt(int index)
{
    if (index < 0 || index >= FrameCount())
        return Fail(FormatText("frame %d: the store holds %d frames", index, FrameCount()));
    if (const std::uint8_t* cached = m_Cache.Find(index))
        return cached;
    const int start = FirstToDecode(index);
    if (start != m_NextToRead && !PositionReader(start))
        return Fail(m_Reader.ErrorMessage());
    return DecodeUpTo(index);
}

// The first frame to decode on the way to `index`: its key frame, or the
// frame after one held in the cache or by the decoder when that is nearer.
int CFrameStoreSeeker::FirstToDecode(int index) const
{
    const int keyFrame = m_Records[static_cast<std::size_t>(index)].keyFrame;
    const int cached = m_Cache.NearestBefore(index, keyFrame);
    int start = cached >= 0 ? cached + 1 : keyFrame;
    if (m_NextToRead > start && m_NextToRead <= index)
        start = m_NextToRead;
    return start;
}

bool CFrameStoreSeeker::PositionReader(int start)
{
    m_NextToRead = -1;
    const Record& record = m_Records[static_cast<std::size_t>(start)];
    const std::uint8_t* previous = record.keyFrame == start ? nullptr : m_Cache.Find(start - 1);
    if (!m_Reader.SeekToRecord(record.offset, start, previous))
        return false;
    m_NextToRead = start;
    return true;
}

const std::uint8_t* CFrameStoreSeeker::DecodeUpTo(int index)
{
    const auto readNext = [this]() {
        const ReadStatus status = m_Reader.NextFrame(m_Frame);
        if (status == ReadStatus::Frame)
            return true;
        m_Error = status == ReadStatus::End ? FormatText("frame %d: the store is shorter than when it was opened",
                                                         m_NextToRead)
                                            : m_Reader.ErrorMessage();
        return false;
    };
    for (; m_NextToRead < index; ++m_NextToRead)
        if (!readNext())
            return Fail(std::move(m_Error));
    // The frame asked for is decoded straight into its place in the cache.
    std::vector<std::uint8_t>& slot = m_Cache.Store(index);
    m_Frame.pixels.swap(slot);
    const bool read = readNext();
    m_Frame.pixels.swap(slot);
    if (!read) {
        m_Cache.Forget(index);
        return Fail(std::move(m_Error));
    }
    m_NextToRead = index + 1;
    return slot.data();
}

const std::uint8_t* CFrameStoreSeeker::Fail(std::string text)
{
    m_Error = std::move(text);
    m_NextToRead = -1;
    return nullptr;
}

} // namespace pelidore
