#include "GalleryReviewShots.h"

#include "CKeptFrames.h"
#include "CReviewTimeline.h"
#include "CReviewWnd.h"
#include "GalleryOwnerWindow.h"
#include "GallerySheet.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pelidore {

namespace {

constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 500;
constexpr int kFrameCount = 60;
constexpr float kDelay = 0.1f;
constexpr int kPlaceX = 120;
constexpr int kPlaceY = 120;
constexpr int kSquare = 90;

struct Colour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

void Put(std::vector<std::uint8_t>& bgr, int x, int y, Colour colour)
{
    // Rows are stored bottom first.
    const std::size_t at = (static_cast<std::size_t>(kFrameHeight - 1 - y) * kFrameWidth + x) * 3;
    bgr[at] = colour.blue;
    bgr[at + 1] = colour.green;
    bgr[at + 2] = colour.red;
}

void FillBox(std::vector<std::uint8_t>& bgr, int left, int top, int width, int height, Colour colour)
{
    for (int y = std::max(top, 0); y < std::min(top + height, kFrameHeight); ++y)
        for (int x = std::max(left, 0); x < std::min(left + width, kFrameWidth); ++x)
            Put(bgr, x, y, colour);
}

// A dusk gradient, a light card with lines of "text" one pixel high (they
// show how the reduction keeps thin lines), and the moving square.
void DrawFrame(std::vector<std::uint8_t>& bgr, int frame)
{
    for (int y = 0; y < kFrameHeight; ++y) {
        const double t = static_cast<double>(y) / (kFrameHeight - 1);
        const Colour sky = {static_cast<std::uint8_t>(64 - 40 * t), static_cast<std::uint8_t>(52 - 28 * t),
                            static_cast<std::uint8_t>(112 - 70 * t)};
        FillBox(bgr, 0, y, kFrameWidth, 1, sky);
    }
    FillBox(bgr, 60, 60, 380, 230, {236, 238, 242});
    FillBox(bgr, 60, 60, 380, 28, {206, 210, 218});
    for (int line = 0; line < 8; ++line)
        FillBox(bgr, 84, 112 + line * 20, 200 + (line * 53) % 130, 1, {90, 94, 104});
    const double progress = static_cast<double>(frame) / (kFrameCount - 1);
    const int x = 80 + static_cast<int>(progress * (kFrameWidth - 160 - kSquare));
    const int y = 330 - static_cast<int>(std::sin(progress * 3.14159265) * 180.0);
    FillBox(bgr, x, y, kSquare, kSquare, {242, 150, 60});
    FillBox(bgr, x + 6, y + 6, kSquare - 12, kSquare - 12, {255, 190, 96});
}

void DispatchWaiting()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

GalleryReviewShots::GalleryReviewShots(std::wstring folder, const CNScale& scale)
    : m_Folder(std::move(folder)), m_Scale(scale)
{
}

int GalleryReviewShots::WriteAll()
{
    const struct {
        Look look;
        const wchar_t* caption;
        const wchar_t* name;
    } pages[] = {
        {kOpened, L"Review, as a recording opens", L"window_review.png"},
        {kTrimmed, L"Review: the marks moved in, a frame outside them shown", L"window_review_trimmed.png"},
        {kSelecting, L"Review: five frames deleted, a range selected for Delete", L"window_review_selection.png"},
        {kDiscarding, L"Review: Discard asks first", L"window_review_discard.png"},
    };
    int failed = 0;
    for (const auto& page : pages)
        failed += FAILED(Write(page.look, page.caption, page.name)) ? 1 : 0;
    return failed;
}

HRESULT GalleryReviewShots::Write(Look look, const wchar_t* caption, const wchar_t* name)
{
    GallerySheet sheet(m_Scale);
    if (FAILED(sheet.Init(CReviewWnd::kWidth + 40, CReviewWnd::kHeight + 50)))
        return E_FAIL;
    GalleryOwnerWindow owner;
    CReviewWnd window;
    if (FAILED(window.CreateHidden(GetModuleHandleW(nullptr), owner.Get())))
        return E_FAIL;
    CKeptFrames frames(std::vector<float>(kFrameCount, kDelay));
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kFrameWidth) * kFrameHeight * 3);
    const auto source = [&pixels](int frame) {
        DrawFrame(pixels, frame);
        return static_cast<const std::uint8_t*>(pixels.data());
    };
    window.Open(frames, kFrameWidth, kFrameHeight, source, kPlaceX, kPlaceY);
    TakeScale(window);
    if (look == kTrimmed) {
        frames.SetRange(9, 47);
        window.Refresh();
        window.SetCurrentFrame(52);
    } else if (look == kSelecting) {
        frames.SetRange(4, 55);
        frames.Delete(40, 44);
        window.Refresh();
        DragAcross(window, 16, 27);
    } else if (look == kDiscarding) {
        window.SetCurrentFrame(33);
        SendMessageW(window.GetHwnd(), WM_CLOSE, 0, 0);
    }
    DispatchWaiting();
    window.Draw();
    sheet.Caption(20, 10, caption);
    const bool drawn = sheet.Surface(*window.GetScreen(), 20, 30);
    window.Close();
    return drawn ? sheet.Save(m_Folder, name) : E_FAIL;
}

// The monitor under Wine keeps 96 dpi: the window is told of the gallery's
// scale as a move to another monitor would tell it.
void GalleryReviewShots::TakeScale(CReviewWnd& window) const
{
    if (m_Scale == window.Scale())
        return;
    RECT place = {kPlaceX, kPlaceY, kPlaceX + m_Scale.ToPixels(CReviewWnd::kWidth),
                  kPlaceY + m_Scale.ToPixels(CReviewWnd::kHeight)};
    SendMessageW(window.GetHwnd(), WM_DPICHANGED, MAKEWPARAM(m_Scale.Dpi(), m_Scale.Dpi()),
                 reinterpret_cast<LPARAM>(&place));
}

void GalleryReviewShots::DragAcross(CReviewWnd& window, int from, int to) const
{
    const auto* timeline = dynamic_cast<const CReviewTimeline*>(window.FindControl(CReviewWnd::kTimeline));
    if (timeline == nullptr)
        return;
    const CTimelineGeometry geometry = timeline->Geometry();
    const auto centre = [&geometry](int frame) { return (geometry.Edge(frame) + geometry.Edge(frame + 1)) / 2; };
    const int y = timeline->GetRect().y + timeline->GetRect().height / 2;
    const HWND hwnd = window.GetHwnd();
    SendMouse(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centre(from), y);
    SendMouse(hwnd, WM_MOUSEMOVE, MK_LBUTTON, centre(to), y);
    SendMouse(hwnd, WM_LBUTTONUP, 0, centre(to), y);
}

// Layout units to the window's pixels, as the system would hand them over.
void GalleryReviewShots::SendMouse(HWND window, UINT message, WPARAM keys, int x, int y) const
{
    SendMessageW(window, message, keys, MAKELPARAM(m_Scale.ToPixels(x), m_Scale.ToPixels(y)));
}

} // namespace pelidore
