#pragma once
// The recording frame: a borderless, layered, resizable window whose inside
// is the screen region that is recorded. It draws itself, answers hit tests
// and keeps itself and the control panel on the screen, owns the tool
// windows, and answers the command message that the tool windows, the
// threads and scripts (pelictl) post to it. The recording itself, from its
// start to its GIF, is the recording controller's.
#include "CFramePainter.h"
#include "CGlobalHotkeys.h"
#include "CNGdiplus.h"
#include "CNTopWindow.h"
#include "CRecordingController.h"
#include "CSettingsReader.h"
#include "CToolWindows.h"
#include "ScreenRect.h"

#include <filesystem>
#include <memory>

namespace pelidore {

class CPelidoreWnd : public CNTopWindow {
public:
    static constexpr UINT_PTR kBorderTimer = 1;
    static constexpr UINT kBorderTimerMs = 100;
    static constexpr UINT_PTR kCountdownTimer = 2;
    static constexpr UINT kCountdownTimerMs = 1000;
    static constexpr unsigned kScreenUpdateMs = 100;

    // Class name and title: what scripts and a second start look for.
    static constexpr const wchar_t* kClassName = L"Pelidore";

    CPelidoreWnd();
    ~CPelidoreWnd() override;

    using CNTopWindow::Create;
    // The frame at its starting size with its top-left corner at (x, y).
    HRESULT Create(HINSTANCE instance, int x, int y);

    void Draw() override;

    // Ends a recording or a save under way without losing anything (see
    // CRecordingController::Shutdown). Safe to call more than once; the
    // destructor calls it too.
    void Shutdown();

    bool IsRecording() const { return m_Recorder.IsRecording(); }
    bool IsPaused() const { return m_Recorder.IsPaused(); }
    bool IsCountingDown() const { return m_Recorder.IsCountingDown(); }
    bool IsSaving() const { return m_Recorder.IsSaving(); }
    int BorderPhase() const { return m_BorderPhase; }

protected:
    HRESULT OnCreate() override;

private:
    HRESULT AddHandlers();
    RecordingHost MakeRecordingHost();

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnMoving(WPARAM wParam, LPARAM lParam);
    LRESULT OnSizing(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryState(WPARAM wParam, LPARAM lParam);
    LRESULT OnHotkey(WPARAM wParam, LPARAM lParam);

    void ToggleRecording(LPARAM request);
    void SetPause(LPARAM request);
    void RunCountdownTicks(bool run);
    void ShowPaused(bool paused);
    void OnGifFinished(const std::filesystem::path& gif);
    void ApplyHotkeys();
    void WaitForScreenUpdate();
    void TakeSnapshot();
    void OpenWorkFolder();
    void OnSaveCommand(WPARAM command, LPARAM argument);

    void ShowPanelRecording();
    void ShowPanelIdle();
    ScreenRect MarkedRegion() const;

    // Declared first so it is destroyed last, after every GDI+ object.
    std::unique_ptr<CNGdiplus> m_Gdiplus;

    CToolWindows m_Tools;
    CSettingsReader m_Settings{m_Tools.Setup(), m_Tools.Logo()};
    CFramePainter m_Painter;
    CGlobalHotkeys m_Hotkeys;

    bool m_SnapshotBusy = false;
    int m_BorderPhase = 0;

    // Declared last so it ends first: its threads post to the windows above.
    CRecordingController m_Recorder;
};

} // namespace pelidore
