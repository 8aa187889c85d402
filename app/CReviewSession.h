#pragma once
// A stopped recording that waits in the review window: its frame store,
// opened for moving to any frame, the kept-frame list the window and scripts
// edit, and the files it stands for. Until the user saves or discards, the
// files stay exactly as the recording left them, so a crash or a quit
// loses nothing (the store is saved whole at the next start).
//
// UI thread only.
#include "CFrameStoreSeeker.h"
#include "CKeptFrames.h"

#include <cstdint>
#include <filesystem>

namespace pelidore {

class CReviewSession {
public:
    struct Files {
        std::filesystem::path store;
        // The GIF a live recording wrote while its frames also went to the
        // store; empty for a deferred recording.
        std::filesystem::path liveGif;
    };

    // False, with nothing open, when the store holds no frame it can read.
    bool Open(Files files);
    void Close();
    bool IsOpen() const { return m_Open; }
    bool IsLive() const { return !m_Files.liveGif.empty(); }
    const Files& GetFiles() const { return m_Files; }

    CKeptFrames& Kept() { return m_Kept; }
    int Width() const { return m_Seeker.Width(); }
    int Height() const { return m_Seeker.Height(); }
    // B, G, R bottom-up rows; null when the frame cannot be read.
    const std::uint8_t* FrameAt(int frame) { return m_Seeker.FrameAt(frame); }

    // What scripts ask for, frames counted from 1: false for a range that
    // names no frame of the recording.
    bool KeepRange(int first, int last);
    bool DeleteRange(int first, int last);

    // Discards the recording: its store and its live GIF are deleted.
    void DeleteFiles();

private:
    bool m_Open = false;
    Files m_Files;
    CFrameStoreSeeker m_Seeker;
    CKeptFrames m_Kept;
};

} // namespace pelidore
