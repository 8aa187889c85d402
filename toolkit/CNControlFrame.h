#pragma once

#include "CNControlBase.h"
#include "CNTextStyle.h"

#include <vector>

namespace pelidore {

// A framed group of controls with an optional caption (its text). The frame
// holds its controls instead of the owner: it draws them after itself,
// passes them the owner's messages (last added first), moves them with
// itself and releases them with itself. Hiding or disabling the frame
// silences them all. It does not own their memory.
class CNControlFrame : public CNControlBase {
public:
    CNControlFrame();
    ~CNControlFrame() override;

    // Refuses a null control and one whose id the frame already holds (E_FAIL).
    HRESULT AddControl(CNControlBase* control);
    const std::vector<CNControlBase*>& GetControls() const { return m_Controls; }

    void SetFont(const CNFont* font) { m_Style.SetFont(font); }
    void SetTextColor(const CNColor& color) { m_Style.SetColor(color); }
    void SetEdgeColor(const CNColor& color) { m_Edge = color; }

    void Release() override;
    void SetRect(int x, int y, int width, int height) override;
    void Draw(int mode) override;

protected:
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDraw() override;
    void OnActivate(int active) override;

private:
    std::vector<CNControlBase*> m_Controls;
    CNTextStyle m_Style;
    CNColor m_Edge;
};

} // namespace pelidore
