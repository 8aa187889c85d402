#pragma once

#include "CLabelWnd.h"
#include "CNAlphaButton.h"
#include "CNButton.h"
#include "CNFont.h"
#include "CNSavedRect.h"
#include "CPanelMessage.h"
#include "CSizeLockWnd.h"
#include "CTimeLockWnd.h"
#include "CToolWnd.h"

#include <cstdint>
#include <string>

namespace pelidore {

// The control panel under the recording frame: the program's commands, the
// time and size locks and the running time and size read-outs. Commands go to
// the owner (the frame) as posted PWM_COMMAND messages.
//
// Resting the pointer on a button shows a label of what it does, with the
// global hotkey that does the same where there is one.
//
// Everything here runs on the UI thread. The capture thread never calls in:
// it posts pelidore::PWM_READOUT (wParam elapsed seconds, lParam bytes) and
// runs the lock test itself (CReadoutRules::LockReached) on the limits the
// frame hands it: at the start, and again on each CMD_LOCKS_CHANGED that the
// panel posts when a lock is set or cleared.
class CControlWnd : public CToolWnd {
public:
    static constexpr int kHeight = ToolWindowMetrics::kPanelHeight;
    static constexpr const wchar_t* kTitle = L"Pelidore - Control";

    enum ControlId : int {
        kQuitButton = kCloseButtonId,
        kAboutButton = 1,
        kRecordButton = 2,
        kStopButton = 3,
        kFolderButton = 4,
        kSnapshotButton = 5,
        kLogoButton = 6,
        kSetupButton = 7,
        kTimeLockButton = 8,
        kTimeClearButton = 9,
        kSizeLockButton = 10,
        kMinimizeButton = 11,
        kSizeClearButton = 12,
        // Shown while recording, one of the pair at a time.
        kPauseButton = 13,
        kResumeButton = 14,
    };

    // The picture buttons besides quit, record and stop.
    static constexpr int kAlphaButtons = 12;

    CControlWnd();
    ~CControlWnd() override;

    // Stores the values, redraws both read-outs (pushed to the screen when
    // paintNow is non-zero) and returns 1 when a set lock has been reached.
    int UpdateDisplay(int elapsedSeconds, std::uint64_t bytes, int paintNow);
    // UpdateDisplay with painting; what PWM_READOUT does.
    void ShowReadout(int elapsedSeconds, std::uint64_t bytes);
    // The idle look at the end of a recording. Read-outs the capture thread
    // posted before it ended are dropped, so they cannot overwrite the reset.
    void ShowRecordButton();
    // The recording look, for a recording that was not started from the panel.
    void ShowStopButton();
    // A paused recording: the resume button in place of the pause button,
    // and the time read-out blinks until it goes on.
    void SetPaused(bool paused);
    bool IsPaused() const { return m_Paused; }
    // Says for a few seconds why a recording did not start or stopped early;
    // a recording that starts takes it away.
    void ShowMessage(const std::wstring& text);
    const std::wstring& Message() const { return m_Message.Text(); }
    // 0 "High Speed" shows the size read-out and offers the size lock; any
    // other index hides the read-out and disables the lock (a set limit is kept).
    void SetQuality(int qualityIndex);

    // The hotkeys the hover labels name ("Ctrl+Shift+F9"); an empty text
    // for one that is not set or could not be registered.
    void SetHotkeyTexts(const std::wstring& record, const std::wstring& pause, const std::wstring& snapshot);
    // What the label of button `id` says.
    std::wstring LabelText(int id) const;
    // Shows that label beside the button, as a rest of the pointer does.
    void ShowLabel(int id);
    CLabelWnd& HoverLabel() { return m_Label; }
    // The panel's label goes with it.
    void Hide() override;

    int TimeLimit() const { return m_TimeLimit; } // seconds, 0 = off
    int SizeLimit() const { return m_SizeLimit; } // megabytes, 0 = off
    int Quality() const { return m_QualityIndex; }
    const std::wstring& TimeReadout() const { return m_TimeText; }
    const std::wstring& SizeReadout() const { return m_SizeText; } // empty while hidden

    CTimeLockWnd& TimeLockWindow() { return m_TimeLockWnd; }
    CSizeLockWnd& SizeLockWindow() { return m_SizeLockWnd; }

protected:
    HRESULT OnCreate() override;
    // The read-outs over the background; the pixels under them are kept so
    // that a read-out alone can be redrawn.
    void DrawDecorations() override;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr UINT_PTR kBlinkTimer = 1;
    static constexpr UINT kBlinkMs = 500;
    static constexpr UINT_PTR kMessageTimer = 2;

    HRESULT CreateButtons();
    HRESULT CreateLockWindows();
    void AskForHoverNotices();
    HRESULT AddPanelHandlers();
    CNButton* Button(int id);
    void SwapButtons(int hideId, int showId);
    void ApplySizeLockButtons();

    void OpenTimeLock();
    void ClearTimeLock();
    void OpenSizeLock();
    void ClearSizeLock();
    void DiscardQueuedReadouts();
    void HideMessage();

    void DrawReadouts();
    void ShowPauseButtons(bool recording, bool paused);
    void DrawReadout(const RECT& area, const std::wstring& text);
    void KeepReadoutBackgrounds();
    void RestoreReadoutBackgrounds();

    LRESULT OnButtonClicked(WPARAM wParam, LPARAM lParam);
    LRESULT OnMoving(WPARAM wParam, LPARAM lParam);
    LRESULT OnReadout(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnHover(WPARAM wParam, LPARAM lParam);
    LRESULT OnHoverEnd(WPARAM wParam, LPARAM lParam);

    CNAlphaButton m_Quit;
    CNAlphaButton m_AlphaButtons[kAlphaButtons];
    CNButton m_Record;
    CNButton m_Stop;
    CTimeLockWnd m_TimeLockWnd;
    CSizeLockWnd m_SizeLockWnd;
    CLabelWnd m_Label;
    int m_LabelFor = -1;           // the button whose label shows
    std::wstring m_HotkeyTexts[3]; // record, pause, snapshot
    CNFont m_Font;
    CNSavedRect m_TimeBackground;
    CNSavedRect m_SizeBackground;
    CPanelMessage m_Message;

    std::int64_t m_ElapsedSeconds = 0;
    std::uint64_t m_Bytes = 0;
    int m_TimeLimit = 0;
    int m_SizeLimit = 0;
    int m_QualityIndex = 0;
    bool m_Paused = false;
    bool m_BlinkHidden = false; // the time read-out's off phase while paused
    std::wstring m_TimeText;
    std::wstring m_SizeText;
};

} // namespace pelidore
