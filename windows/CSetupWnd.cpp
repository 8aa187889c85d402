#include "CSetupWnd.h"

#include "CFolderChooser.h"
#include "CFolderText.h"
#include "CNColor.h"
#include "CNCreationResult.h"
#include "CNLog.h"
#include "CNTheme.h"
#include "CNTopWindow.h"
#include "CSettingsFile.h"
#include "CSettingsFolder.h"
#include "NControlMessages.h"
#include "PelidoreCommands.h"
#include "ResourceIds.h"

#include <cwchar>
#include <filesystem>
#include <string_view>
#include <vector>

namespace pelidore {

namespace {

struct SliderLayout {
    int y;
    int maximum;
    int position;
};

constexpr int kSliderX = 70;
constexpr int kSliderWidth = 220;
constexpr int kSliderHeight = 24;
constexpr SliderLayout kFpsLayout = {48, CConfigFile::kMaxFpsStep, 9};
constexpr SliderLayout kScaleLayout = {81, CConfigFile::kMaxScaleStep, 70};
constexpr SliderLayout kSpeedLayout = {114, CConfigFile::kMaxSpeedStep, 50};

constexpr const wchar_t* kQualityNames[] = {L"High Speed", L"Low Quality", L"Medium Quality", L"High Quality"};

constexpr RECT kFpsReadout = {306, 53, 350, 69};
constexpr RECT kScaleReadout = {306, 85, 350, 101};
constexpr RECT kSpeedReadout = {306, 118, 350, 134};

} // namespace

CSetupWnd::CSetupWnd() : CToolWnd(kHeight, IDB_SETUP_BACKGROUND), m_SettingsFolder(CSettingsFolder::Default()) {}

CSetupWnd::~CSetupWnd()
{
    // The window's messages reach the member controls: end it while they exist.
    Destroy();
    ReleaseChildren();
}

void CSetupWnd::GetSettings(int& framesPerSecond, int& scalePercent, int& speedPercent, bool& dithering,
                            bool& transparent) const
{
    framesPerSecond = SliderValue(m_FpsSlider) + 1;
    scalePercent = SliderValue(m_ScaleSlider) + 30;
    speedPercent = SliderValue(m_SpeedSlider) + 50;
    dithering = m_DitheringBox.IsChecked();
    transparent = m_TransparentBox.IsChecked();
}

int CSetupWnd::GetQuality() const
{
    for (int i = 0; i < m_QualityCombo.GetCount(); ++i) {
        if (m_QualityCombo.IsItemSelected(i))
            return i;
    }
    return -1;
}

bool CSetupWnd::IsCursorCapture() const
{
    return m_CursorBox.IsChecked();
}

void CSetupWnd::GetWorkFolder(wchar_t (&folder)[260]) const
{
    wcsncpy(folder, m_FolderEdit.GetText(), 259);
    folder[259] = 0;
}

void CSetupWnd::SetSettingsFolder(const std::wstring& folder)
{
    m_SettingsFolder = folder;
}

HRESULT CSetupWnd::OnCreate()
{
    CNCreationResult result;
    result.Add(CreateFrame(m_CloseButton));
    result.Add(m_FolderField.LoadResource(CNTopWindow::ModuleInstance(), IDB_FOLDER_FIELD));
    result.Add(CreateControls());
    result.Add(m_ReadoutFont.Create(14, FW_HEAVY, L"Franklin Gothic Medium"));
    m_FolderEdit.SetText(m_SettingsFolder.c_str());
    LoadConfig();
    result.Add(AddHandlers());
    return result.Get();
}

HRESULT CSetupWnd::CreateControls()
{
    CNCreationResult result;
    result.Add(CreateSliders());
    result.Add(CreateCheckBoxes());

    result.Add(m_FolderEdit.Create(m_Window, &m_Screen, kFolderEdit, 100, 220, 200, 20, 1));
    m_FolderEdit.Enable(false);
    result.Add(AddChild(&m_FolderEdit));

    result.Add(AddButton(m_FolderButton, kFolderButton, {307, 218, 307 + 47, 218 + 23}, IDB_BROWSE, IDB_BROWSE_PRESSED,
                         CNButton::kPush));
    result.Add(AddButton(m_OptionsButton, kOptionsButton, {315, 5, 315 + 26, 5 + 26}, IDB_OPTIONS, IDB_OPTIONS_PRESSED,
                         CNButton::kPush));

    // Last, so that its open list is drawn over the controls below it.
    result.Add(CreateQualityCombo());
    return result.Get();
}

HRESULT CSetupWnd::CreateSliders()
{
    CNCreationResult result;
    const struct {
        CNSliderControl* slider;
        int id;
        SliderLayout layout;
    } sliders[] = {{&m_FpsSlider, kFpsSlider, kFpsLayout},
                   {&m_ScaleSlider, kScaleSlider, kScaleLayout},
                   {&m_SpeedSlider, kSpeedSlider, kSpeedLayout}};
    for (const auto& entry : sliders) {
        CNSliderControl& slider = *entry.slider;
        result.Add(
            slider.Create(m_Window, &m_Screen, entry.id, kSliderX, entry.layout.y, kSliderWidth, kSliderHeight, 1));
        result.Add(slider.SetImages(IDB_SLIDER_TRACK, IDB_SLIDER_THUMB));
        slider.SetOrientation(CNSliderControl::kHorizontal);
        slider.SetMaximum(entry.layout.maximum);
        slider.SetPosition(entry.layout.position);
        result.Add(AddChild(&slider));
    }
    return result.Get();
}

HRESULT CSetupWnd::CreateCheckBoxes()
{
    CNCreationResult result;
    const struct {
        CNAlphaButton* box;
        int id;
        int x;
        int width;
        const wchar_t* label;
        bool checked;
    } boxes[] = {{&m_CursorBox, kCursorBox, 30, 120, L"Cursor capture", false},
                 {&m_DitheringBox, kDitheringBox, 160, 90, L"Dithering", true},
                 {&m_TransparentBox, kTransparentBox, 260, 150, L"Transparent", false}};
    for (const auto& entry : boxes) {
        result.Add(AddCheckBox(*entry.box, entry.id, entry.x, 184, entry.width, entry.label));
        entry.box->SetChecked(entry.checked);
    }
    return result.Get();
}

HRESULT CSetupWnd::CreateQualityCombo()
{
    const UINT images[3] = {IDB_COMBO, IDB_COMBO_OPEN, IDB_COMBO_HOVER};
    const HRESULT result = AddCombo(m_QualityCombo, kQualityCombo, 70, 150, 145, images, 130, 125);
    for (const wchar_t* name : kQualityNames)
        m_QualityCombo.AddItem(name);
    m_QualityCombo.SetSelection(0);
    return result;
}

HRESULT CSetupWnd::AddHandlers()
{
    CNCreationResult result;
    result.Add(AddToolHandlers());
    result.Add(AddMessageFunc(NWM_BUTTON_CLICKED, &CSetupWnd::OnButtonClicked));
    result.Add(AddMessageFunc(NWM_SLIDER_CHANGED, &CSetupWnd::OnSliderChanged));
    result.Add(AddMessageFunc(NWM_COMBO_DROPDOWN, &CSetupWnd::OnComboDropDown));
    return result.Get();
}

void CSetupWnd::LoadConfig()
{
    CConfigFile config;
    config.workFolder.AssignUnits(m_SettingsFolder.c_str(), m_SettingsFolder.size());
    std::vector<std::uint8_t> bytes;
    if (CSettingsFile::Read(ConfigPath(), CConfigFile::kSize, bytes))
        config.Load(bytes);
    ApplyConfig(config);
}

void CSetupWnd::ApplyConfig(const CConfigFile& config)
{
    m_FpsSlider.SetPosition(config.fpsStep);
    m_ScaleSlider.SetPosition(config.scaleStep);
    m_SpeedSlider.SetPosition(config.speedStep);
    m_DitheringBox.SetChecked(config.dithering);
    m_CursorBox.SetChecked(config.cursorCapture);
    m_TransparentBox.SetChecked(config.transparent);
    m_QualityCombo.SetSelection(config.qualityIndex);
    wchar_t folder[CFixedText::kUnits];
    config.workFolder.CopyTo(folder, CFixedText::kUnits);
    // Anything but a full path would name a folder under whatever the current
    // folder happens to be: the settings folder stands in, as for a missing
    // setting. The file keeps its text until a change is saved.
    m_FolderEdit.SetText(CFolderText::IsFullPath(std::wstring_view(folder)) ? folder : m_SettingsFolder.c_str());
}

CConfigFile CSetupWnd::CollectConfig() const
{
    CConfigFile config;
    config.fpsStep = SliderValue(m_FpsSlider);
    config.scaleStep = SliderValue(m_ScaleSlider);
    config.speedStep = SliderValue(m_SpeedSlider);
    config.dithering = m_DitheringBox.IsChecked();
    config.cursorCapture = m_CursorBox.IsChecked();
    config.transparent = m_TransparentBox.IsChecked();
    config.qualityIndex = GetQuality();
    config.workFolder.AssignUnits(m_FolderEdit.GetText(), CFixedText::kUnits);
    return config;
}

void CSetupWnd::SaveConfig()
{
    const std::wstring path = ConfigPath();
    if (!CSettingsFile::Write(path, CollectConfig().Serialise()))
        NLOG("CSetupWnd::SaveConfig", CNLog::kLevelRefused, L"cannot write file : %ls", path.c_str());
    // Announced whether or not the file could be written: the main window
    // still has to hand the quality to the control panel.
    PostToOwner(CMD_QUALITY_CHANGED);
}

std::wstring CSetupWnd::ConfigPath() const
{
    return (std::filesystem::path(m_SettingsFolder) / CSettingsFolder::kConfigFileName).wstring();
}

void CSetupWnd::ChooseWorkFolder()
{
    wchar_t folder[MAX_PATH];
    GetWorkFolder(folder);
    if (!CFolderChooser::Choose(m_Window, folder))
        return;
    m_FolderEdit.SetText(folder);
    SaveConfig();
    Draw();
}

void CSetupWnd::DrawDecorations()
{
    m_Screen.DrawImage(m_FolderField, 100, 220);
    DrawReadouts();
}

void CSetupWnd::DrawReadouts()
{
    int framesPerSecond = 0, scalePercent = 0, speedPercent = 0;
    bool dithering = false, transparent = false;
    GetSettings(framesPerSecond, scalePercent, speedPercent, dithering, transparent);
    const CNColor color = CNTheme::Text();
    m_Screen.DrawNumber(m_ReadoutFont, kFpsReadout, color, framesPerSecond, 1, 1, true);
    m_Screen.DrawNumber(m_ReadoutFont, kScaleReadout, color, scalePercent, 1, 1, true);
    m_Screen.DrawNumber(m_ReadoutFont, kSpeedReadout, color, speedPercent, 1, 1, true);
}

LRESULT CSetupWnd::OnButtonClicked(WPARAM wParam, LPARAM)
{
    switch (static_cast<int>(wParam)) {
    case kCloseButton:
        Hide();
        break;
    case kCursorBox:
    case kDitheringBox:
    case kTransparentBox:
        // The box has toggled itself already.
        SaveConfig();
        break;
    case kFolderButton:
        ChooseWorkFolder();
        break;
    case kOptionsButton:
        PostToOwner(CMD_TOGGLE_OPTIONS);
        break;
    default:
        break;
    }
    return 1;
}

LRESULT CSetupWnd::OnSliderChanged(WPARAM, LPARAM)
{
    Draw();
    SaveConfig();
    return 1;
}

LRESULT CSetupWnd::OnComboDropDown(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<CNControlBase*>(lParam) != &m_QualityCombo)
        return 1;
    if (wParam != 0) {
        SetMouseTarget(&m_QualityCombo);
    } else {
        SetMouseTarget(nullptr);
        SaveConfig();
    }
    return 1;
}

int CSetupWnd::SliderValue(const CNSliderControl& slider)
{
    const double value =
        slider.GetOrientation() != 0 ? slider.GetPosition() : slider.GetMaximum() - slider.GetPosition();
    return static_cast<int>(value);
}

} // namespace pelidore
