#include "CReviewWnd.h"

#include "CKeptFrames.h"
#include "CNCreationResult.h"
#include "CNLog.h"
#include "CNTheme.h"
#include "CReviewReadout.h"
#include "NControlMessages.h"
#include "PelidoreCommands.h"
#include "ResourceIds.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace pelidore {

namespace {

constexpr RECT kStage = {16, 44, 656, 444};
constexpr int kReadoutTop = 450;
constexpr int kReadoutBottom = 472;
constexpr int kTimelineY = 474;
constexpr int kTimelineHeight = 44;
constexpr int kRowTop = 538;
constexpr int kRowBottom = 570;
constexpr RECT kPlayPlace = {16, kRowTop, 60, kRowBottom};
constexpr RECT kDeletePlace = {70, kRowTop, 166, kRowBottom};
constexpr RECT kUndoPlace = {174, kRowTop, 258, kRowBottom};
constexpr RECT kHintArea = {268, kRowTop, 444, kRowBottom};
// Keep stands where Discard was and the confirming Discard where Save was:
// a double click on Discard lands on Keep.
constexpr RECT kLeftPlace = {448, kRowTop, 544, kRowBottom};
constexpr RECT kRightPlace = {552, kRowTop, 656, kRowBottom};
constexpr RECT kConfirmStrip = {12, kRowTop - 4, 660, kRowBottom + 4};
constexpr RECT kConfirmText = {30, kRowTop, 440, kRowBottom};

constexpr int kFontHeight = 13;
constexpr int kNear = 0;
constexpr int kCentred = 1;
constexpr int kFar = 2;
constexpr int kBigStep = 10;

constexpr UINT_PTR kPlayTimer = 1;
// Frames recorded with no delay still get a moment on the screen.
constexpr double kShortestShowSeconds = 0.02;

const CNColor kNoteColour(255, 255, 128, 116);
const CNColor kBadgeBack(200, 16, 17, 20);
const CNColor kStripBack(40, 242, 87, 76);

} // namespace

CReviewWnd::CReviewWnd() : CToolWnd(kHeight, IDB_REVIEW_BACKGROUND, kWidth) {}

CReviewWnd::~CReviewWnd()
{
    StopPlaying();
    // The window's messages reach the member controls: end it while they exist.
    Destroy();
    ReleaseChildren();
}

HRESULT CReviewWnd::CreateHidden(HINSTANCE instance, HWND owner)
{
    return Create(instance, owner, kTitle, WS_EX_LAYERED, WS_POPUP, 0, 0, kWidth, kHeight, 0);
}

void CReviewWnd::Open(CKeptFrames& frames, int width, int height, FrameSource source, int x, int y)
{
    StopPlaying();
    m_Frames = &frames;
    m_Picture.SetSource(std::move(source), width, height);
    m_Timeline.SetFrames(&frames);
    m_Confirming = false;
    m_Note.clear();
    UpdateControls();
    ShowAt(x, y);
    // Keys work at once, without a click first.
    if (m_Window != nullptr)
        SetFocus(m_Window);
}

void CReviewWnd::Close()
{
    Hide();
    m_Frames = nullptr;
    m_Timeline.SetFrames(nullptr);
    m_Picture.Forget();
    m_Confirming = false;
    m_Note.clear();
    UpdateControls();
}

void CReviewWnd::Refresh()
{
    m_Timeline.Clamp();
    UpdateControls();
    if (IsShown())
        Draw();
}

void CReviewWnd::SetCurrentFrame(int frame)
{
    m_Timeline.SetCurrent(frame);
    if (IsShown())
        Draw();
}

void CReviewWnd::Hide()
{
    StopPlaying();
    CToolWnd::Hide();
}

HRESULT CReviewWnd::OnCreate()
{
    CNCreationResult result;
    result.Add(LoadBackground());
    result.Add(m_Font.Create(kFontHeight, FW_NORMAL, CNTheme::kFontFace));
    result.Add(m_Bold.Create(kFontHeight, FW_BOLD, CNTheme::kFontFace));
    result.Add(CreateControls());
    result.Add(AddHandlers());
    UpdateControls();
    return result.Get();
}

HRESULT CReviewWnd::CreateControls()
{
    CNCreationResult result;
    result.Add(m_Timeline.Create(m_Window, &m_Screen, kTimeline, kStage.left, kTimelineY, kStage.right - kStage.left,
                                 kTimelineHeight, 1));
    result.Add(AddChild(&m_Timeline));
    const struct {
        CNAlphaButton& button;
        int id;
        RECT place;
        UINT normal;
        UINT pressed;
    } buttons[] = {
        {m_Play, kPlayButton, kPlayPlace, IDB_REVIEW_PLAY, IDB_REVIEW_PLAY_PRESSED},
        {m_Delete, kDeleteButton, kDeletePlace, IDB_REVIEW_DELETE, IDB_REVIEW_DELETE_PRESSED},
        {m_Undo, kUndoButton, kUndoPlace, IDB_REVIEW_UNDO, IDB_REVIEW_UNDO_PRESSED},
        {m_Discard, kDiscardButton, kLeftPlace, IDB_REVIEW_DISCARD, IDB_REVIEW_DISCARD_PRESSED},
        {m_Save, kSaveButton, kRightPlace, IDB_REVIEW_SAVE, IDB_REVIEW_SAVE_PRESSED},
        {m_Keep, kKeepButton, kLeftPlace, IDB_REVIEW_KEEP, IDB_REVIEW_KEEP_PRESSED},
        {m_ConfirmDiscard, kConfirmDiscardButton, kRightPlace, IDB_REVIEW_CONFIRM, IDB_REVIEW_CONFIRM_PRESSED},
    };
    for (const auto& spec : buttons)
        result.Add(AddButton(spec.button, spec.id, spec.place, spec.normal, spec.pressed, CNButton::kPush));
    return result.Get();
}

HRESULT CReviewWnd::AddHandlers()
{
    CNCreationResult result;
    result.Add(AddToolHandlers());
    result.Add(AddMessageFunc(NWM_BUTTON_CLICKED, &CReviewWnd::OnButtonClicked));
    result.Add(AddMessageFunc(NWM_TIMELINE_CHANGED, &CReviewWnd::OnTimelineChanged));
    result.Add(AddMessageFunc(WM_KEYDOWN, &CReviewWnd::OnKeyDown));
    result.Add(AddMessageFunc(WM_TIMER, &CReviewWnd::OnTimer));
    return result.Get();
}

// Which buttons the state offers: the confirmation replaces the whole row.
void CReviewWnd::UpdateControls()
{
    const bool open = m_Frames != nullptr;
    for (CNAlphaButton* button : {&m_Play, &m_Delete, &m_Undo, &m_Save, &m_Discard})
        button->Show(!m_Confirming);
    m_Keep.Show(m_Confirming);
    m_ConfirmDiscard.Show(m_Confirming);
    m_Timeline.Enable(open && !m_Confirming);
    m_Delete.Enable(open && m_Timeline.HasSelection());
    m_Undo.Enable(open && m_Frames->CanUndo());
}

void CReviewWnd::Step(int frame)
{
    StopPlaying();
    m_Timeline.SetCurrent(frame);
    m_Note.clear();
    Draw();
}

void CReviewWnd::TogglePlaying()
{
    if (m_Playing)
        StopPlaying();
    else
        StartPlaying();
    Draw();
}

void CReviewWnd::StartPlaying()
{
    if (m_Frames == nullptr || m_Window == nullptr || m_Frames->KeptCount() == 0)
        return;
    if (!m_Frames->IsKept(CurrentFrame()))
        m_Timeline.SetCurrent(m_Frames->NextKept(CurrentFrame()));
    m_Playing = true;
    ArmTimer();
    if (!m_Playing)
        return;
    m_Play.SetImages(IDB_REVIEW_PAUSE, IDB_REVIEW_PAUSE_PRESSED);
}

void CReviewWnd::StopPlaying()
{
    if (!m_Playing)
        return;
    m_Playing = false;
    if (m_Window != nullptr)
        KillTimer(m_Window, kPlayTimer);
    m_Play.SetImages(IDB_REVIEW_PLAY, IDB_REVIEW_PLAY_PRESSED);
}

// The current frame stays for its own recorded delay.
void CReviewWnd::ArmTimer()
{
    const double seconds = std::max(static_cast<double>(m_Frames->Delay(CurrentFrame())), kShortestShowSeconds);
    if (SetTimer(m_Window, kPlayTimer, static_cast<UINT>(std::lround(seconds * 1000.0)), nullptr) == 0) {
        NLOG("CReviewWnd::ArmTimer", CNLog::kLevelRefused, "SetTimer fail, error %lu", GetLastError());
        m_Playing = false;
    }
}

void CReviewWnd::DeleteSelection()
{
    if (m_Frames == nullptr || !m_Timeline.HasSelection())
        return;
    if (m_Frames->Delete(m_Timeline.SelectionFirst(), m_Timeline.SelectionLast())) {
        m_Timeline.ClearSelection();
        m_Note.clear();
    } else {
        m_Note = L"One frame at least has to stay";
    }
    UpdateControls();
    Draw();
}

void CReviewWnd::UndoDelete()
{
    if (m_Frames == nullptr || !m_Frames->Undo())
        return;
    m_Timeline.Clamp();
    m_Note.clear();
    UpdateControls();
    Draw();
}

void CReviewWnd::AskToDiscard(bool asking)
{
    if (m_Frames == nullptr)
        return;
    if (asking)
        StopPlaying();
    m_Confirming = asking;
    UpdateControls();
    Draw();
}

LRESULT CReviewWnd::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A layered popup is not always made active by a click: the keys must
    // reach this window once the user has clicked into it.
    if (message == WM_LBUTTONDOWN && GetFocus() != m_Window)
        SetFocus(m_Window);
    // Alt+F4 and the taskbar's close ask, as Discard does; nothing is lost
    // by closing.
    if (message == WM_CLOSE) {
        AskToDiscard(true);
        return 1;
    }
    return CToolWnd::OnMessage(window, message, wParam, lParam);
}

LRESULT CReviewWnd::OnButtonClicked(WPARAM wParam, LPARAM)
{
    if (m_Frames == nullptr)
        return 1;
    switch (static_cast<int>(wParam)) {
    case kPlayButton:
        TogglePlaying();
        break;
    case kDeleteButton:
        DeleteSelection();
        break;
    case kUndoButton:
        UndoDelete();
        break;
    case kSaveButton:
        StopPlaying();
        PostToOwner(CMD_REVIEW_SAVE);
        break;
    case kDiscardButton:
        AskToDiscard(true);
        break;
    case kKeepButton:
        AskToDiscard(false);
        break;
    case kConfirmDiscardButton:
        AskToDiscard(false);
        PostToOwner(CMD_REVIEW_DISCARD);
        break;
    default:
        break;
    }
    return 1;
}

LRESULT CReviewWnd::OnTimelineChanged(WPARAM, LPARAM)
{
    m_Note.clear();
    UpdateControls();
    if (IsShown())
        Draw();
    return 1;
}

LRESULT CReviewWnd::OnKeyDown(WPARAM wParam, LPARAM)
{
    if (m_Frames == nullptr)
        return 0;
    if (m_Confirming) {
        if (wParam == VK_ESCAPE)
            AskToDiscard(false);
        return 1;
    }
    switch (wParam) {
    case VK_SPACE:
        TogglePlaying();
        return 1;
    case VK_DELETE:
        DeleteSelection();
        return 1;
    case VK_ESCAPE:
        m_Timeline.ClearSelection();
        UpdateControls();
        Draw();
        return 1;
    default:
        return StepForKey(wParam) ? 1 : 0;
    }
}

// Home and End go to the first and last kept frames; the arrows step over
// every frame, kept or not, one at a time or ten with Shift.
bool CReviewWnd::StepForKey(WPARAM key)
{
    const int step = (GetKeyState(VK_SHIFT) & 0x8000) != 0 ? kBigStep : 1;
    switch (key) {
    case VK_HOME:
        Step(std::max(m_Frames->FirstKept(), 0));
        return true;
    case VK_END:
        Step(std::max(m_Frames->LastKept(), 0));
        return true;
    case VK_LEFT:
        Step(CurrentFrame() - step);
        return true;
    case VK_RIGHT:
        Step(CurrentFrame() + step);
        return true;
    default:
        return false;
    }
}

LRESULT CReviewWnd::OnTimer(WPARAM wParam, LPARAM)
{
    if (wParam != kPlayTimer)
        return 0;
    if (!m_Playing || m_Frames == nullptr) {
        KillTimer(m_Window, kPlayTimer);
        return 1;
    }
    const int next = m_Frames->NextKept(CurrentFrame());
    if (next < 0) {
        StopPlaying();
    } else {
        m_Timeline.SetCurrent(next);
        ArmTimer();
    }
    Draw();
    return 1;
}

void CReviewWnd::DrawDecorations()
{
    if (m_Frames == nullptr)
        return;
    DrawPicture();
    DrawReadouts();
    if (m_Confirming)
        DrawConfirmation();
    else
        DrawHint();
}

void CReviewWnd::DrawPicture()
{
    const int frame = CurrentFrame();
    if (!m_Picture.Draw(m_Screen, kStage, frame)) {
        m_Screen.DrawText(m_Font, kStage, CNTheme::TextDim(), L"This frame cannot be read", 0, kCentred, kCentred,
                          true);
        return;
    }
    if (m_Frames->IsDeleted(frame))
        DrawBadge(L"Deleted");
    else if (!m_Frames->IsKept(frame))
        DrawBadge(L"Outside the marks");
}

// A dark tag on the picture's top left: the frame shown will not be in the GIF.
void CReviewWnd::DrawBadge(const wchar_t* text)
{
    const Gdiplus::SizeF size = m_Screen.MeasureText(m_Bold, text, -1);
    const int width = static_cast<int>(std::ceil(size.Width)) + 20;
    const int left = kStage.left + 10;
    const int top = kStage.top + 10;
    m_Screen.FillRoundRect(kBadgeBack, left, top, width, 24, 6.0f);
    m_Screen.FillRoundRect(CNTheme::Accent(), left + 8, top + 9, 6, 6, 3.0f);
    const RECT area = {left + 18, top, left + width + 8, top + 24};
    m_Screen.DrawText(m_Bold, area, CNTheme::Text(), text, 0, kNear, kCentred, true);
}

void CReviewWnd::DrawReadouts()
{
    const int frame = CurrentFrame();
    const std::wstring position = CReviewReadout::FrameText(frame, m_Frames->FrameCount());
    const RECT left = {kStage.left + 4, kReadoutTop, kStage.right, kReadoutBottom};
    m_Screen.DrawText(m_Bold, left, CNTheme::Text(), position.c_str(), 0, kNear, kCentred, true);
    const int positionWidth = static_cast<int>(std::ceil(m_Screen.MeasureText(m_Bold, position.c_str(), -1).Width));
    const std::wstring time = CReviewReadout::SecondsText(m_Frames->TimeAt(frame));
    const RECT timeArea = {left.left + positionWidth + 12, kReadoutTop, kStage.right, kReadoutBottom};
    m_Screen.DrawText(m_Font, timeArea, CNTheme::TextDim(), time.c_str(), 0, kNear, kCentred, true);
    const std::wstring kept = CReviewReadout::KeptText(m_Frames->KeptCount(), m_Frames->KeptSeconds());
    const RECT right = {kStage.left, kReadoutTop, kStage.right - 4, kReadoutBottom};
    m_Screen.DrawText(m_Font, right, CNTheme::Text(), kept.c_str(), 0, kFar, kCentred, true);
}

void CReviewWnd::DrawHint()
{
    if (!m_Note.empty()) {
        m_Screen.DrawText(m_Font, kHintArea, kNoteColour, m_Note.c_str(), 0, kNear, kCentred, true);
        return;
    }
    if (m_Timeline.HasSelection()) {
        const std::wstring text = CReviewReadout::SelectionText(SelectionFirst(), SelectionLast());
        m_Screen.DrawText(m_Font, kHintArea, CNTheme::Text(), text.c_str(), 0, kNear, kCentred, true);
        return;
    }
    m_Screen.DrawText(m_Font, kHintArea, CNTheme::TextDim(), L"Drag on the timeline to select", 0, kNear, kCentred,
                      true);
}

void CReviewWnd::DrawConfirmation()
{
    const RECT& strip = kConfirmStrip;
    m_Screen.FillRoundRect(kStripBack, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top, 8.0f);
    m_Screen.FillRoundRect(CNTheme::Accent(), strip.left + 8, (strip.top + strip.bottom) / 2 - 4, 8, 8, 4.0f);
    m_Screen.DrawText(m_Bold, kConfirmText, CNTheme::Text(), L"Discard this recording? Its frames will be gone.", 0,
                      kNear, kCentred, true);
}

} // namespace pelidore
