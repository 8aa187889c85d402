#pragma once

#include "CNFont.h"
#include "CNScreen.h"
#include "NWindows.h"

#include <string>
#include <utility>

namespace pelidore {

// A line of text on the control panel that says why a recording did not
// start or stopped early ("Cannot write to D:\Recordings"). It sits in the
// strip under the read-out box, where no control is, so it moves and covers
// nothing; the panel shows it for kShowMs and then draws itself without it.
// UI thread only.
class CPanelMessage {
public:
    static constexpr RECT kArea = {116, 132, 368, 151};
    static constexpr UINT kShowMs = 6000;

    HRESULT Create();

    void Set(std::wstring text)
    {
        m_Text = std::move(text);
        m_Shown.clear();
    }
    void Clear() { Set({}); }
    const std::wstring& Text() const { return m_Text; }

    // Over the panel's background; nothing while there is no text.
    void Draw(CNScreen& screen);

private:
    std::wstring FitText(CNScreen& screen) const;

    CNFont m_Font;
    std::wstring m_Text;
    std::wstring m_Shown; // m_Text as it fits the area, made at the first draw
};

} // namespace pelidore
