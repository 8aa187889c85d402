#pragma once

#include "CNAlphaButton.h"
#include "CNBitmap.h"
#include "CNEdit.h"
#include "CNFont.h"
#include "CNSubWindow.h"

#include <string>
#include <vector>

namespace pelidore {

// What the time lock and size lock windows share: a strip under the panel
// with numeric fields and OK / Cancel, run modally by the panel. While it
// runs, no other window of the thread reacts; application messages posted to
// them meanwhile (commands from the capture thread, read-outs) are kept and
// posted again when the loop ends, so a lock reached while the user types is
// still obeyed.
class CLockWnd : public CNSubWindow {
public:
    static constexpr int kHeight = 52;
    enum ControlId : int { kOkButton = 2, kCancelButton = 3 };
    enum Result : int { kCancelled = 0, kConfirmed = 1 };

    CLockWnd(UINT backgroundId, int okX, int cancelX);
    ~CLockWnd() override;

    // A hidden, disabled layered popup owned by owner (the panel).
    HRESULT CreateHidden(HINSTANCE instance, HWND owner, const wchar_t* title, int width);
    // Shows the window at the rectangle and runs its loop until OK or Cancel
    // (kConfirmed / kCancelled); then disables and hides it. A quit request
    // met meanwhile cancels and is passed on to the main loop. A cancel puts
    // back what the fields held when the window opened, so the next opening
    // shows the values last confirmed, not the abandoned ones.
    int RunModal(int x, int y, int width, int height);
    bool IsRunning() const { return m_Running; }

    void Draw() override;

protected:
    HRESULT OnCreate() override;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Adds the window's numeric fields (CreateNumericEdit).
    virtual HRESULT CreateFields() = 0;
    HRESULT CreateNumericEdit(CNEdit& edit, int id, int x, double minimum, double maximum, double initial);
    static int WholeValue(const CNEdit& edit);

private:
    HRESULT CreateButton(CNAlphaButton& button, int id, int x, UINT normalId, UINT pressedId);
    int RunLoop();
    void ReleaseDeferred();
    static bool KeepForLater(const MSG& message);
    void Finish(int result) const;
    void RememberFields();
    void RestoreFields();
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonClicked(WPARAM wParam, LPARAM lParam);

    UINT m_BackgroundId;
    int m_OkX;
    int m_CancelX;
    CNBitmap m_Background;
    CNFont m_Font;
    CNAlphaButton m_Ok;
    CNAlphaButton m_Cancel;
    bool m_Running = false;
    std::vector<MSG> m_Deferred;
    std::vector<CNEdit*> m_Fields;
    std::vector<std::wstring> m_FieldTexts;
};

} // namespace pelidore
