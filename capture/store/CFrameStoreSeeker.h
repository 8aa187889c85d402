// Random access to the frames of a closed frame store, for reviewing a
// recording before it is saved. Open scans the store once with the reader
// (every record checked and decoded, nothing trusted) and remembers where
// each frame's record lies, whether it is a key frame and its delay. FrameAt
// then decodes from the nearest key frame at or before the frame, or goes on
// from a frame decoded earlier when that is nearer. At most kCachedFrames
// decoded frames are held, whatever the length of the recording.
//
// Portable: no Windows header. One thread uses a seeker at a time.
#pragma once

#include "CFrameCache.h"
#include "CFrameStoreReader.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelidore {

class CFrameStoreSeeker {
public:
    static constexpr std::size_t kCachedFrames = 4;

    CFrameStoreSeeker();
    CFrameStoreSeeker(const CFrameStoreSeeker&) = delete;
    CFrameStoreSeeker& operator=(const CFrameStoreSeeker&) = delete;

    // Indexes the frames the program would read: up to the header's count,
    // or every whole frame of an unfinished store (count 0). A torn or
    // damaged record ends the index; ErrorMessage() then says why. False
    // when not even one frame is usable.
    bool Open(const std::filesystem::path& store);
    void Close();

    int FrameCount() const { return static_cast<int>(m_Records.size()); }
    int Width() const { return m_Reader.Width(); }
    int Height() const { return m_Reader.Height(); }
    std::size_t FrameBytes() const { return m_Reader.FrameBytes(); }
    // One delay (seconds) per frame, for CKeptFrames.
    const std::vector<float>& Delays() const { return m_Delays; }
    bool IsKeyFrame(int index) const;

    // Frame `index` (0-based): Width() x Height() x 3 bytes, bottom-up B, G,
    // R rows, valid until the next FrameAt or Close. Null, with
    // ErrorMessage(), for an index outside the store or a frame that no
    // longer decodes (the file changed since Open).
    const std::uint8_t* FrameAt(int index);
    const std::string& ErrorMessage() const { return m_Error; }

private:
    struct Record {
        std::uint64_t offset = 0; // of the record in the file
        int keyFrame = 0;         // the key frame at or before this one
    };

    bool IndexRecords();
    bool PositionReader(int start);
    const std::uint8_t* DecodeUpTo(int index);
    int FirstToDecode(int index) const;
    const std::uint8_t* Fail(std::string text);

    CFrameStoreReader m_Reader;
    CFrameStoreReader::Frame m_Frame;
    CFrameCache m_Cache;
    std::vector<Record> m_Records;
    std::vector<float> m_Delays;
    std::string m_Error;
    int m_NextToRead = -1; // the reader's next frame, the decoder holding the one before; -1: unknown
};

} // namespace pelidore
