#include "CReviewTexts.h"

#include "CKeptFrames.h"
#include "CNCreationResult.h"
#include "CNScreen.h"
#include "CNTheme.h"
#include "CReviewReadout.h"
#include "ReviewWindowLayout.h"

#include <cmath>

namespace pelidore {

namespace {

using Layout = ReviewWindowLayout;

constexpr int kFontHeight = 13;
constexpr int kNear = 0;
constexpr int kCentred = 1;
constexpr int kFar = 2;
constexpr int kTagInset = 10;
constexpr int kTagHeight = 24;
constexpr int kTimeGap = 12;

const CNColor kNoteColour(255, 255, 128, 116);
const CNColor kTagBack(200, 16, 17, 20);
const CNColor kStripBack(40, 242, 87, 76);

int TextWidth(CNScreen& screen, const CNFont& font, const wchar_t* text)
{
    return static_cast<int>(std::ceil(screen.MeasureText(font, text, -1).Width));
}

} // namespace

HRESULT CReviewTexts::Create()
{
    CNCreationResult result;
    result.Add(m_Font.Create(kFontHeight, FW_NORMAL, CNTheme::kFontFace));
    result.Add(m_Bold.Create(kFontHeight, FW_BOLD, CNTheme::kFontFace));
    return result.Get();
}

// "Frame 12 of 60  1.10 s" on the left, "Keeping 42 frames, 4.20 s" on the right.
void CReviewTexts::DrawReadouts(CNScreen& screen, const CKeptFrames& frames, int frame) const
{
    const std::wstring position = CReviewReadout::FrameText(frame, frames.FrameCount());
    const RECT left = {Layout::kStage.left + 4, Layout::kReadoutTop, Layout::kStage.right, Layout::kReadoutBottom};
    screen.DrawText(m_Bold, left, CNTheme::Text(), position.c_str(), 0, kNear, kCentred, true);
    const std::wstring time = CReviewReadout::SecondsText(frames.TimeAt(frame));
    const RECT timeArea = {left.left + TextWidth(screen, m_Bold, position.c_str()) + kTimeGap, Layout::kReadoutTop,
                           Layout::kStage.right, Layout::kReadoutBottom};
    screen.DrawText(m_Font, timeArea, CNTheme::TextDim(), time.c_str(), 0, kNear, kCentred, true);
    const std::wstring kept = CReviewReadout::KeptText(frames.KeptCount(), frames.KeptSeconds());
    const RECT right = {Layout::kStage.left, Layout::kReadoutTop, Layout::kStage.right - 4, Layout::kReadoutBottom};
    screen.DrawText(m_Font, right, CNTheme::Text(), kept.c_str(), 0, kFar, kCentred, true);
}

void CReviewTexts::DrawTag(CNScreen& screen, const CKeptFrames& frames, int frame) const
{
    if (frames.IsDeleted(frame))
        DrawTagText(screen, L"Deleted");
    else if (!frames.IsKept(frame))
        DrawTagText(screen, L"Outside the marks");
}

// A dark tag with an accent dot on the picture's top left.
void CReviewTexts::DrawTagText(CNScreen& screen, const wchar_t* text) const
{
    const int width = TextWidth(screen, m_Bold, text) + 30;
    const int left = Layout::kStage.left + kTagInset;
    const int top = Layout::kStage.top + kTagInset;
    screen.FillRoundRect(kTagBack, left, top, width, kTagHeight, 6.0f);
    screen.FillRoundRect(CNTheme::Accent(), left + 9, top + 9, 6, 6, 3.0f);
    const RECT area = {left + 20, top, left + width, top + kTagHeight};
    screen.DrawText(m_Bold, area, CNTheme::Text(), text, 0, kNear, kCentred, true);
}

void CReviewTexts::DrawUnreadable(CNScreen& screen) const
{
    screen.DrawText(m_Font, Layout::kStage, CNTheme::TextDim(), L"This frame cannot be read", 0, kCentred, kCentred,
                    true);
}

void CReviewTexts::DrawHint(CNScreen& screen, const std::wstring& note, int first, int last) const
{
    if (!note.empty()) {
        screen.DrawText(m_Font, Layout::kHintArea, kNoteColour, note.c_str(), 0, kNear, kCentred, true);
    } else if (first >= 0) {
        const std::wstring text = CReviewReadout::SelectionText(first, last);
        screen.DrawText(m_Font, Layout::kHintArea, CNTheme::Text(), text.c_str(), 0, kNear, kCentred, true);
    } else {
        screen.DrawText(m_Font, Layout::kHintArea, CNTheme::TextDim(), L"Drag on the timeline to select", 0, kNear,
                        kCentred, true);
    }
}

void CReviewTexts::DrawQuestion(CNScreen& screen) const
{
    const RECT& strip = Layout::kQuestionStrip;
    screen.FillRoundRect(kStripBack, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top, 8.0f);
    screen.FillRoundRect(CNTheme::Accent(), strip.left + 12, (strip.top + strip.bottom) / 2 - 4, 8, 8, 4.0f);
    screen.DrawText(m_Bold, Layout::kQuestionText, CNTheme::Text(), L"Discard this recording? Its frames will be gone.",
                    0, kNear, kCentred, true);
}

} // namespace pelidore
