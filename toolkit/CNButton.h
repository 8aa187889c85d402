#pragma once

#include "CNBitmap.h"
#include "CNStaticControl.h"

namespace pelidore {

// A picture button with up to four images (normal, pressed, hover, and a
// fourth one for the disabled look and state 3), in one of four kinds:
//   kPush  (0): pressed while the left button is down inside; posts
//               NWM_BUTTON_PRESSED on the press and NWM_BUTTON_CLICKED on a
//               release inside;
//   kCheck (1): toggles between normal and checked on each click;
//   kLatch (2): a press does nothing; latches checked on a release inside
//               while pressed with the pressed flag set (set only by code);
//   kRadio (3): set by a click, cleared only by the owner (SetChecked).
// Only push buttons track the pointer's hover look. Every press of a push
// button is answered by exactly one NWM_BUTTON_RELEASED: on the release, or
// when the pointer leaves while pressed.
//
// A missing image falls back to the normal image, so a button whose hover
// picture does not exist keeps showing its normal one.
class CNButton : public CNStaticControl {
public:
    enum Kind : int { kPush = 0, kCheck = 1, kLatch = 2, kRadio = 3 };
    enum State : int { kNormal = 0, kHover = 1, kPressed = 2, kFourth = 3, kChecked = 4 };
    enum Image : int { kImageNormal = 0, kImagePressed = 1, kImageHover = 2, kImageFourth = 3, kImageCount = 4 };

    CNButton();
    ~CNButton() override;

    // Releases the images held, loads the non-zero resource ids ("PNG"
    // resources of the top window's module) and stores the kind. E_FAIL when
    // any non-zero id could not be loaded; the others are loaded all the same.
    HRESULT SetImages(UINT normalId, UINT pressedId = 0, UINT hoverId = 0, UINT fourthId = 0, int kind = kPush);
    void SetKind(int kind) { m_Kind = kind; }
    int GetKind() const { return m_Kind; }

    // Sets the state (State values) and clears the pressed flag. The owner repaints.
    void SetState(int state);
    int GetState() const { return m_ButtonState; }
    // Checked: a check or radio kind in state kChecked.
    bool IsChecked() const;
    void SetChecked(bool checked) { SetState(checked ? kChecked : kNormal); }
    bool IsPressedFlagSet() const { return m_Pressed != 0; }
    bool IsPressReported() const { return m_PressReported != 0; }

    const CNBitmap& GetImage(int which) const { return m_Images[which]; }

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;
    void OnActivate(int active) override;

    // The image for the current state (falling back to the normal image),
    // or null when not even that exists.
    const CNBitmap* ChooseImage() const;
    const CNBitmap* ImageOrNormal(int which) const;
    // Where the label goes: over the picture, or beside it when the picture
    // is narrower than the control (check boxes).
    RECT LabelRect(int& horizontal, int& vertical) const;
    void DrawLabelForState(BYTE alpha);

    CNBitmap m_Images[kImageCount];
    int m_Kind = kPush;
    int m_ButtonState = kNormal;
    int m_Pressed = 0;
    int m_PressReported = 0;

private:
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    bool ReleaseToState();
    bool ReleaseCheckable(bool inside);
    void ReleaseElsewhere();
    void LeaveToNormal();
    void ReportRelease();
    bool TracksHover() const { return m_Kind == kPush || m_Kind == kLatch; }
    void ReleaseImages();
};

} // namespace pelidore
