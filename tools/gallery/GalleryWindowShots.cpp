#include "GalleryWindowShots.h"

#include "CControlWnd.h"
#include "CNButton.h"
#include "CNCombo.h"
#include "CNDesktop.h"
#include "CNEdit.h"
#include "COptionsWnd.h"
#include "GalleryOwnerWindow.h"
#include "GallerySheet.h"

namespace pelidore {

namespace {

constexpr DWORD kToolExStyle = WS_EX_LAYERED;
constexpr DWORD kToolStyle = WS_POPUP;
// Where the windows stand while they are drawn: well inside any screen, so
// that a label is placed as it would be in the program.
constexpr int kPlaceX = 120;
constexpr int kPlaceY = 120;

template <class Control>
Control* Find(CToolWnd& window, int id)
{
    return dynamic_cast<Control*>(window.FindControl(id));
}

// A pause hotkey another program holds, the snapshot field listening, a
// countdown, two switches and a size to fit.
void SetBusyLook(COptionsWnd& window)
{
    window.SetHotkeyState(COptionsWnd::kPauseHotkey, false);
    if (auto* field = window.FindControl(COptionsWnd::kSnapshotField))
        field->SetFocused(true);
    if (auto* combo = Find<CNCombo>(window, COptionsWnd::kCountdownCombo))
        combo->SetSelection(1);
    for (int id : {COptionsWnd::kHighlightBox, COptionsWnd::kCopyBox})
        if (auto* box = Find<CNButton>(window, id))
            box->SetChecked(true);
    if (auto* fit = Find<CNEdit>(window, COptionsWnd::kFitEdit))
        fit->SetValue(8);
}

} // namespace

GalleryWindowShots::GalleryWindowShots(std::wstring folder) : m_Folder(std::move(folder)) {}

HRESULT GalleryWindowShots::WriteOptions()
{
    GallerySheet sheet;
    if (FAILED(sheet.Init(794, 30 + COptionsWnd::kHeight + 20)))
        return E_FAIL;
    GalleryOwnerWindow owner;
    const wchar_t* captions[] = {L"Options, defaults", L"Options: a hotkey in use, a field listening, switches set"};
    for (int copy = 0; copy < 2; ++copy) {
        COptionsWnd window;
        // A folder that does not exist: every option at its default, and
        // nothing is written there.
        window.SetSettingsFolder(m_Folder + L"\\no-settings-here");
        if (FAILED(window.Create(GetModuleHandleW(nullptr), owner.Get(), COptionsWnd::kTitle, kToolExStyle, kToolStyle,
                                 kPlaceX, kPlaceY, COptionsWnd::kWidth, COptionsWnd::kHeight, 0)))
            return E_FAIL;
        if (copy == 1)
            SetBusyLook(window);
        window.Draw();
        const int x = 20 + copy * 397;
        sheet.Caption(x, 10, captions[copy]);
        if (!sheet.Surface(*window.GetScreen(), x, 30))
            return E_FAIL;
    }
    return sheet.Save(m_Folder, L"window_options.png");
}

HRESULT GalleryWindowShots::WritePanelLabels()
{
    GallerySheet sheet;
    if (FAILED(sheet.Init(794, 30 + CControlWnd::kHeight + 50)))
        return E_FAIL;
    GalleryOwnerWindow owner;
    const wchar_t* captions[] = {L"Panel, the pointer resting on Record", L"Panel recording, resting on Pause"};
    const int buttons[] = {CControlWnd::kRecordButton, CControlWnd::kPauseButton};
    for (int copy = 0; copy < 2; ++copy) {
        CControlWnd panel;
        if (FAILED(panel.Create(GetModuleHandleW(nullptr), owner.Get(), CControlWnd::kTitle, kToolExStyle, kToolStyle,
                                kPlaceX, kPlaceY, CControlWnd::kWidth, CControlWnd::kHeight, 0)))
            return E_FAIL;
        panel.SetHotkeyTexts(L"Ctrl+Shift+F9", L"Ctrl+Shift+F10", L"Ctrl+Shift+F11");
        if (copy == 1) {
            panel.ShowStopButton();
            panel.UpdateDisplay(37, 3565158, 0);
        }
        panel.Draw();
        panel.ShowLabel(buttons[copy]);
        CLabelWnd& label = panel.HoverLabel();
        const ScreenRect panelRect = CNDesktop::WindowRect(panel.GetHwnd());
        const ScreenRect labelRect = CNDesktop::WindowRect(label.GetHwnd());
        const int x = 20 + copy * 397;
        sheet.Caption(x, 10, captions[copy]);
        if (!sheet.Surface(*panel.GetScreen(), x, 30) ||
            !sheet.Surface(*label.GetScreen(), x + labelRect.left - panelRect.left, 30 + labelRect.top - panelRect.top))
            return E_FAIL;
        panel.Hide();
    }
    return sheet.Save(m_Folder, L"panel_label.png");
}

} // namespace pelidore
