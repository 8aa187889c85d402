#pragma once

#include "CConfigFile.h"
#include "CNAlphaButton.h"
#include "CNBitmap.h"
#include "CNCombo.h"
#include "CNEdit.h"
#include "CNFont.h"
#include "CNSliderControl.h"
#include "CToolWnd.h"

#include <string>

namespace pelidore {

// The Setup window: frame rate, output size, playback speed, cursor capture,
// dithering, transparency, quality mode and work folder. Every change is
// written to config.dat at once and announced to the main window with
// PWM_COMMAND / CMD_QUALITY_CHANGED. The main window reads the settings
// through the queries below (UI thread only; a recording takes its copy when
// it starts).
class CSetupWnd : public CToolWnd {
public:
    static constexpr int kHeight = 252;
    enum ControlId : int {
        kCloseButton = 0,
        kFpsSlider = 1,
        kScaleSlider = 2,
        kSpeedSlider = 3,
        kCursorBox = 4,
        kDitheringBox = 5,
        kTransparentBox = 6,
        kQualityCombo = 7,
        kFolderEdit = 8,
        kFolderButton = 9,
        // In the top strip, left of the close button: opens and closes the
        // Options window (PWM_COMMAND / CMD_TOGGLE_OPTIONS).
        kOptionsButton = 10,
    };

    CSetupWnd();
    ~CSetupWnd() override;

    // frames per second 1..30, size 30..100 %, speed 50..200 %.
    void GetSettings(int& framesPerSecond, int& scalePercent, int& speedPercent, bool& dithering,
                     bool& transparent) const;
    // 0 "High Speed" .. 3 "High Quality", -1 when nothing is selected.
    int GetQuality() const;
    bool IsCursorCapture() const;
    void GetWorkFolder(wchar_t (&folder)[260]) const;

    // Where config.dat is read and written; also the default work folder.
    // Documents\Pelidore unless set before Create (tests, tools).
    void SetSettingsFolder(const std::wstring& folder);
    const std::wstring& GetSettingsFolder() const { return m_SettingsFolder; }

    // Saves config.dat from the controls and posts the change notice.
    void SaveConfig();

protected:
    HRESULT OnCreate() override;
    void DrawDecorations() override;

private:
    HRESULT CreateControls();
    HRESULT CreateSliders();
    HRESULT CreateCheckBoxes();
    HRESULT CreateQualityCombo();
    HRESULT AddHandlers();
    void LoadConfig();
    void ApplyConfig(const CConfigFile& config);
    CConfigFile CollectConfig() const;
    std::wstring ConfigPath() const;
    void ChooseWorkFolder();
    void DrawReadouts();

    LRESULT OnButtonClicked(WPARAM wParam, LPARAM lParam);
    LRESULT OnSliderChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnComboDropDown(WPARAM wParam, LPARAM lParam);

    static int SliderValue(const CNSliderControl& slider);

    std::wstring m_SettingsFolder;
    CNBitmap m_FolderField;
    CNFont m_ReadoutFont;
    CNAlphaButton m_CloseButton;
    CNSliderControl m_FpsSlider;
    CNSliderControl m_ScaleSlider;
    CNSliderControl m_SpeedSlider;
    CNAlphaButton m_CursorBox;
    CNAlphaButton m_DitheringBox;
    CNAlphaButton m_TransparentBox;
    CNCombo m_QualityCombo;
    CNEdit m_FolderEdit;
    CNAlphaButton m_FolderButton;
    CNAlphaButton m_OptionsButton;
};

} // namespace pelidore
