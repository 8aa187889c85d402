#pragma once
// The recording frame: a borderless, layered, resizable window whose inside
// is the screen region that is recorded. It owns the tool windows, the
// recording state, the capture and save threads and the objects they use,
// and answers the command message that the tool windows, the threads and
// scripts (pelictl) post to it.
#include "CAboutWnd.h"
#include "CCaptureBitmap.h"
#include "CCaptureThread.h"
#include "CControlWnd.h"
#include "CFrameStoreWriter.h"
#include "CLogoPainter.h"
#include "CLogoWnd.h"
#include "CNBitmap.h"
#include "CNGdiplus.h"
#include "CNTopWindow.h"
#include "CSaveThread.h"
#include "CSaveWnd.h"
#include "CSetupWnd.h"
#include "GifExporter.h"
#include "RecordingSettings.h"
#include "ScreenRect.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace pelidore {

class CPelidoreWnd : public CNTopWindow {
public:
    static constexpr UINT_PTR kBorderTimer = 1;
    static constexpr UINT kBorderTimerMs = 100;
    static constexpr unsigned kScreenUpdateMs = 100;

    // Class name and title: what scripts and a second start look for.
    static constexpr const wchar_t* kClassName = L"Pelidore";

    CPelidoreWnd();
    ~CPelidoreWnd() override;

    using CNTopWindow::Create;
    // The frame at its starting size with its top-left corner at (x, y).
    HRESULT Create(HINSTANCE instance, int x, int y);

    void Draw() override;

    // Ends a recording or a save under way without losing anything: a live
    // GIF gets its trailer, a deferred recording's store is closed and kept,
    // a save in progress leaves its store for the next start. Safe to call
    // more than once; the destructor calls it too.
    void Shutdown();

    bool IsRecording() const { return m_Recording; }
    bool IsSaving() const { return m_Saving; }
    int BorderPhase() const { return m_BorderPhase; }

protected:
    HRESULT OnCreate() override;

private:
    enum Mark { kCentreMark, kTopLeftMark, kBottomLeftMark, kTopRightMark, kBottomRightMark, kMarkCount };

    HRESULT CreateToolWindows();
    HRESULT LoadMarks();
    HRESULT AddHandlers();

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

    void ToggleRecording(LPARAM request);
    bool StartRecording();
    bool OpenLiveOutput(const RecordingSettings& settings);
    bool OpenFrameStore(const RecordingSettings& settings);
    void AbandonStart(const RecordingSettings& settings);
    void StopRecording();
    void StartSaving(std::vector<std::filesystem::path> stores, bool mendFirst);
    void FinishSaving();
    void CancelSaving();
    void SaveKeptStores();

    void WaitForScreenUpdate();
    void TakeSnapshot();
    void OpenWorkFolder();
    void ToggleTool(CToolWnd& tool);

    void PlacePanel(const ScreenRect& frame);
    void ShowPanel();
    void HidePanel();
    void ResetPanel();
    ScreenRect PanelRect() const;

    RecordingSettings ReadSettings() const;
    LogoSettings ReadLogo() const;
    std::filesystem::path WorkFolder() const;
    ScreenRect WindowRect() const;
    ScreenRect MarkedRegion() const;
    static ScreenRect VirtualScreen();

    // Declared first so it is destroyed last, after every GDI+ object.
    std::unique_ptr<CNGdiplus> m_Gdiplus;

    CControlWnd m_Panel;
    CSetupWnd m_Setup;
    CLogoWnd m_Logo;
    CAboutWnd m_About;
    CSaveWnd m_Save;

    GifExporter m_Exporter;
    CFrameStoreWriter m_Store;
    CNBitmap m_Marks[kMarkCount];

    bool m_Recording = false;
    bool m_SnapshotBusy = false;
    bool m_Saving = false;
    int m_BorderPhase = 0;
    RecordingSettings m_Active;
    PixelSize m_Output;
    int m_FrameCount = 0;
    std::filesystem::path m_StorePath;
    std::filesystem::path m_GifPath;

    CCaptureBitmap m_Bitmap;
    CLogoPainter m_LogoPainter;
    CCaptureThread m_Capture;
    CSaveThread m_Saver;
};

} // namespace pelidore
