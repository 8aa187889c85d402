#pragma once

#include "CNButton.h"

namespace pelidore {

// A button made of its text alone: a flat face that brightens on hover and
// takes the accent colour while pressed or checked. Kinds, states and
// notices are those of CNButton. Pictures, if set, are drawn instead of the face.
class CNStringButton : public CNButton {
public:
    CNStringButton();
    ~CNStringButton() override;

    void SetFaceColors(const CNColor& normal, const CNColor& hover, const CNColor& pressed);

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;

private:
    const CNColor& FaceForState() const;
    void DrawFace(const CNColor& face);

    CNColor m_NormalColor;
    CNColor m_HoverColor;
    CNColor m_PressedColor;
};

} // namespace pelidore
