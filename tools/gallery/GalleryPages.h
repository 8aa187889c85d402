#pragma once

#include "CNScale.h"
#include "NWindows.h"

#include <string>

namespace pelidore {

class GallerySheet;
class CNButton;

// The gallery's pages: every window laid out with its real controls, every
// control in each of its states, and every picture with its id; drawn at a
// monitor's scale, 100 % unless given.
class GalleryPages {
public:
    explicit GalleryPages(std::wstring folder, const CNScale& scale = CNScale());

    // Writes all pages; returns how many could not be written.
    int WriteAll();

private:
    HRESULT WritePanel();
    HRESULT WriteSetup();
    HRESULT WriteLogo();
    HRESULT WriteLocks();
    HRESULT WriteAboutAndSave();
    HRESULT WriteFrame();
    HRESULT WriteButtons();
    HRESULT WriteInputs();
    HRESULT WriteLists();
    HRESULT WritePictures();

    // Creates a button at (x, y) in one state: a CNButton::State value, or
    // kDisabled for the disabled look.
    static void PrepareButton(GallerySheet& sheet, CNButton& button, int x, int y, int width, int height, int state);
    // The four looks of a button side by side, each captioned.
    void DrawButtonRow(GallerySheet& sheet, int y, const wchar_t* title, UINT normal, UINT pressed, UINT hover,
                       int width, int height, bool alpha);

    static constexpr int kDisabled = -1;
    std::wstring m_Folder;
    CNScale m_Scale;
};

} // namespace pelidore
