#include "GallerySheet.h"

#include "CNBitmap.h"
#include "CNTopWindow.h"

namespace pelidore {

const CNColor GallerySheet::kBackdrop(255, 88, 92, 100);

HRESULT GallerySheet::Init(int width, int height)
{
    m_Screen.SetScale(m_Scale);
    if (FAILED(m_Screen.InitOffscreen(m_Scale.ToPixels(width), m_Scale.ToPixels(height))) ||
        FAILED(m_Font.Create(13, 400, L"Arial")))
        return E_FAIL;
    Fill(kBackdrop, 0, 0, width, height);
    return S_OK;
}

void GallerySheet::Caption(int x, int y, const wchar_t* text)
{
    RECT rect{x, y, m_Screen.LayoutWidth(), y + 16};
    m_Screen.DrawText(m_Font, rect, CNColor(255, 226, 228, 232), text, 0, 0, 0, true);
}

bool GallerySheet::Picture(UINT id, int x, int y)
{
    CNBitmap picture;
    if (FAILED(picture.LoadResource(CNTopWindow::ModuleInstance(), id)))
        return false;
    m_Screen.DrawImage(picture, x, y);
    return true;
}

void GallerySheet::Fill(const CNColor& color, int x, int y, int width, int height)
{
    m_Screen.FillRect(color.Red(), color.Green(), color.Blue(), color.Alpha(), x, y, width, height);
}

bool GallerySheet::Surface(CNScreen& surface, int x, int y)
{
    HBITMAP copy = surface.CopyRectToBitmap();
    if (!copy)
        return false;
    CNBitmap picture;
    const HRESULT loaded = picture.Load(copy);
    DeleteObject(copy);
    if (FAILED(loaded))
        return false;
    // A window drawn at the page's scale goes on pixel for pixel.
    picture.SetDensity(surface.Scale(), surface.LayoutWidth(), surface.LayoutHeight());
    m_Screen.DrawImage(picture, x, y);
    return true;
}

HRESULT GallerySheet::Save(const std::wstring& folder, const wchar_t* name)
{
    HBITMAP copy = m_Screen.CopyRectToBitmap();
    if (!copy)
        return E_FAIL;
    CNBitmap page;
    HRESULT result = page.Load(copy);
    DeleteObject(copy);
    if (FAILED(result))
        return result;
    return page.SavePng((folder + L"\\" + name).c_str());
}

} // namespace pelidore
