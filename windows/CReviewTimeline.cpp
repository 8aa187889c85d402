#include "CReviewTimeline.h"

#include "CKeptFrames.h"
#include "CNCreationResult.h"
#include "CNScreen.h"
#include "CNTheme.h"

#include <algorithm>
#include <vector>

namespace pelidore {

namespace {

// Inside the control: the track's inset from the sides leaves the marks
// room to stand on its ends; the playhead's cap sits above the track.
constexpr int kInset = 8;
constexpr int kTrackTop = 10;
constexpr int kTrackHeight = 24;
constexpr int kMarkOverhang = 4;
constexpr int kMarkWidth = 3;
constexpr int kMarkFoot = 3;
// Cells at least this wide are drawn apart.
constexpr int kSeparatedCell = 5;
constexpr int kSelectionEdge = 2;
constexpr int kCapWidth = 10;
constexpr int kCapHeight = 7;

const CNColor kTrackBack(255, 16, 17, 20);
const CNColor kLookColours[] = {
    CNColor(255, 104, 108, 120), // kept
    CNColor(255, 44, 46, 52),    // outside the marks
    CNColor(255, 78, 42, 44),    // deleted
};
const CNColor kSelectionFill(110, 242, 87, 76);
const CNColor kMark(255, 231, 232, 235);
const CNColor kPlayhead(255, 255, 255, 255);

} // namespace

CReviewTimeline::CReviewTimeline() = default;

CReviewTimeline::~CReviewTimeline() = default;

void CReviewTimeline::SetFrames(CKeptFrames* frames)
{
    if (IsDragging())
        EndDrag();
    m_Frames = frames;
    m_Current = frames != nullptr ? std::max(frames->FirstKept(), 0) : 0;
    ClearSelection();
}

void CReviewTimeline::SetCurrent(int frame)
{
    m_Current = std::clamp(frame, 0, std::max(FrameCount() - 1, 0));
}

void CReviewTimeline::ClearSelection()
{
    m_SelectionFirst = -1;
    m_SelectionLast = -1;
}

void CReviewTimeline::Clamp()
{
    SetCurrent(m_Current);
    if (HasSelection() && m_SelectionLast >= FrameCount())
        ClearSelection();
}

int CReviewTimeline::FrameCount() const
{
    return m_Frames != nullptr ? m_Frames->FrameCount() : 0;
}

CTimelineGeometry CReviewTimeline::Geometry() const
{
    return CTimelineGeometry(m_X + kInset, m_Width - 2 * kInset, FrameCount());
}

CReviewTimeline::Look CReviewTimeline::LookOf(int frame) const
{
    if (m_Frames->IsDeleted(frame))
        return kDeletedLook;
    return m_Frames->IsKept(frame) ? kKeptLook : kOutsideLook;
}

void CReviewTimeline::OnDraw()
{
    FillColor(kTrackBack, m_X + kInset - 2, m_Y + kTrackTop - 2, m_Width - 2 * kInset + 4, kTrackHeight + 4);
    if (FrameCount() == 0)
        return;
    const CTimelineGeometry geometry = Geometry();
    DrawCells(geometry);
    DrawSeparators(geometry);
    DrawSelection(geometry);
    DrawMarks(geometry);
    DrawPlayhead(geometry);
}

// Column by column of the track, in runs of one look: a recording of more
// frames than the track has units costs no more than one of a few. A column
// shared by frames of several looks shows the dimmest, so a single deleted
// frame stays visible.
void CReviewTimeline::DrawCells(const CTimelineGeometry& geometry) const
{
    const int left = geometry.Edge(0);
    const int width = geometry.Edge(geometry.Frames()) - left;
    std::vector<unsigned char> columns(static_cast<std::size_t>(width), kKeptLook);
    for (int frame = 0; frame < geometry.Frames(); ++frame) {
        const unsigned char look = LookOf(frame);
        const int from = geometry.Edge(frame) - left;
        const int to = std::min(std::max(geometry.Edge(frame + 1) - left, from + 1), width);
        for (int column = from; column < to; ++column)
            columns[static_cast<std::size_t>(column)] = std::max(columns[static_cast<std::size_t>(column)], look);
    }
    int runStart = 0;
    for (int column = 1; column <= width; ++column) {
        if (column < width && columns[static_cast<std::size_t>(column)] == columns[static_cast<std::size_t>(runStart)])
            continue;
        FillColor(kLookColours[columns[static_cast<std::size_t>(runStart)]], left + runStart, m_Y + kTrackTop,
                  column - runStart, kTrackHeight);
        runStart = column;
    }
}

void CReviewTimeline::DrawSeparators(const CTimelineGeometry& geometry) const
{
    if (geometry.Edge(1) - geometry.Edge(0) < kSeparatedCell)
        return;
    for (int boundary = 1; boundary < geometry.Frames(); ++boundary)
        FillColor(kTrackBack, geometry.Edge(boundary), m_Y + kTrackTop, 1, kTrackHeight);
}

void CReviewTimeline::DrawSelection(const CTimelineGeometry& geometry) const
{
    if (!HasSelection())
        return;
    const int left = geometry.Edge(m_SelectionFirst);
    const int width = std::max(geometry.Edge(m_SelectionLast + 1) - left, 1);
    FillColor(kSelectionFill, left, m_Y + kTrackTop, width, kTrackHeight);
    FillColor(CNTheme::Accent(), left, m_Y + kTrackTop, width, kSelectionEdge);
    FillColor(CNTheme::Accent(), left, m_Y + kTrackTop + kTrackHeight - kSelectionEdge, width, kSelectionEdge);
}

// Brackets around what the marks keep: "[" on the start, "]" on the end.
void CReviewTimeline::DrawMarks(const CTimelineGeometry& geometry) const
{
    const int top = m_Y + kTrackTop - kMarkOverhang;
    const int height = kTrackHeight + 2 * kMarkOverhang;
    const int bottomFoot = top + height - kMarkFoot;
    const int start = geometry.Edge(m_Frames->First());
    const int end = geometry.Edge(m_Frames->Last() + 1);
    const CNColor& startColour = m_Drag == CTimelineGeometry::kStartMark ? CNTheme::Accent() : kMark;
    const CNColor& endColour = m_Drag == CTimelineGeometry::kEndMark ? CNTheme::Accent() : kMark;
    FillColor(startColour, start - kMarkWidth, top, kMarkWidth, height);
    FillColor(startColour, start, top, kMarkFoot, kMarkFoot);
    FillColor(startColour, start, bottomFoot, kMarkFoot, kMarkFoot);
    FillColor(endColour, end, top, kMarkWidth, height);
    FillColor(endColour, end - kMarkFoot, top, kMarkFoot, kMarkFoot);
    FillColor(endColour, end - kMarkFoot, bottomFoot, kMarkFoot, kMarkFoot);
}

void CReviewTimeline::DrawPlayhead(const CTimelineGeometry& geometry) const
{
    const int centre = (geometry.Edge(m_Current) + geometry.Edge(m_Current + 1)) / 2;
    FillColor(kPlayhead, centre - 1, m_Y + 2, 2, kTrackTop + kTrackHeight + 2);
    if (m_Screen != nullptr)
        m_Screen->FillRoundRect(kPlayhead, centre - kCapWidth / 2, m_Y, kCapWidth, kCapHeight, 2.0f);
}

HRESULT CReviewTimeline::OnCreate()
{
    CNCreationResult result;
    result.Add(AddMessageFunc(WM_LBUTTONDOWN, &CReviewTimeline::OnLButtonDown));
    result.Add(AddMessageFunc(WM_MOUSEMOVE, &CReviewTimeline::OnMouseMove));
    result.Add(AddMessageFunc(WM_LBUTTONUP, &CReviewTimeline::OnLButtonUp));
    result.Add(AddMessageFunc(WM_CAPTURECHANGED, &CReviewTimeline::OnCaptureChanged));
    return result.Get();
}

void CReviewTimeline::OnRelease()
{
    if (IsDragging())
        EndDrag();
    m_Frames = nullptr;
}

void CReviewTimeline::OnActivate(int active)
{
    CNControlBase::OnActivate(active);
    // Hidden or disabled, the timeline would never see the release.
    if (!active && IsDragging())
        EndDrag();
}

LRESULT CReviewTimeline::OnLButtonDown(WPARAM wParam, LPARAM lParam)
{
    const int x = PointX(lParam);
    if (FrameCount() == 0 || !HitTest(x, PointY(lParam)))
        return 0;
    const CTimelineGeometry geometry = Geometry();
    m_Drag = geometry.PartAt(x, m_Frames->First(), m_Frames->Last());
    if (m_Drag == CTimelineGeometry::kNothing)
        return 0;
    if (m_Drag == CTimelineGeometry::kFrames) {
        m_Anchor = geometry.FrameAt(x);
        m_Current = m_Anchor;
        ClearSelection();
    } else {
        m_Current = m_Drag == CTimelineGeometry::kStartMark ? m_Frames->First() : m_Frames->Last();
    }
    // A press without the button flag (a synthetic one) only jumps: a drag
    // would hold the capture with no release to end it.
    if ((wParam & MK_LBUTTON) != 0 && m_Owner != nullptr) {
        SetCapture(m_Owner);
        m_Captured = true;
    } else {
        m_Drag = CTimelineGeometry::kNothing;
    }
    Notify(NWM_TIMELINE_CHANGED);
    return 0;
}

LRESULT CReviewTimeline::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (IsDragging() && FollowDrag(PointX(lParam)))
        Notify(NWM_TIMELINE_CHANGED);
    return 0;
}

LRESULT CReviewTimeline::OnLButtonUp(WPARAM, LPARAM lParam)
{
    if (!IsDragging())
        return 0;
    FollowDrag(PointX(lParam));
    EndDrag();
    Notify(NWM_TIMELINE_CHANGED);
    return 0;
}

LRESULT CReviewTimeline::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    // Another window took the mouse: the drag ends where it was.
    if (IsDragging() && reinterpret_cast<HWND>(lParam) != m_Owner) {
        m_Captured = false;
        EndDrag();
        Notify(NWM_TIMELINE_CHANGED);
    }
    return 0;
}

bool CReviewTimeline::FollowDrag(int x)
{
    switch (m_Drag) {
    case CTimelineGeometry::kStartMark:
        return MoveStartMark(x);
    case CTimelineGeometry::kEndMark:
        return MoveEndMark(x);
    case CTimelineGeometry::kFrames:
        return ExtendSelection(x);
    default:
        return false;
    }
}

bool CReviewTimeline::MoveStartMark(int x)
{
    const int first = std::min(Geometry().BoundaryNear(x), m_Frames->Last());
    if (first == m_Frames->First() || !m_Frames->SetFirst(first))
        return false;
    m_Current = first;
    return true;
}

bool CReviewTimeline::MoveEndMark(int x)
{
    const int last = std::max(Geometry().BoundaryNear(x) - 1, m_Frames->First());
    if (last == m_Frames->Last() || !m_Frames->SetLast(last))
        return false;
    m_Current = last;
    return true;
}

// The selection runs from the pressed frame to the one under the pointer,
// and the current frame follows the pointer, so the frames passed over are
// seen. Back on the pressed frame, a frame of its own stays selected.
bool CReviewTimeline::ExtendSelection(int x)
{
    const int frame = Geometry().FrameAt(x);
    if (frame == m_Current && (HasSelection() || frame == m_Anchor))
        return false;
    m_Current = frame;
    m_SelectionFirst = std::min(m_Anchor, frame);
    m_SelectionLast = std::max(m_Anchor, frame);
    return true;
}

void CReviewTimeline::EndDrag()
{
    m_Drag = CTimelineGeometry::kNothing;
    m_Anchor = -1;
    if (m_Captured) {
        m_Captured = false;
        if (GetCapture() == m_Owner)
            ReleaseCapture();
    }
}

} // namespace pelidore
