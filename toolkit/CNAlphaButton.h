#pragma once

#include "CNButton.h"

namespace pelidore {

// A CNButton drawn with transparency: the normal picture at 70 % opacity,
// pressed, checked and hover pictures fully opaque, the fourth picture and a
// disabled button at 30 %. The windows' check boxes are alpha buttons of the
// check or radio kind.
class CNAlphaButton : public CNButton {
public:
    static constexpr float kNormalOpacity = 0.7f;
    static constexpr float kFullOpacity = 1.0f;
    static constexpr float kFaintOpacity = 0.3f;

    CNAlphaButton();
    ~CNAlphaButton() override;

    // Moves the picture (not the label or the hit area) by (x, y).
    void SetImageOffset(int x, int y);

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;

private:
    const CNBitmap* ChooseImageAndOpacity(float& opacity) const;

    int m_OffsetX = 0;
    int m_OffsetY = 0;
};

} // namespace pelidore
