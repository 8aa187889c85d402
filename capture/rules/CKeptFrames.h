#pragma once
// Which frames of a recording survive its review: those between the start
// and end marks that were not deleted. A kept frame keeps its own delay, so
// cutting frames anywhere takes exactly their time out of the GIF. Frames
// are numbered from 0 here; scripts and the window count from 1.
//
// Portable; owned by the UI thread.
#include <cstddef>
#include <vector>

namespace pelidore {

class CKeptFrames {
public:
    CKeptFrames() = default;
    // One delay (seconds) per recorded frame; every frame starts kept.
    explicit CKeptFrames(std::vector<float> delays);

    int FrameCount() const { return static_cast<int>(m_Delays.size()); }
    float Delay(int frame) const;          // 0 outside the recording
    double TimeAt(int frame) const;        // seconds from the start to the frame's appearance
    double RecordedSeconds() const;        // all frames

    // The marks, inclusive; First() <= Last() while there is a frame.
    int First() const { return m_First; }
    int Last() const { return m_Last; }
    // False (nothing changed) unless 0 <= first <= last < FrameCount() and
    // a frame between them is not deleted: marks never leave nothing kept.
    bool SetRange(int first, int last);
    bool SetFirst(int first); // keeps first <= Last()
    bool SetLast(int last);   // keeps First() <= last

    // Deletes first..last (clamped to the recording); false when it names
    // no frame or would leave nothing kept. Undo() takes back the last
    // Delete, once; the marks stay where they are.
    bool Delete(int first, int last);
    bool CanUndo() const { return m_CanUndo; }
    bool Undo();

    bool IsDeleted(int frame) const;
    bool IsKept(int frame) const; // inside the marks and not deleted
    int KeptCount() const;
    double KeptSeconds() const;
    // Whether anything at all is left out of the GIF.
    bool IsCut() const { return KeptCount() != FrameCount(); }
    // One entry per frame, true for a kept one.
    std::vector<bool> KeptMask() const;

    // The kept frame after `frame` for playback, wrapping from the
    // last kept frame to the first; -1 when none is kept.
    int NextKept(int frame) const;
    int FirstKept() const;
    int LastKept() const;

private:
    bool KeepsAny(int first, int last) const; // a frame of first..last is not deleted

    std::vector<float> m_Delays;
    std::vector<double> m_Times{0.0}; // m_Times[i]: sum of the delays before frame i
    int m_First = 0;
    int m_Last = -1;
    std::vector<bool> m_Deleted;
    bool m_CanUndo = false;
    std::vector<bool> m_DeletedBefore; // what Undo() brings back
};

} // namespace pelidore
