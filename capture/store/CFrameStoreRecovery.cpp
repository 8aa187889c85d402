#include "CFrameStoreRecovery.h"

#include "CFrameFile.h"
#include "CFrameStoreReader.h"
#include "FrameStoreLayout.h"

#include <climits>

namespace pelidore {

namespace {

// Scans the store to its end or its first bad frame; the end of the last
// complete, decodable frame is where the file is cut.
bool Scan(const std::filesystem::path& path, CFrameStoreRecovery::Result& result, std::uint64_t& goodEnd, int& kept)
{
    using Status = CFrameStoreReader::ReadStatus;
    CFrameStoreReader reader;
    if (!reader.OpenForScanning(path)) {
        result.message = reader.ErrorMessage();
        return false;
    }
    result.headerFrameCount = reader.HeaderFrameCount();
    result.width = reader.Width();
    result.height = reader.Height();
    result.bytesBefore = reader.FileSize();
    goodEnd = FrameStoreLayout::kHeaderBytes;
    kept = 0;
    CFrameStoreReader::Frame frame;
    for (;;) {
        const Status status = reader.NextFrame(frame);
        if (status == Status::Frame) {
            ++kept;
            goodEnd = reader.ReadOffset();
            if (kept == INT_MAX) {
                result.message = "the frame count is full";
                return true;
            }
            continue;
        }
        result.message = status == Status::End ? "the file ends after a complete frame" : reader.ErrorMessage();
        return true;
    }
}

} // namespace

CFrameStoreRecovery::Result CFrameStoreRecovery::Recover(const std::filesystem::path& path)
{
    Result result;
    std::uint64_t goodEnd = 0;
    int kept = 0;
    if (!Scan(path, result, goodEnd, kept))
        return result;

    if (goodEnd < result.bytesBefore) {
        if (!CFrameFile::Truncate(path, goodEnd)) {
            result.message = "cannot cut the file after its last complete frame";
            return result;
        }
        result.changed = true;
    }
    if (result.headerFrameCount != kept) {
        CFrameFile file;
        std::uint8_t count[4];
        FrameStoreLayout::WriteFrameCount(kept, count);
        const bool written = file.Open(path, CFrameFile::Mode::Update) &&
                             file.Seek(FrameStoreLayout::kFrameCountOffset) && file.Write(count, sizeof count);
        const bool closed = file.Close();
        if (!written || !closed) {
            result.message = "cannot rewrite the header's frame count";
            return result;
        }
        result.changed = true;
    }
    result.ok = true;
    result.framesKept = kept;
    result.bytesAfter = goodEnd;
    return result;
}

} // namespace pelidore
