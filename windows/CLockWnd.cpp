#include "CLockWnd.h"

#include "CNLog.h"
#include "CNTheme.h"
#include "CNTopWindow.h"
#include "NControlMessages.h"
#include "PelidoreCommands.h"
#include "ResourceIds.h"

namespace pelidore {

namespace {

constexpr int kButtonY = 11;
constexpr int kButtonWidth = 61;
constexpr int kButtonHeight = 31;
constexpr int kEditY = 17;
constexpr int kEditWidth = 41;
constexpr int kEditHeight = 20;
constexpr int kFontHeight = 16;
constexpr int kFontWeight = 800;
constexpr const wchar_t* kFontFace = L"Franklin Gothic Medium";
// Private and registered messages; the system's own (input, paint, timers)
// are meaningless once the loop is over.
constexpr UINT kFirstKeptMessage = WM_USER;

} // namespace

CLockWnd::CLockWnd(UINT backgroundId, int okX, int cancelX)
    : m_BackgroundId(backgroundId), m_OkX(okX), m_CancelX(cancelX)
{
}

CLockWnd::~CLockWnd() = default;

HRESULT CLockWnd::CreateHidden(HINSTANCE instance, HWND owner, const wchar_t* title, int width)
{
    if (FAILED(Create(instance, owner, title, WS_EX_LAYERED, WS_POPUP | WS_DISABLED, 0, 0, width, kHeight, 0)))
        return E_FAIL;
    return S_OK;
}

int CLockWnd::RunModal(int x, int y, int width, int height)
{
    if (!m_Window || m_Running)
        return kCancelled;
    m_Running = true;
    Move(x, y, width, height, FALSE);
    EnableWindow(m_Window, TRUE);
    ShowWindow(m_Window, SW_SHOW);
    SetForegroundWindow(m_Window);
    SetFocus(m_Window);
    RememberFields();
    Draw();
    const int result = RunLoop();
    if (result == kCancelled)
        RestoreFields();
    EnableWindow(m_Window, FALSE);
    ShowWindow(m_Window, SW_HIDE);
    m_Running = false;
    ReleaseDeferred();
    return result;
}

void CLockWnd::Draw()
{
    m_Screen.ClearRect(0, 0, m_Screen.LayoutWidth(), m_Screen.LayoutHeight());
    m_Screen.DrawImage(m_Background, 0, 0);
    CNSubWindow::Draw();
}

HRESULT CLockWnd::OnCreate()
{
    if (FAILED(m_Background.LoadResource(CNTopWindow::ModuleInstance(), m_BackgroundId)) ||
        FAILED(m_Font.Create(kFontHeight, kFontWeight, kFontFace)))
        return E_FAIL;
    if (FAILED(CreateFields()))
        return E_FAIL;
    if (FAILED(CreateButton(m_Ok, kOkButton, m_OkX, IDB_OK, IDB_OK_PRESSED)) ||
        FAILED(CreateButton(m_Cancel, kCancelButton, m_CancelX, IDB_CANCEL, IDB_CANCEL_PRESSED)))
        return E_FAIL;
    if (FAILED(AddMessageFunc(WM_PAINT, &CLockWnd::OnPaint)) ||
        FAILED(AddMessageFunc(NWM_BUTTON_CLICKED, &CLockWnd::OnButtonClicked)))
        return E_FAIL;
    return S_OK;
}

LRESULT CLockWnd::OnMessage(HWND, UINT message, WPARAM, LPARAM)
{
    // Closing the strip is a cancel, never the end of the window.
    if (message != WM_CLOSE)
        return 0;
    Finish(kCancelled);
    return 1;
}

HRESULT CLockWnd::CreateNumericEdit(CNEdit& edit, int id, int x, double minimum, double maximum, double initial)
{
    if (FAILED(edit.Create(m_Window, &m_Screen, id, x, kEditY, kEditWidth, kEditHeight, 1)))
        return E_FAIL;
    edit.SetFont(&m_Font);
    edit.SetTextColor(CNTheme::Text());
    edit.SetCaretColor(CNTheme::Caret());
    edit.SetSelectionColor(CNTheme::Selection());
    edit.SetTextAlign(1);
    edit.SetNumeric(minimum, maximum);
    edit.SetValue(initial);
    m_Fields.push_back(&edit);
    return AddChild(&edit);
}

void CLockWnd::RememberFields()
{
    m_FieldTexts.clear();
    for (const CNEdit* field : m_Fields)
        m_FieldTexts.emplace_back(field->GetText());
}

void CLockWnd::RestoreFields()
{
    for (std::size_t i = 0; i < m_Fields.size() && i < m_FieldTexts.size(); ++i)
        m_Fields[i]->SetText(m_FieldTexts[i].c_str());
}

int CLockWnd::WholeValue(const CNEdit& edit)
{
    return static_cast<int>(edit.GetValue());
}

HRESULT CLockWnd::CreateButton(CNAlphaButton& button, int id, int x, UINT normalId, UINT pressedId)
{
    if (FAILED(button.Create(m_Window, &m_Screen, id, x, kButtonY, kButtonWidth, kButtonHeight, 1)) ||
        FAILED(button.SetImages(normalId, pressedId)))
        return E_FAIL;
    return AddChild(&button);
}

int CLockWnd::RunLoop()
{
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return kCancelled;
        }
        if (got == -1)
            return kCancelled;
        TranslateMessage(&message);
        if (message.hwnd == m_Window) {
            if (message.message == PWM_LOCK_DONE)
                return message.wParam == kConfirmed ? kConfirmed : kCancelled;
            DispatchMessageW(&message);
        } else if (KeepForLater(message)) {
            m_Deferred.push_back(message);
        } else if (message.hwnd) {
            DefWindowProcW(message.hwnd, message.message, message.wParam, message.lParam);
        }
    }
}

void CLockWnd::ReleaseDeferred()
{
    std::vector<MSG> deferred;
    deferred.swap(m_Deferred);
    for (const MSG& message : deferred) {
        const BOOL posted =
            message.hwnd ? PostMessageW(message.hwnd, message.message, message.wParam, message.lParam)
                         : PostThreadMessageW(GetCurrentThreadId(), message.message, message.wParam, message.lParam);
        if (!posted)
            NLOG("CLockWnd::ReleaseDeferred", CNLog::kLevelRefused, "message %u lost", message.message);
    }
}

bool CLockWnd::KeepForLater(const MSG& message)
{
    return message.message >= kFirstKeptMessage;
}

void CLockWnd::Finish(int result) const
{
    if (!PostMessageW(m_Window, PWM_LOCK_DONE, static_cast<WPARAM>(result), 0))
        NLOG("CLockWnd::Finish", CNLog::kLevelRefused, "PostMessage fail");
}

LRESULT CLockWnd::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT paint;
    if (BeginPaint(m_Window, &paint) != nullptr)
        EndPaint(m_Window, &paint);
    Draw();
    return 1;
}

LRESULT CLockWnd::OnButtonClicked(WPARAM wParam, LPARAM)
{
    if (wParam == kOkButton)
        Finish(kConfirmed);
    else if (wParam == kCancelButton)
        Finish(kCancelled);
    return 1;
}

} // namespace pelidore
