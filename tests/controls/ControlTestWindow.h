#pragma once

#include "CNSubWindow.h"

#include <vector>

namespace pelidore {

// A window for driving controls with real posted mouse and key messages. It
// records every control notice it receives, in order.
class ControlTestWindow : public CNSubWindow {
public:
    struct Notice {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static constexpr int kLeft = 120;
    static constexpr int kTop = 90;
    // Where the real pointer waits, away from the window.
    static constexpr int kParkX = 1500;
    static constexpr int kParkY = 950;

    ControlTestWindow();
    ~ControlTestWindow() override;

    // A visible popup at (kLeft, kTop); layered when asked.
    HRESULT Open(int width, int height, bool layered = false);
    HRESULT OnCreate() override;

    // Post the message, then handle everything queued.
    void Press(int x, int y, WPARAM keys = MK_LBUTTON);
    void Release(int x, int y, WPARAM keys = 0);
    void Click(int x, int y);
    void Move(int x, int y, WPARAM keys = 0);
    void Leave();
    // Wheel notches (positive: away from the user) with the pointer at client (x, y).
    void Wheel(int x, int y, int notches);
    void Key(WPARAM key);
    void Char(wchar_t c);
    void Type(const wchar_t* text);
    void Post(UINT message, WPARAM wParam, LPARAM lParam);

    void Pump();
    // Handles messages (timers included) for about milliseconds.
    void PumpFor(DWORD milliseconds);
    // Puts the real pointer over client point (x, y).
    bool PointAt(int x, int y);

    const std::vector<Notice>& Notices() const { return m_Notices; }
    int Count(UINT message) const;
    // The notices of one kind, as their wParam values.
    std::vector<WPARAM> Params(UINT message) const;
    // The notice messages in order, without their parameters.
    std::vector<UINT> Messages() const;
    void ClearNotices() { m_Notices.clear(); }

private:
    std::vector<Notice> m_Notices;
};

} // namespace pelidore
