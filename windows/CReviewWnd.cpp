#include "CReviewWnd.h"

#include "CKeptFrames.h"
#include "CNCreationResult.h"
#include "CNLog.h"
#include "NControlMessages.h"
#include "PelidoreCommands.h"
#include "ResourceIds.h"
#include "ReviewWindowLayout.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace pelidore {

namespace {

using Layout = ReviewWindowLayout;

constexpr int kBigStep = 10;
constexpr UINT_PTR kPlayTimer = 1;
// Frames recorded with no delay still get a moment on the screen.
constexpr double kShortestShowSeconds = 0.02;

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
    result.Add(m_Texts.Create());
    result.Add(CreateControls());
    result.Add(AddHandlers());
    UpdateControls();
    return result.Get();
}

HRESULT CReviewWnd::CreateControls()
{
    CNCreationResult result;
    const RECT& stage = Layout::kStage;
    result.Add(m_Timeline.Create(m_Window, &m_Screen, kTimeline, stage.left, Layout::kTimelineTop,
                                 stage.right - stage.left, Layout::kTimelineHeight, 1));
    result.Add(AddChild(&m_Timeline));
    const struct {
        CNAlphaButton& button;
        int id;
        RECT place;
        UINT normal;
        UINT pressed;
    } buttons[] = {
        {m_Play, kPlayButton, Layout::kPlayPlace, IDB_REVIEW_PLAY, IDB_REVIEW_PLAY_PRESSED},
        {m_Delete, kDeleteButton, Layout::kDeletePlace, IDB_REVIEW_DELETE, IDB_REVIEW_DELETE_PRESSED},
        {m_Undo, kUndoButton, Layout::kUndoPlace, IDB_REVIEW_UNDO, IDB_REVIEW_UNDO_PRESSED},
        {m_Discard, kDiscardButton, Layout::kLeftPlace, IDB_REVIEW_DISCARD, IDB_REVIEW_DISCARD_PRESSED},
        {m_Save, kSaveButton, Layout::kRightPlace, IDB_REVIEW_SAVE, IDB_REVIEW_SAVE_PRESSED},
        {m_Keep, kKeepButton, Layout::kLeftPlace, IDB_REVIEW_KEEP, IDB_REVIEW_KEEP_PRESSED},
        {m_ConfirmDiscard, kConfirmDiscardButton, Layout::kRightPlace, IDB_REVIEW_CONFIRM, IDB_REVIEW_CONFIRM_PRESSED},
    };
    for (const auto& entry : buttons)
        result.Add(AddButton(entry.button, entry.id, entry.place, entry.normal, entry.pressed, CNButton::kPush));
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
    const int frame = CurrentFrame();
    if (m_Picture.Draw(m_Screen, Layout::kStage, frame))
        m_Texts.DrawTag(m_Screen, *m_Frames, frame);
    else
        m_Texts.DrawUnreadable(m_Screen);
    m_Texts.DrawReadouts(m_Screen, *m_Frames, frame);
    if (m_Confirming)
        m_Texts.DrawQuestion(m_Screen);
    else
        m_Texts.DrawHint(m_Screen, m_Note, SelectionFirst(), SelectionLast());
}

} // namespace pelidore
