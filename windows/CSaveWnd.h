#pragma once

#include "CNAlphaButton.h"
#include "CNFont.h"
#include "CToolWnd.h"

#include <string>

namespace pelidore {

// Progress of turning a deferred recording into the GIF, with a button that
// stops it early (the frames written so far stay in the file).
class CSaveWnd : public CToolWnd {
public:
    static constexpr int kHeight = 122;
    static constexpr const wchar_t* kTitle = L"Pelidore - Save";
    static constexpr int kBarWidth = 245;
    enum ControlId : int { kStopButton = 0 };

    CSaveWnd();
    ~CSaveWnd() override;

    // UI thread: the frame calls it on CMD_SAVE_PROGRESS. Repaints.
    void SetProgress(unsigned total, int done);
    unsigned Total() const { return m_Total; }
    int Done() const { return m_Done; }
    // Width of the filled bar: done / total of kBarWidth, kept inside the bar
    // when done runs past total or below zero.
    int BarWidth() const;
    // A line after the title for what a save gives up to fit a size; final:
    // it replaces the title, as the last word of a save that could not fit.
    void SetNote(std::wstring note, bool final = false);
    const std::wstring& Note() const { return m_Note; }

protected:
    HRESULT OnCreate() override;
    void DrawDecorations() override;

private:
    LRESULT OnButtonClicked(WPARAM wParam, LPARAM lParam);

    CNAlphaButton m_Stop;
    CNFont m_Font;
    unsigned m_Total = 0;
    int m_Done = 0;
    std::wstring m_Note;
    bool m_NoteIsFinal = false;
};

} // namespace pelidore
