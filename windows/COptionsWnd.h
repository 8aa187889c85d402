#pragma once

#include "CNAlphaButton.h"
#include "CNCombo.h"
#include "CNEdit.h"
#include "CNHotkeyEdit.h"
#include "COptionsFile.h"
#include "CToolWnd.h"

#include <filesystem>
#include <string>

namespace pelidore {

// The Options window: the three global hotkeys, the countdown, and the
// switches of options.ini that the Setup window does not hold. Every change
// is written to options.ini at once (keeping whatever else the file holds)
// and announced to the main window with PWM_COMMAND / CMD_OPTIONS_CHANGED;
// while a hotkey field listens for a combination it posts
// CMD_HOTKEY_LISTENING. The main window reads the options through
// GetOptions() and reports back which hotkeys it could not register.
// UI thread only.
class COptionsWnd : public CToolWnd {
public:
    static constexpr int kHeight = 294;
    static constexpr const wchar_t* kTitle = L"Pelidore - Options";

    // The hotkeys, in the order of their rows.
    enum Hotkey : int { kRecordHotkey = 0, kPauseHotkey = 1, kSnapshotHotkey = 2, kHotkeyCount = 3 };
    enum ControlId : int {
        kCloseButton = kCloseButtonId,
        kRecordField = 1, // the field of hotkey h is kRecordField + h
        kPauseField = 2,
        kSnapshotField = 3,
        kRecordClear = 4, // its clear button kRecordClear + h
        kPauseClear = 5,
        kSnapshotClear = 6,
        kCountdownCombo = 7,
        kHighlightBox = 8,
        kReviewBox = 9,
        kSmallerBox = 10,
        kCopyBox = 11,
        kShowBox = 12,
        kFitEdit = 13,
    };
    static constexpr int kBoxCount = kShowBox - kHighlightBox + 1;

    COptionsWnd();
    ~COptionsWnd() override;

    // The options as the window shows them (those of options.ini at the start).
    const Options& GetOptions() const { return m_File.options; }
    // Whether the main window could register hotkey `which` (a Hotkey); the
    // field of one it could not says so.
    void SetHotkeyState(int which, bool registered);
    // The combination of hotkey `which` as the panel's labels name it; empty
    // when it is not set or could not be registered.
    std::wstring WorkingHotkeyText(int which) const;
    // While true the main window keeps its hotkeys unregistered.
    bool IsListeningForHotkey() const;

    // Where options.ini is read and written: Documents\Pelidore unless set
    // before Create (tests, tools).
    void SetSettingsFolder(const std::wstring& folder) { m_SettingsFolder = folder; }
    std::filesystem::path OptionsPath() const;

    // A field stops listening when the window goes.
    void Hide() override;

protected:
    HRESULT OnCreate() override;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct HotkeyRow {
        CNHotkeyEdit field;
        CNAlphaButton clear;
    };

    HRESULT CreateHotkeyRows();
    HRESULT CreateCountdownCombo();
    HRESULT CreateCheckBoxes();
    HRESULT CreateFitEdit();
    HRESULT AddHandlers();
    void ShowOptions(const Options& options);
    Options CollectOptions() const;
    void SaveIfChanged();
    void TakeFromOtherFields(int which);

    LRESULT OnButtonClicked(WPARAM wParam, LPARAM lParam);
    LRESULT OnHotkeyChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnHotkeyListening(WPARAM wParam, LPARAM lParam);
    LRESULT OnComboDropDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnValueChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSystemChar(WPARAM wParam, LPARAM lParam);

    std::wstring m_SettingsFolder;
    COptionsFile m_File;
    CNAlphaButton m_CloseButton;
    HotkeyRow m_Rows[kHotkeyCount];
    CNCombo m_CountdownCombo;
    // In the order of their ids, from kHighlightBox.
    CNAlphaButton m_Boxes[kBoxCount];
    CNEdit m_FitEdit;
};

} // namespace pelidore
