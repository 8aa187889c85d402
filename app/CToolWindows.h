#pragma once
// The frame's tool windows: the control panel below the frame, and the
// Setup, Logo, About, Options and Save windows that open at the panel's
// place. Keeps the panel at the frame, and lets the save window take the
// panel's place while a recording is saved. UI thread only.
#include "CAboutWnd.h"
#include "CControlWnd.h"
#include "CGlobalHotkeys.h"
#include "CLogoWnd.h"
#include "COptionsWnd.h"
#include "CReviewSession.h"
#include "CReviewWnd.h"
#include "CSaveWnd.h"
#include "CSetupWnd.h"
#include "NWindows.h"
#include "ScreenRect.h"

namespace pelidore {

class CToolWindows {
public:
    // How long the save window tells that a recording did not fit its size;
    // a timer of the frame, which hands it to SaveNoteTimeUp.
    static constexpr UINT_PTR kSaveNoteTimer = 7;
    static constexpr UINT kSaveNoteTimerMs = 4000;

    // Creates every tool window, owned by `frame`, with the panel shown at
    // the frame's bottom edge in the scale of the frame's monitor.
    HRESULT Create(HINSTANCE instance, HWND frame);

    CControlWnd& Panel() { return m_Panel; }
    CSetupWnd& Setup() { return m_Setup; }
    CLogoWnd& Logo() { return m_Logo; }
    CAboutWnd& About() { return m_About; }
    COptionsWnd& OptionsWindow() { return m_Options; }
    CSaveWnd& Save() { return m_Save; }
    CReviewWnd& Review() { return m_Review; }
    const COptionsWnd& OptionsWindow() const { return m_Options; }

    // Registers the Options window's hotkeys for `frame` and shows which
    // took (the Options window) and their keys (the panel's hover labels);
    // none while a hotkey field listens for a new combination.
    void ApplyHotkeys(CGlobalHotkeys& hotkeys, HWND frame);

    // Shows a hidden tool at the panel's place, hides a shown one.
    void Toggle(CToolWnd& tool);
    // The panel follows the frame at `frame` (its window rectangle).
    void PlacePanel(const ScreenRect& frame);
    // Where the panel is, which after a drag of the panel may be above the frame.
    ScreenRect PanelRect() const;

    // While saving the save window takes the panel's place.
    void ShowSaving(int frames);
    void ShowSaveProgress(int total, int done);
    void ShowSaveFit(int keptFps, int scalePercent);
    void ShowSaveTooLarge(int limitMb);
    void ShowSavingDone();
    // The note of a save that could not fit has been read long enough.
    void SaveNoteTimeUp(bool stillSaving);

    // The review window takes the panel's place, as the save window does.
    void ShowReview(CReviewSession& session);
    void CloseReview();

private:
    void MovePanelTo(const ScreenRect& panel);
    void HidePanel();
    // Where a tool shown at (x, y) stays inside its monitor's work area:
    // moved up rather than off the bottom (a large scale on a short screen).
    static PixelPoint PlaceOnMonitor(const CToolWnd& tool, int x, int y);
    void ShowPanel();

    HWND m_Frame = nullptr;
    CControlWnd m_Panel;
    CSetupWnd m_Setup;
    CLogoWnd m_Logo;
    CAboutWnd m_About;
    CSaveWnd m_Save;
    COptionsWnd m_Options;
    CReviewWnd m_Review;
};

} // namespace pelidore
