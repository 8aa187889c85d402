#pragma once

#include "CNAlphaButton.h"
#include "CReviewPicture.h"
#include "CReviewTexts.h"
#include "CReviewTimeline.h"
#include "CToolWnd.h"
#include "ReviewWindowLayout.h"

#include <cstdint>
#include <functional>
#include <string>

namespace pelidore {

class CKeptFrames;

// The Review window: a stopped recording before it becomes a GIF. It shows
// the current frame, plays the kept frames at their recorded timing, and
// lets the user move the start and end marks, delete a selected range (one
// step of undo) and then Save (CMD_REVIEW_SAVE to the owner) or Discard
// (CMD_REVIEW_DISCARD, only once confirmed in the window itself). It has no
// close button and a close message only asks to discard: nothing the user
// recorded goes without a word. The owner closes it when it takes the
// recording's way. UI thread only.
class CReviewWnd : public CToolWnd {
public:
    static constexpr int kWidth = ReviewWindowLayout::kWidth;
    static constexpr int kHeight = ReviewWindowLayout::kHeight;
    static constexpr const wchar_t* kTitle = L"Pelidore - Review";
    enum ControlId : int {
        kPlayButton = 1,
        kDeleteButton,
        kUndoButton,
        kSaveButton,
        kDiscardButton,
        kConfirmDiscardButton,
        kKeepButton,
        kTimeline,
    };
    // BGR, bottom-up rows, width*height*3 bytes; null when the frame cannot be read. Valid until the next call.
    using FrameSource = std::function<const std::uint8_t*(int frame)>;

    CReviewWnd();
    ~CReviewWnd() override;

    // Creates the window hidden, at its own size.
    HRESULT CreateHidden(HINSTANCE instance, HWND owner);

    // Shows `frames` (owned by the caller, outlives the window's use) at (x, y); current frame = first kept.
    void Open(CKeptFrames& frames, int width, int height, FrameSource source, int x, int y);
    void Close();   // hides, stops playing, forgets the model and source
    void Refresh(); // the model changed from outside (a script): redraw, clamp the current frame
    int CurrentFrame() const { return m_Timeline.Current(); }
    void SetCurrentFrame(int frame);
    bool IsPlaying() const { return m_Playing; }
    bool IsConfirmingDiscard() const { return m_Confirming; }
    int SelectionFirst() const { return m_Timeline.SelectionFirst(); } // -1 when none
    int SelectionLast() const { return m_Timeline.SelectionLast(); }   // -1 when none

    // Hidden, it plays no more.
    void Hide() override;

protected:
    HRESULT OnCreate() override;
    void DrawDecorations() override;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HRESULT CreateControls();
    HRESULT AddHandlers();
    void UpdateControls();
    void Step(int frame);
    void TogglePlaying();
    void StartPlaying();
    void StopPlaying();
    void ArmTimer();
    void DeleteSelection();
    void UndoDelete();
    void AskToDiscard(bool asking);

    LRESULT OnButtonClicked(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimelineChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    bool StepForKey(WPARAM key);

    CKeptFrames* m_Frames = nullptr;
    CReviewPicture m_Picture;
    CReviewTimeline m_Timeline;
    CNAlphaButton m_Play;
    CNAlphaButton m_Delete;
    CNAlphaButton m_Undo;
    CNAlphaButton m_Save;
    CNAlphaButton m_Discard;
    CNAlphaButton m_ConfirmDiscard;
    CNAlphaButton m_Keep;
    CReviewTexts m_Texts;
    bool m_Playing = false;
    bool m_Confirming = false;
    std::wstring m_Note; // says why the last action did nothing, until the next one
};

} // namespace pelidore
