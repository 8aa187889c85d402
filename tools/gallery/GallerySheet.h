#pragma once

#include "CNColor.h"
#include "CNFont.h"
#include "CNScale.h"
#include "CNScreen.h"

#include <string>

namespace pelidore {

// One page of the gallery: an off-screen surface filled with a backdrop,
// with captions, pictures and controls drawn into it, saved as a PNG file.
// Positions and sizes are the 100 % layout's; the page has the scale's pixels.
class GallerySheet {
public:
    static const CNColor kBackdrop;

    explicit GallerySheet(const CNScale& scale = CNScale()) : m_Scale(scale) {}
    GallerySheet(const GallerySheet&) = delete;
    GallerySheet& operator=(const GallerySheet&) = delete;

    HRESULT Init(int width, int height);
    CNScreen& Screen() { return m_Screen; }
    const CNFont& Font() const { return m_Font; }
    // A short dim caption whose top-left corner is (x, y).
    void Caption(int x, int y, const wchar_t* text);
    // A picture of the program at its own size; false when it is missing.
    bool Picture(UINT id, int x, int y);
    void Fill(const CNColor& color, int x, int y, int width, int height);
    // Another surface (a real window's) with its top-left corner at (x, y).
    bool Surface(CNScreen& surface, int x, int y);
    // Writes folder\name as PNG.
    HRESULT Save(const std::wstring& folder, const wchar_t* name);

private:
    CNScale m_Scale;
    CNScreen m_Screen;
    CNFont m_Font;
};

} // namespace pelidore
