#pragma once

#include "CHotkey.h"
#include "CNControlBase.h"
#include "CNTextStyle.h"

#include <cstdint>
#include <string>

namespace pelidore {

// A field holding one global hotkey. A click makes it listen (an accent edge
// and a prompt that shows the modifiers held so far); the next key pressed
// with its modifiers becomes the hotkey when CHotkey takes it, and the field
// stops listening. A key CHotkey refuses leaves the hotkey as it was and the
// field listening, with a hint. Escape, a click elsewhere or the owner losing
// the keyboard stop the listening with the hotkey unchanged.
//
// Notices: NWM_HOTKEY_CHANGED after a pressed combination became the hotkey;
// NWM_HOTKEY_LISTENING (wParam 1 or 0, lParam the field) when it starts and
// stops listening. The owner's own changes (SetHotkey) notify nothing.
class CNHotkeyEdit : public CNControlBase {
public:
    static constexpr int kPadding = 7;
    static constexpr const wchar_t* kNoneText = L"None";
    static constexpr const wchar_t* kInUseSuffix = L" - in use";
    static constexpr const wchar_t* kPrompt = L"Press a combination";
    static constexpr const wchar_t* kRefusedPrompt = L"Not a hotkey - try another";

    CNHotkeyEdit();
    ~CNHotkeyEdit() override;

    void SetHotkey(const CHotkey& hotkey);
    const CHotkey& GetHotkey() const { return m_Hotkey; }
    // Marks the hotkey as one the system would not register (another
    // program holds it); the field says so after the combination. A new
    // combination clears the mark.
    void SetInUse(bool inUse);
    bool IsInUse() const { return m_InUse; }
    bool IsListening() const { return m_Focused != 0; }
    // What the field shows now.
    std::wstring ShownText() const;

    // The font is borrowed: the owner keeps it alive.
    void SetFont(const CNFont* font) { m_Style.SetFont(font); }

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;
    void OnFocus(int focused) override;
    void OnActivate(int active) override;

private:
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnOwnerKillFocus(WPARAM wParam, LPARAM lParam);

    void Take(const CHotkey& hotkey);
    void FollowModifiers();
    CNColor TextColor() const;
    static std::uint32_t HeldModifiers();
    static bool IsModifierKey(WPARAM key);

    CHotkey m_Hotkey;
    bool m_InUse = false;
    bool m_Refused = false;
    std::uint32_t m_HeldModifiers = 0;
    CNTextStyle m_Style;
};

} // namespace pelidore
