#pragma once

#include "CNBitmap.h"
#include "CNControlBase.h"

namespace pelidore {

// A slider: a background picture and a thumb that follows a position from 0
// to a maximum. A press inside the track sets the position (rounded to a
// whole number) and starts a drag that holds the mouse capture until the
// button is released. Notices: NWM_SLIDER_CHANGED on the press and whenever a
// drag changes the position; NWM_SLIDER_RELEASED when a drag that changed the
// position ends.
//
// Orientation kHorizontal maps the track's width left to right; any other
// value maps its height top to bottom.
class CNSliderControl : public CNControlBase {
public:
    enum Image : int { kImageBackground = 0, kImageFill = 1, kImageThumb = 2, kImageSpare = 3, kImageCount = 5 };
    static constexpr int kHorizontal = 1;
    static constexpr int kVertical = 0;
    static constexpr double kDefaultMaximum = 100.0;
    static constexpr double kNoDrag = -1.0;

    CNSliderControl();
    ~CNSliderControl() override;

    // Background and thumb pictures (the fill is optional); 0 leaves a slot
    // empty, and an empty slot is drawn in the theme's colours. E_FAIL when a
    // non-zero id could not be loaded.
    HRESULT SetImages(UINT backgroundId, UINT thumbId, UINT fillId = 0);
    HRESULT SetImage(int which, UINT resourceId);

    void SetOrientation(int orientation) { m_Orientation = orientation; }
    int GetOrientation() const { return m_Orientation; }
    // A negative maximum counts as 0; the position is clamped to the new range.
    void SetMaximum(double maximum);
    double GetMaximum() const { return m_Maximum; }
    // Clamped to 0..maximum. The owner repaints.
    void SetPosition(double position);
    double GetPosition() const { return m_Position; }
    // The position truncated to a whole number, as the windows read it.
    int GetValue() const { return static_cast<int>(m_Position); }
    // The part of the control that maps to positions, relative to the
    // control; Create makes it the whole control.
    void SetTrackRect(int x, int y, int width, int height);
    const CNRect& GetTrackRect() const { return m_Track; }
    bool IsDragging() const { return m_PressStart > kNoDrag; }

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;
    void OnActivate(int active) override;

    // The thumb's top-left corner in window coordinates, kept inside the control.
    POINT ThumbPosition(int thumbWidth, int thumbHeight) const;
    double Fraction() const { return m_Maximum > 0.0 ? m_Position / m_Maximum : 0.0; }
    void DrawBackground();
    void DrawThumb();

    CNBitmap m_Images[kImageCount];
    int m_Orientation = kHorizontal;
    double m_Maximum = kDefaultMaximum;
    double m_Position = 0.0;
    double m_PressStart = kNoDrag;
    CNRect m_Track;
    HWND m_PreviousCapture = nullptr;
    // Set by classes that only show a value (CNProgressBar).
    bool m_ReadOnly = false;

private:
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    bool InsideTrack(int x, int y) const;
    double ValueAt(int x, int y) const;
    void EndDrag();
    void ReleaseImages();
};

} // namespace pelidore
