#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelidore {

// A global hotkey as options.ini spells it ("Ctrl+Shift+F9", "none") and as
// RegisterHotKey takes it: modifier bits and a virtual-key code. The numbers
// are Windows' own, written out because this code sees no Windows header.
class CHotkey {
public:
    // RegisterHotKey's modifier bits (MOD_ALT, MOD_CONTROL, MOD_SHIFT,
    // MOD_WIN, MOD_NOREPEAT).
    static constexpr std::uint32_t kAlt = 0x1;
    static constexpr std::uint32_t kCtrl = 0x2;
    static constexpr std::uint32_t kShift = 0x4;
    static constexpr std::uint32_t kWin = 0x8;
    static constexpr std::uint32_t kNoRepeat = 0x4000;
    static constexpr std::uint32_t kModifierMask = kAlt | kCtrl | kShift | kWin;

    // Virtual-key codes of the keys with a range of names.
    static constexpr std::uint32_t kKeyF1 = 0x70;
    static constexpr std::uint32_t kKeyF24 = 0x87;
    static constexpr std::uint32_t kKeyPause = 0x13;

    // No hotkey.
    constexpr CHotkey() = default;
    // Taken as given, for built-in defaults; anything typed or pressed goes
    // through Parse or FromKeyPress, which refuse what may not be a hotkey.
    constexpr CHotkey(std::uint32_t modifiers, std::uint32_t virtualKey)
        : m_Modifiers(modifiers & kModifierMask), m_VirtualKey(virtualKey)
    {
    }

    // Reads "none" or modifiers joined with '+' to one key, in any case and
    // with blanks around the parts. Returns false, leaving `hotkey` as it
    // was, for anything else, including a combination FromKeyPress refuses.
    static bool Parse(std::string_view text, CHotkey& hotkey);

    // The combination of a key pressed in a hotkey field (`modifiers` in the
    // bits above; others are ignored). Returns false, leaving `hotkey` as it
    // was, for a key outside the list and for a key that would steal typing
    // or navigation everywhere: every key but F1-F24 and Pause needs Ctrl,
    // Alt or Win.
    static bool FromKeyPress(std::uint32_t modifiers, std::uint32_t virtualKey, CHotkey& hotkey);

    // Canonical spelling: modifiers in the order Ctrl, Alt, Shift, Win, then
    // the key as the list names it; "none" for no hotkey.
    std::string Text() const;

    // The modifiers of `modifiers` as Text() spells them, each followed by
    // '+' ("Ctrl+Shift+"); what a field shows while they are held.
    static std::string ModifiersPrefix(std::uint32_t modifiers);

    bool IsNone() const { return m_VirtualKey == 0; }
    std::uint32_t Modifiers() const { return m_Modifiers; }
    // RegisterHotKey's fsModifiers: held down, the hotkey fires once.
    std::uint32_t RegisterModifiers() const { return m_Modifiers | kNoRepeat; }
    std::uint32_t VirtualKey() const { return m_VirtualKey; }

    bool operator==(const CHotkey& other) const
    {
        return m_Modifiers == other.m_Modifiers && m_VirtualKey == other.m_VirtualKey;
    }
    bool operator!=(const CHotkey& other) const { return !(*this == other); }

private:
    static bool MayStandAlone(std::uint32_t virtualKey);
    static std::string KeyName(std::uint32_t virtualKey);
    static std::uint32_t KeyNamed(std::string_view name);
    static std::uint32_t ModifierNamed(std::string_view name);

    std::uint32_t m_Modifiers = 0;
    std::uint32_t m_VirtualKey = 0;
};

} // namespace pelidore
