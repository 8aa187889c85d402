#include "toolkit/CNScreen.h"

CNScreen::CNScreen() = default;
CNScreen::~CNScreen() { Release(); }
HRESULT CNScreen::Init(HWND, HDC, int) { return E_FAIL; }
HRESULT CNScreen::InitOffscreen(int, int) { return E_FAIL; }
HRESULT CNScreen::Resize() { return E_FAIL; }
void CNScreen::Release() {}
int CNScreen::Present() { return 0; }
int CNScreen::PresentRect(int, int, int, int) { return 0; }
void CNScreen::ClearRect(int, int, int, int) {}
void CNScreen::FillRect(BYTE, BYTE, BYTE, BYTE, int, int, int, int) {}
void CNScreen::FillBitmapRect(CNBitmap&, BYTE, BYTE, BYTE, BYTE, int, int, int, int) {}
void CNScreen::DrawDashRect(float, int, BYTE, BYTE, BYTE, int, int, int, int) {}
void CNScreen::DrawImage(const CNBitmap&, int, int, int, int, int, int) {}
void CNScreen::DrawImageAlpha(float, const CNBitmap&, int, int, int, int) {}
void CNScreen::DrawText(const CNFont&, const RECT&, const CNColor&, const wchar_t*, int, int, int, bool) {}
void CNScreen::DrawTextToBitmap(CNBitmap&, const CNFont&, const RECT&, const CNColor&, const wchar_t*, int, int, int,
                                bool)
{
}
void CNScreen::DrawNumber(const CNFont&, const RECT&, const CNColor&, int, int, int, bool) {}
void CNScreen::DrawOutlinedText(const CNFont&, const RECT&, const CNColor&, const wchar_t*, int, bool, bool, int) {}
void CNScreen::DrawOutline(const CNFont&, const RECT&, const CNColor&, const wchar_t*, int, int, int) {}
Gdiplus::SizeF CNScreen::MeasureText(const CNFont&, const wchar_t*, int) { return Gdiplus::SizeF(0, 0); }
HRESULT CNScreen::SaveRect(const CNRect&, CNSavedRect& saved)
{
    saved.Reset();
    return E_FAIL;
}
void CNScreen::RestoreRect(const CNSavedRect&) {}
HBITMAP CNScreen::CopyRectToBitmap(const CNRect*) { return nullptr; }
uint32_t CNScreen::PixelAt(int, int) const { return 0; }
