#include "CNHotkeyEdit.h"

#include "CNCreationResult.h"
#include "CNScreen.h"
#include "CNTheme.h"
#include "NControlMessages.h"

#include <string>

namespace pelidore {

namespace {

constexpr float kRadius = 4.0f;

bool KeyHeld(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

std::wstring Widened(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

} // namespace

CNHotkeyEdit::CNHotkeyEdit()
{
    m_Style.SetColor(CNTheme::Text());
}

CNHotkeyEdit::~CNHotkeyEdit() = default;

void CNHotkeyEdit::SetHotkey(const CHotkey& hotkey)
{
    if (hotkey != m_Hotkey)
        m_InUse = false;
    m_Hotkey = hotkey;
}

void CNHotkeyEdit::SetInUse(bool inUse)
{
    m_InUse = inUse && !m_Hotkey.IsNone();
}

std::wstring CNHotkeyEdit::ShownText() const
{
    if (IsListening()) {
        if (m_HeldModifiers != 0)
            return Widened(CHotkey::ModifiersPrefix(m_HeldModifiers)) + L"...";
        return m_Refused ? kRefusedPrompt : kPrompt;
    }
    if (m_Hotkey.IsNone())
        return kNoneText;
    return Widened(m_Hotkey.Text()) + (m_InUse ? kInUseSuffix : L"");
}

void CNHotkeyEdit::OnDraw()
{
    if (!m_Screen)
        return;
    const CNColor edge = IsListening() ? CNTheme::Accent() : CNTheme::FieldEdge();
    m_Screen->FillRoundRect(edge, m_X, m_Y, m_Width, m_Height, kRadius);
    m_Screen->FillRoundRect(CNTheme::FieldBack(), m_X + 1, m_Y + 1, m_Width - 2, m_Height - 2, kRadius - 1.0f);
    const RECT text = {m_X + kPadding, m_Y, m_X + m_Width - kPadding, m_Y + m_Height};
    const std::wstring shown = ShownText();
    m_Screen->DrawText(m_Style.Font(), text, TextColor(), shown.c_str(), 0, 0, 1, true);
}

CNColor CNHotkeyEdit::TextColor() const
{
    if (IsListening())
        return m_HeldModifiers != 0 ? CNTheme::Text() : CNTheme::TextDim();
    if (m_InUse)
        return CNTheme::Accent();
    return m_Hotkey.IsNone() ? CNTheme::TextDim() : m_Style.Color();
}

HRESULT CNHotkeyEdit::OnCreate()
{
    m_HeldModifiers = 0;
    m_Refused = false;
    CNCreationResult result;
    result.Add(AddMessageFunc(WM_LBUTTONDOWN, &CNHotkeyEdit::OnLButtonDown));
    // Alt combinations and F10 come as system keys.
    result.Add(AddMessageFunc(WM_KEYDOWN, &CNHotkeyEdit::OnKeyDown));
    result.Add(AddMessageFunc(WM_SYSKEYDOWN, &CNHotkeyEdit::OnKeyDown));
    result.Add(AddMessageFunc(WM_KEYUP, &CNHotkeyEdit::OnKeyUp));
    result.Add(AddMessageFunc(WM_SYSKEYUP, &CNHotkeyEdit::OnKeyUp));
    result.Add(AddMessageFunc(WM_KILLFOCUS, &CNHotkeyEdit::OnOwnerKillFocus));
    return result.Get();
}

void CNHotkeyEdit::OnRelease()
{
    SetFocused(false);
    m_Style.Release();
}

void CNHotkeyEdit::OnFocus(int focused)
{
    m_HeldModifiers = 0;
    m_Refused = false;
    NotifyWith(NWM_HOTKEY_LISTENING, focused ? 1 : 0);
    Redraw();
}

void CNHotkeyEdit::OnActivate(int active)
{
    CNControlBase::OnActivate(active);
    if (!active)
        SetFocused(false);
}

LRESULT CNHotkeyEdit::OnLButtonDown(WPARAM, LPARAM lParam)
{
    if (!HitTestLParam(lParam)) {
        SetFocused(false);
        return 0;
    }
    // The keys go to the window with the keyboard: make it the owner.
    if (m_Owner && GetFocus() != m_Owner)
        ::SetFocus(m_Owner);
    SetFocused(true);
    return 0;
}

LRESULT CNHotkeyEdit::OnKeyDown(WPARAM key, LPARAM)
{
    if (!IsListening())
        return 0;
    if (IsModifierKey(key)) {
        FollowModifiers();
        return 1;
    }
    const std::uint32_t modifiers = HeldModifiers();
    if (key == VK_ESCAPE && modifiers == 0) {
        SetFocused(false);
        return 1;
    }
    CHotkey pressed;
    if (CHotkey::FromKeyPress(modifiers, static_cast<std::uint32_t>(key), pressed)) {
        Take(pressed);
    } else {
        m_Refused = true;
        m_HeldModifiers = 0;
        Redraw();
    }
    return 1;
}

LRESULT CNHotkeyEdit::OnKeyUp(WPARAM key, LPARAM)
{
    if (IsListening() && IsModifierKey(key))
        FollowModifiers();
    return 0;
}

LRESULT CNHotkeyEdit::OnOwnerKillFocus(WPARAM, LPARAM)
{
    SetFocused(false);
    return 0;
}

void CNHotkeyEdit::Take(const CHotkey& hotkey)
{
    SetHotkey(hotkey);
    Notify(NWM_HOTKEY_CHANGED);
    // Stops listening and redraws with the new combination.
    SetFocused(false);
}

void CNHotkeyEdit::FollowModifiers()
{
    const std::uint32_t held = HeldModifiers();
    if (held == m_HeldModifiers)
        return;
    m_HeldModifiers = held;
    m_Refused = false;
    Redraw();
}

std::uint32_t CNHotkeyEdit::HeldModifiers()
{
    std::uint32_t modifiers = 0;
    if (KeyHeld(VK_CONTROL))
        modifiers |= CHotkey::kCtrl;
    if (KeyHeld(VK_MENU))
        modifiers |= CHotkey::kAlt;
    if (KeyHeld(VK_SHIFT))
        modifiers |= CHotkey::kShift;
    if (KeyHeld(VK_LWIN) || KeyHeld(VK_RWIN))
        modifiers |= CHotkey::kWin;
    return modifiers;
}

bool CNHotkeyEdit::IsModifierKey(WPARAM key)
{
    switch (key) {
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LWIN:
    case VK_RWIN:
        return true;
    default:
        return false;
    }
}

} // namespace pelidore
