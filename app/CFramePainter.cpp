#include "CFramePainter.h"

#include "CFrameGeometry.h"
#include "CNDesktop.h"
#include "CNTheme.h"
#include "ResourceIds.h"

#include <algorithm>
#include <string>
#include <utility>

namespace pelidore {

namespace {

constexpr int kCountdownMaxHeight = 180;
constexpr const wchar_t* kCountdownFace = L"Arial";
constexpr int kCentred = 1;

} // namespace

HRESULT CFramePainter::LoadMarks(HINSTANCE instance)
{
    const UINT ids[kMarkCount] = {IDB_MARK_CENTRE, IDB_MARK_TOP_LEFT, IDB_MARK_BOTTOM_LEFT, IDB_MARK_TOP_RIGHT,
                                  IDB_MARK_BOTTOM_RIGHT};
    for (int i = 0; i < kMarkCount; ++i) {
        if (FAILED(m_Marks[i].LoadResource(instance, ids[i])))
            return E_FAIL;
    }
    return S_OK;
}

void CFramePainter::Draw(CNScreen& screen, PixelSize window, const Look& look)
{
    screen.ClearRect(0, 0, window.width, window.height);
    if (!look.saving) {
        const ScreenRect border = CFrameGeometry::BorderRect(window);
        screen.DrawDashRect(static_cast<float>(look.borderPhase), Gdiplus::DashStyleDash, 255, 255, 255, border.left,
                            border.top, border.Width(), border.Height());
        // The corner marks reach into the recorded region: a snapshot taken
        // while idle hides them with the centre mark.
        if (look.showMarks)
            DrawMarks(screen, window);
        if (look.countdown > 0)
            DrawCountdown(screen, window, look.countdown);
    }
    screen.Present();
}

// The seconds left, large in the middle of the inside: drawn on the frame's
// own surface, which no grab sees while it shows them (the recording starts
// only once they are gone from the screen).
void CFramePainter::DrawCountdown(CNScreen& screen, PixelSize window, int seconds)
{
    const ScreenRect inside = CFrameGeometry::BorderRect(window);
    const int height = std::max(16, std::min(kCountdownMaxHeight, inside.Height() * 2 / 3));
    if (height != m_CountdownHeight || !m_CountdownFont.IsCreated()) {
        m_CountdownHeight = height;
        if (FAILED(m_CountdownFont.Create(-height, FW_BOLD, kCountdownFace)))
            return;
    }
    const std::wstring digits = std::to_wstring(seconds);
    const RECT box = CNDesktop::ToRect(inside);
    screen.DrawOutlinedText(m_CountdownFont, box, CNTheme::Text(), digits.c_str(), kCentred, true, true, 0);
}

void CFramePainter::DrawMarks(CNScreen& screen, PixelSize window)
{
    const std::pair<Mark, FrameCorner> corners[] = {{kTopLeftMark, FrameCorner::TopLeft},
                                                    {kTopRightMark, FrameCorner::TopRight},
                                                    {kBottomLeftMark, FrameCorner::BottomLeft},
                                                    {kBottomRightMark, FrameCorner::BottomRight}};
    for (const auto& [mark, corner] : corners) {
        const PixelPoint at = CFrameGeometry::CornerMarkOrigin(corner, window);
        screen.DrawImage(m_Marks[mark], at.x, at.y);
    }
    const CNBitmap& centre = m_Marks[kCentreMark];
    const PixelPoint at = CFrameGeometry::CentreMarkOrigin(window, {centre.Width(), centre.Height()});
    screen.DrawImage(centre, at.x, at.y);
}

} // namespace pelidore
