#pragma once

#include "CLogoFile.h"
#include "CNAlphaButton.h"
#include "CNColor.h"
#include "CNCombo.h"
#include "CNEdit.h"
#include "CNFont.h"
#include "CToolWnd.h"

#include <string>

namespace pelidore {

// The Logo window: no logo, a text logo (text, font family, size, fill and
// outline colour) or an image logo, its corner and its margins. The values
// live in this object (the logo.dat fields); they are taken from the
// controls whenever the kind changes and when the window hides, which also
// writes logo.dat. Frame composition reads them through the queries below
// (UI thread only; a recording takes its copy when it starts).
class CLogoWnd : public CToolWnd {
public:
    static constexpr int kHeight = 238;
    enum ControlId : int {
        kCloseButton = 0,
        kFontCombo = 1,
        kSizeCombo = 2,
        kFillButton = 3,
        kOutlineButton = 4,
        kPathEdit = 5,
        kBrowseButton = 6,
        kTopLeftButton = 7,
        kTopRightButton = 8,
        kBottomRightButton = 9,
        kBottomLeftButton = 10,
        kMarginXEdit = 11,
        kMarginYEdit = 12,
        kTextBox = 13,
        kImageBox = 14,
    };
    static constexpr POINT kTextEditPosition = {68, 97}; // client coordinates
    static constexpr SIZE kTextEditSize = {168, 15};

    CLogoWnd();
    ~CLogoWnd() override;

    // 0 no logo, 1 text logo, 2 image logo.
    int GetLogoKind() const { return m_Logo.logoKind; }
    // 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left.
    int GetCorner() const { return m_Logo.corner; }
    int GetMarginX() const { return m_Logo.marginX; }
    int GetMarginY() const { return m_Logo.marginY; }
    // Copies the text and the font family into the buffers (replacing what
    // they held) and the two colours; returns the font size.
    int GetTextLogo(wchar_t (&text)[260], wchar_t (&face)[260], CNColor& fill, CNColor& outline) const;
    // True, with the path copied, only when the picture path names an
    // existing file that is not a directory; otherwise `path` is untouched.
    bool GetImageLogo(wchar_t (&path)[260]) const;
    const CLogoFile& GetValues() const { return m_Logo; }

    // Where logo.dat is read and written. Documents\Pelidore unless set
    // before Create (tests, tools).
    void SetSettingsFolder(const std::wstring& folder);
    const std::wstring& GetSettingsFolder() const { return m_SettingsFolder; }

    void ShowAt(int x, int y) override;
    // Takes the values from the controls, writes logo.dat, hides.
    void Hide() override;

    // The popup edit holding the logo text.
    HWND GetTextEdit() const { return m_TextEdit; }

protected:
    HRESULT OnCreate() override;
    void OnScaleChanged() override;

private:
    HRESULT CreateControls();
    HRESULT CreateKindBoxes();
    HRESULT CreateCombos();
    HRESULT CreateColorButtons();
    HRESULT CreatePictureControls();
    HRESULT CreateCornerButtons();
    HRESULT CreateMarginEdits();
    HRESULT CreateTextEdit();
    void FitTextEditToScale();
    HRESULT AddHandlers();
    void FillFontList();

    void LoadLogo();
    void WriteLogo() const;
    std::wstring LogoPath() const;
    void CollectValues();
    void PushValues();
    void ApplyEnableRule();
    template <typename Field>
    static void EnableField(Field& field, bool enabled);
    void SetKind(int kind);
    void SelectCorner(int corner);
    int FirstSetCorner() const;
    void PlaceTextEdit(int windowLeft, int windowTop);
    void ShowTextEdit(bool show);
    std::wstring TextEditText() const;
    void ChooseColor(CNAlphaButton& button);
    void ChoosePicture();

    LRESULT OnButtonClicked(WPARAM wParam, LPARAM lParam);
    LRESULT OnComboDropDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMoving(WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColorEdit(WPARAM wParam, LPARAM lParam);
    void OnKindBoxClicked(int id);

    static int MarginValue(const CNEdit& edit);

    std::wstring m_SettingsFolder;
    CLogoFile m_Logo;
    CNFont m_TextEditFont;
    HWND m_TextEdit = nullptr;
    HBRUSH m_TextEditBrush = nullptr;
    CNAlphaButton m_CloseButton;
    CNAlphaButton m_TextBox;
    CNAlphaButton m_ImageBox;
    CNCombo m_FontCombo;
    CNCombo m_SizeCombo;
    CNAlphaButton m_FillButton;
    CNAlphaButton m_OutlineButton;
    CNEdit m_PathEdit;
    CNAlphaButton m_BrowseButton;
    CNAlphaButton m_CornerButtons[4];
    CNEdit m_MarginXEdit;
    CNEdit m_MarginYEdit;
};

} // namespace pelidore
