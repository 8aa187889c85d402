#pragma once

#include "CNRect.h"
#include "CNSavedRect.h"
#include "CNScale.h"
#include "NWindows.h"

#include <cstdint>

namespace pelidore {

class CNBitmap;
class CNColor;
class CNFont;

// The drawing surface of a toolkit window: one 32-bit DIB section as large as
// the whole window rectangle, selected into a memory DC. Pixels are
// premultiplied BGRA words, rows bottom-up (memory row 0 is the window's
// bottom line). Drawing goes through GDI+ (GDI+ must be started); clearing,
// saving, restoring and copying write the buffer directly.
//
// A surface whose buffer could not be made (or that was never initialised) is
// inert: drawing operations do nothing, Present and PresentRect return 0.
//
// Positions and sizes handed to the surface are layout units, the pixels of
// the 100 % design; its scale (set by the owner window, 100 % unless set)
// turns them into pixels edge by edge, sets fonts at their scaled height and
// draws pictures as made for the scale (CNBitmap::ForScale). The buffer
// itself, Width(), Height(), PixelAt() and Pixels() are in pixels.
class CNScreen {
public:
    // kModeOffscreen: a surface made by InitOffscreen, never presented.
    enum : int { kModeOrdinary = 0, kModeLayered = 1, kModeOffscreen = 2 };

    CNScreen();
    virtual ~CNScreen();
    CNScreen(const CNScreen&) = delete;
    CNScreen& operator=(const CNScreen&) = delete;

    // Binds the surface to a window and makes the buffer at the window's
    // current size. mode: kModeLayered pushes with UpdateLayeredWindow,
    // kModeOrdinary with BitBlt, any other value disables presenting.
    // Returns 0, or E_FAIL when the memory DC or the DIB cannot be made.
    HRESULT Init(HWND window, HDC windowDC, int mode);
    // A surface without a window (tests, tools that render to files): a
    // buffer of width x height; presenting does nothing. 0 or E_FAIL.
    HRESULT InitOffscreen(int width, int height);
    // Remakes the buffer at the window's current size (on WM_SIZE); the
    // memory DC stays. The new buffer is cleared to transparent. 0 or E_FAIL.
    HRESULT Resize();
    // Drops the buffer and the memory DC; Init must be called again.
    void Release();
    // The owner's scale; kept across Init, Resize and Release.
    void SetScale(const CNScale& scale) { m_Scale = scale; }
    const CNScale& Scale() const { return m_Scale; }

    // Pushes the whole buffer. Layered: UpdateLayeredWindow's result;
    // ordinary: BitBlt's result; other modes: the mode value; inert: 0.
    int Present();
    // Pushes one rectangle (layered windows are always pushed whole).
    int PresentRect(int x, int y, int width, int height);

    // Sets the clipped rectangle to transparent black.
    void ClearRect(int x, int y, int width, int height);
    // Blends a solid ARGB(alpha, red, green, blue) rectangle over the buffer.
    void FillRect(BYTE red, BYTE green, BYTE blue, BYTE alpha, int x, int y, int width, int height);
    // The same fill with corners rounded by radius, anti-aliased; a radius
    // of 0 or less fills the plain rectangle.
    void FillRoundRect(const CNColor& color, int x, int y, int width, int height, float radius);
    // The same fill into a bitmap's GDI image, in the bitmap's own pixels.
    void FillBitmapRect(CNBitmap& bitmap, BYTE alpha, BYTE red, BYTE green, BYTE blue, int x, int y, int width,
                        int height);
    // A frame one layout unit wide; dashStyle is a Gdiplus::DashStyle value, 0 = solid
    // (offset ignored), otherwise an 8-on, 8-off pattern starting at dashOffset.
    void DrawDashRect(float dashOffset, int dashStyle, BYTE red, BYTE green, BYTE blue, int x, int y, int width,
                      int height);
    // Draws the source rectangle (sourceX, sourceY, width, height) of the
    // bitmap at (x, y); width or height 0 means the bitmap's own.
    void DrawImage(const CNBitmap& bitmap, int x, int y, int width = 0, int height = 0, int sourceX = 0,
                   int sourceY = 0);
    // Like DrawImage from (0, 0), with every pixel's alpha scaled by alpha.
    void DrawImageAlpha(float alpha, const CNBitmap& bitmap, int x, int y, int width = 0, int height = 0);

    // Text in a rectangle given as (left, top, right, bottom). length 0 (or
    // less) means the whole zero-terminated text. Alignments are
    // Gdiplus::StringAlignment values: 0 near, 1 center, 2 far. singleLine:
    // no wrapping, an ellipsis where the text is cut.
    void DrawText(const CNFont& font, const RECT& rect, const CNColor& color, const wchar_t* text, int length,
                  int horizontalAlign, int verticalAlign, bool singleLine);
    void DrawTextToBitmap(CNBitmap& bitmap, const CNFont& font, const RECT& rect, const CNColor& color,
                          const wchar_t* text, int length, int horizontalAlign, int verticalAlign, bool singleLine);
    void DrawNumber(const CNFont& font, const RECT& rect, const CNColor& color, int value, int horizontalAlign,
                    int verticalAlign, bool singleLine);
    // Bold text as a path, with an optional 2-pixel black outline and an
    // optional 75 % black shadow offset by (2, 2), both only outside the glyphs.
    void DrawOutlinedText(const CNFont& font, const RECT& rect, const CNColor& color, const wchar_t* text, int align,
                          bool outline, bool shadow, int length);
    // Only the outline of DrawOutlinedText.
    void DrawOutline(const CNFont& font, const RECT& rect, const CNColor& color, const wchar_t* text,
                     int horizontalAlign, int verticalAlign, int length);
    // Size of the laid-out text in layout units; length -1 means the whole
    // zero-terminated text, 0 or less (otherwise) gives 0 x 0.
    Gdiplus::SizeF MeasureText(const CNFont& font, const wchar_t* text, int length);

    // Copies the clipped rectangle into saved (replacing what it held).
    // E_FAIL when the clipped rectangle is empty; saved is then reset.
    HRESULT SaveRect(const CNRect& rect, CNSavedRect& saved);
    // Puts saved pixels back where they came from (clipped to the current buffer).
    void RestoreRect(const CNSavedRect& saved);
    // A new 32-bit DIB section holding the clipped rectangle (whole buffer when
    // rect is null); the caller deletes it. Null when the rectangle is empty.
    HBITMAP CopyRectToBitmap(const CNRect* rect = nullptr);

    bool IsReady() const { return m_Pixels != nullptr; }
    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    // The buffer's size in layout units.
    int LayoutWidth() const { return m_Scale.ToLayout(m_Width); }
    int LayoutHeight() const { return m_Scale.ToLayout(m_Height); }
    int Mode() const { return m_Mode; }
    HWND Window() const { return m_Window; }
    HDC MemoryDC() const { return m_MemoryDC; }
    HBITMAP Bitmap() const { return m_Dib; }
    // The buffer, Width() x Height() words, bottom-up; null when inert.
    uint32_t* Pixels() { return m_Pixels; }
    const uint32_t* Pixels() const { return m_Pixels; }
    // The pixel at (x, y) of the buffer; 0 outside it.
    uint32_t PixelAt(int x, int y) const;

private:
    HRESULT MakeBuffer(int width, int height);
    void DropBuffer();
    bool WindowSize(int& width, int& height) const;
    CNRect Clip(int x, int y, int width, int height) const;
    uint32_t* Row(int y) const;
    // A layout rectangle in pixels, and clipped to the buffer.
    CNRect ToPixels(int x, int y, int width, int height) const;
    CNRect ClipLayout(int x, int y, int width, int height) const;
    RECT ToPixels(const RECT& layout) const;
    void DrawPicture(const CNBitmap& bitmap, int x, int y, int width, int height, int sourceX, int sourceY,
                     const Gdiplus::ImageAttributes* attributes);

    HWND m_Window = nullptr;
    HDC m_WindowDC = nullptr;
    int m_Mode = kModeOrdinary;
    HDC m_MemoryDC = nullptr;
    HBITMAP m_Dib = nullptr;
    HGDIOBJ m_OldBitmap = nullptr;
    uint32_t* m_Pixels = nullptr;
    int m_Width = 0;
    int m_Height = 0;
    CNScale m_Scale;
};

} // namespace pelidore
