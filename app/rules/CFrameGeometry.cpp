#include "CFrameGeometry.h"

namespace pelidore {

namespace {

using Metrics = ToolWindowMetrics;

constexpr int kBorderInset = 8;
constexpr int kCornerMarkInset = 4;
constexpr int kBorderShrink = 17;

void ShiftHorizontally(ScreenRect& rect, int by)
{
    rect.left += by;
    rect.right += by;
}

void ShiftVertically(ScreenRect& rect, int by)
{
    rect.top += by;
    rect.bottom += by;
}

} // namespace

PixelPoint CFrameGeometry::StartOrigin(PixelPoint virtualOrigin, PixelSize monitor)
{
    return {virtualOrigin.x + (monitor.width - kStartWidth) / 2, virtualOrigin.y + (monitor.height - kStartHeight) / 2};
}

FrameHit CFrameGeometry::HitTest(PixelPoint client, PixelSize window)
{
    const bool left = client.x > 0 && client.x < kCornerGrip;
    const bool right = client.x > window.width - kCornerGrip && client.x < window.width;
    const bool top = client.y > 0 && client.y < kCornerGrip;
    const bool bottom = client.y > window.height - kCornerGrip && client.y < window.height;
    if (left && top)
        return FrameHit::TopLeft;
    if (right && top)
        return FrameHit::TopRight;
    if (left && bottom)
        return FrameHit::BottomLeft;
    if (right && bottom)
        return FrameHit::BottomRight;
    return FrameHit::Caption;
}

ScreenRect CFrameGeometry::ClampMoving(ScreenRect proposed, const ScreenRect& screen)
{
    if (proposed.left + Metrics::kFrameOverhang < screen.left)
        ShiftHorizontally(proposed, screen.left - Metrics::kFrameOverhang - proposed.left);
    if (proposed.top + Metrics::kFrameOverhang < screen.top)
        ShiftVertically(proposed, screen.top - Metrics::kFrameOverhang - proposed.top);
    if (proposed.right > screen.right + Metrics::kFrameOverhang)
        ShiftHorizontally(proposed, screen.right + Metrics::kFrameOverhang - proposed.right);
    if (proposed.bottom > screen.bottom + Metrics::kFrameOverhang)
        ShiftVertically(proposed, screen.bottom + Metrics::kFrameOverhang - proposed.bottom);
    return proposed;
}

ScreenRect CFrameGeometry::ClampSizing(ScreenRect proposed, const ScreenRect& screen)
{
    if (proposed.left < screen.left - Metrics::kFrameOverhang)
        proposed.left = screen.left - Metrics::kFrameOverhang;
    if (proposed.top < screen.top - Metrics::kFrameOverhang)
        proposed.top = screen.top - Metrics::kFrameOverhang;
    if (proposed.right > screen.right + Metrics::kFrameOverhang)
        proposed.right = screen.right + Metrics::kFrameOverhang;
    if (proposed.bottom > screen.bottom + Metrics::kFrameOverhang)
        proposed.bottom = screen.bottom + Metrics::kFrameOverhang;
    return proposed;
}

ScreenRect CFrameGeometry::PanelRect(const ScreenRect& frame, const ScreenRect& screen, const CNScale& panelScale)
{
    const Metrics::PanelPixels panel = Metrics::Panel(panelScale);
    const int left = frame.left + panel.indent;
    int top = frame.bottom - panel.overlap;
    if (screen.bottom < top + panel.height)
        top = frame.top - panel.Reach();
    return {left, top, left + panel.width, top + panel.height};
}

ScreenRect CFrameGeometry::ToolRect(const ScreenRect& panel, int height, const CNScale& toolScale)
{
    return {panel.left, panel.top, panel.left + toolScale.ToPixels(Metrics::kWidth),
            panel.top + toolScale.ToPixels(height)};
}

int CFrameGeometry::NextBorderPhase(int phase)
{
    const int next = phase - 1;
    return next < -(kBorderPhases - 1) ? 0 : next;
}

ScreenRect CFrameGeometry::BorderRect(PixelSize window)
{
    return {kBorderInset, kBorderInset, kBorderInset + window.width - kBorderShrink,
            kBorderInset + window.height - kBorderShrink};
}

PixelPoint CFrameGeometry::CornerMarkOrigin(FrameCorner corner, PixelSize window)
{
    const int farX = window.width - kCornerMarkSpan;
    const int farY = window.height - kCornerMarkSpan;
    switch (corner) {
    case FrameCorner::TopLeft:
        return {kCornerMarkInset, kCornerMarkInset};
    case FrameCorner::TopRight:
        return {farX, kCornerMarkInset};
    case FrameCorner::BottomLeft:
        return {kCornerMarkInset, farY};
    case FrameCorner::BottomRight:
        return {farX, farY};
    }
    return {kCornerMarkInset, kCornerMarkInset};
}

PixelPoint CFrameGeometry::CentreMarkOrigin(PixelSize window, PixelSize mark)
{
    return {(window.width - kBorderShrink - mark.width) / 2 + kBorderInset,
            (window.height - kBorderShrink - mark.height) / 2 + kBorderInset};
}

} // namespace pelidore
