#include "ControlTestWindow.h"

#include "MessagePump.h"
#include "NControlMessages.h"
#include "NMessages.h"

namespace pelidore {

namespace {

constexpr const wchar_t* kClassName = L"PelidoreControlTest";

const UINT kNotices[] = {NWM_BUTTON_PRESSED, NWM_BUTTON_CLICKED,  NWM_BUTTON_RELEASED, NWM_EDIT_CHANGED,
                         NWM_EDIT_RETURN,    NWM_SLIDER_RELEASED, NWM_SLIDER_CHANGED,  NWM_SCROLL_CHANGED,
                         NWM_ICON_SELECTED,  NWM_LIST_SELECTED,   NWM_COMBO_SELECTED,  NWM_COMBO_DROPDOWN,
                         NWM_HOVER,          NWM_HOVER_END};

} // namespace

ControlTestWindow::ControlTestWindow() = default;

// The tests release the children while the controls still exist.
ControlTestWindow::~ControlTestWindow()
{
    Destroy();
}

HRESULT ControlTestWindow::Open(int width, int height, bool layered)
{
    // Real pointer moves over the window would mix with the posted ones.
    POINT pointer;
    RECT area{kLeft, kTop, kLeft + width, kTop + height};
    if (GetCursorPos(&pointer) && PtInRect(&area, pointer))
        SetCursorPos(kParkX, kParkY);
    return Create(GetModuleHandleW(nullptr), nullptr, kClassName, layered ? WS_EX_LAYERED : 0, WS_POPUP, kLeft, kTop,
                  width, height, 1);
}

HRESULT ControlTestWindow::OnCreate()
{
    for (UINT message : kNotices) {
        HRESULT result = AddHandler(message, [this, message](WPARAM wParam, LPARAM lParam) {
            m_Notices.push_back(Notice{message, wParam, lParam});
            return LRESULT(0);
        });
        if (FAILED(result))
            return result;
    }
    return 0;
}

void ControlTestWindow::Press(int x, int y, WPARAM keys)
{
    Post(WM_LBUTTONDOWN, keys, MAKELPARAM(x, y));
}

void ControlTestWindow::Release(int x, int y, WPARAM keys)
{
    Post(WM_LBUTTONUP, keys, MAKELPARAM(x, y));
}

void ControlTestWindow::Click(int x, int y)
{
    Press(x, y);
    Release(x, y);
}

void ControlTestWindow::Move(int x, int y, WPARAM keys)
{
    Post(WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
}

void ControlTestWindow::Leave()
{
    Post(WM_MOUSELEAVE, 0, 0);
}

void ControlTestWindow::Wheel(int x, int y, int notches)
{
    POINT screen{x, y};
    ClientToScreen(m_Window, &screen);
    Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<short>(notches * WHEEL_DELTA)), MAKELPARAM(screen.x, screen.y));
}

void ControlTestWindow::Key(WPARAM key)
{
    Post(WM_KEYDOWN, key, 1);
}

void ControlTestWindow::Char(wchar_t c)
{
    Post(WM_CHAR, c, 1);
}

void ControlTestWindow::Type(const wchar_t* text)
{
    for (; *text; ++text)
        Char(*text);
}

void ControlTestWindow::Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageW(m_Window, message, wParam, lParam);
    Pump();
}

void ControlTestWindow::Pump()
{
    // Notices posted while handling come back in the same pump.
    for (int round = 0; round < 4; ++round)
        MessagePump::DispatchWaiting(false);
}

void ControlTestWindow::PumpFor(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        Pump();
        Sleep(10);
    }
    Pump();
}

bool ControlTestWindow::PointAt(int x, int y)
{
    POINT screen{x, y};
    if (!ClientToScreen(m_Window, &screen) || !SetCursorPos(screen.x, screen.y))
        return false;
    POINT now;
    return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
}

int ControlTestWindow::Count(UINT message) const
{
    int count = 0;
    for (const Notice& notice : m_Notices)
        count += notice.message == message ? 1 : 0;
    return count;
}

std::vector<WPARAM> ControlTestWindow::Params(UINT message) const
{
    std::vector<WPARAM> params;
    for (const Notice& notice : m_Notices) {
        if (notice.message == message)
            params.push_back(notice.wParam);
    }
    return params;
}

std::vector<UINT> ControlTestWindow::Messages() const
{
    std::vector<UINT> messages;
    for (const Notice& notice : m_Notices)
        messages.push_back(notice.message);
    return messages;
}

} // namespace pelidore
