#pragma once

#include "CNControlBase.h"
#include "CTimelineGeometry.h"

namespace pelidore {

class CKeptFrames;

// Posted by CReviewTimeline to its owner when the current frame, the
// selection or a mark changed; wParam is the control's id, lParam the control.
constexpr UINT NWM_TIMELINE_CHANGED = 6101;

// The Review window's timeline: every recorded frame as a cell along one
// track, kept frames bright, deleted ones and those outside the marks dim,
// with the start and end marks, the selected range and the current frame as
// a playhead. A press on a mark drags it (the current frame follows it); a
// press elsewhere on the track makes that frame current, and a drag from
// there selects the frames passed over.
//
// It changes the marks of the CKeptFrames it is given and keeps the current
// frame and the selection itself. UI thread only.
class CReviewTimeline : public CNControlBase {
public:
    CReviewTimeline();
    ~CReviewTimeline() override;

    // The frames shown (owned by the caller), or null for none; the current
    // frame goes to the first kept one, the selection is cleared.
    void SetFrames(CKeptFrames* frames);
    // Clamped into the recording. The owner repaints.
    void SetCurrent(int frame);
    int Current() const { return m_Current; }

    bool HasSelection() const { return m_SelectionFirst >= 0; }
    int SelectionFirst() const { return m_SelectionFirst; }
    int SelectionLast() const { return m_SelectionLast; }
    void ClearSelection();
    // After the frames changed from outside: the current frame and the
    // selection are brought back inside the recording.
    void Clamp();

    bool IsDragging() const { return m_Drag != CTimelineGeometry::kNothing; }
    // Where the frames and marks lie in the owner's layout units.
    CTimelineGeometry Geometry() const;

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;
    void OnActivate(int active) override;

private:
    enum Look : unsigned char { kKeptLook = 0, kOutsideLook = 1, kDeletedLook = 2 };

    int FrameCount() const;
    Look LookOf(int frame) const;
    void DrawCells(const CTimelineGeometry& geometry) const;
    void DrawSeparators(const CTimelineGeometry& geometry) const;
    void DrawSelection(const CTimelineGeometry& geometry) const;
    void DrawMarks(const CTimelineGeometry& geometry) const;
    void DrawPlayhead(const CTimelineGeometry& geometry) const;

    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    // The drag under way follows the pointer at x; true when anything changed.
    bool FollowDrag(int x);
    bool MoveStartMark(int x);
    bool MoveEndMark(int x);
    bool ExtendSelection(int x);
    void EndDrag();

    CKeptFrames* m_Frames = nullptr;
    int m_Current = 0;
    int m_SelectionFirst = -1;
    int m_SelectionLast = -1;
    int m_Drag = CTimelineGeometry::kNothing;
    int m_Anchor = -1; // where a selecting drag started
    bool m_Captured = false;
};

} // namespace pelidore
