#include "CHotkey.h"

#include "CAsciiText.h"

namespace pelidore {

namespace {

struct Named {
    std::string_view name;
    std::uint32_t value;
};

// The keys with a word for a name, by Windows' virtual-key codes; F1-F24,
// A-Z and 0-9 follow their codes.
constexpr Named kWordKeys[] = {
    {"Space", 0x20}, {"Insert", 0x2D}, {"Delete", 0x2E},   {"Home", 0x24},
    {"End", 0x23},   {"PageUp", 0x21}, {"PageDown", 0x22}, {"Pause", CHotkey::kKeyPause},
};

// In the order the canonical spelling lists them.
constexpr Named kModifiers[] = {
    {"Ctrl", CHotkey::kCtrl},
    {"Alt", CHotkey::kAlt},
    {"Shift", CHotkey::kShift},
    {"Win", CHotkey::kWin},
};

constexpr std::uint32_t kFunctionKeyCount = CHotkey::kKeyF24 - CHotkey::kKeyF1 + 1;

bool IsLetterKey(std::uint32_t virtualKey)
{
    return virtualKey >= 'A' && virtualKey <= 'Z';
}

bool IsDigitKey(std::uint32_t virtualKey)
{
    return virtualKey >= '0' && virtualKey <= '9';
}

bool IsFunctionKey(std::uint32_t virtualKey)
{
    return virtualKey >= CHotkey::kKeyF1 && virtualKey <= CHotkey::kKeyF24;
}

// "F1".."F24" without leading zeros; 0 for anything else.
std::uint32_t FunctionKeyNamed(std::string_view name)
{
    if (name.size() < 2 || name.size() > 3 || CAsciiText::Upper(name[0]) != 'F' || name[1] == '0')
        return 0;
    std::uint32_t number = 0;
    for (const char c : name.substr(1)) {
        if (c < '0' || c > '9')
            return 0;
        number = number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return number >= 1 && number <= kFunctionKeyCount ? CHotkey::kKeyF1 + number - 1 : 0;
}

} // namespace

bool CHotkey::Parse(std::string_view text, CHotkey& hotkey)
{
    std::string_view rest = CAsciiText::Trim(text);
    if (CAsciiText::SameIgnoringCase(rest, "none")) {
        hotkey = CHotkey();
        return true;
    }
    std::uint32_t modifiers = 0;
    for (;;) {
        const std::size_t plus = rest.find('+');
        const std::string_view part = CAsciiText::Trim(rest.substr(0, plus));
        if (plus == std::string_view::npos)
            return FromKeyPress(modifiers, KeyNamed(part), hotkey);
        const std::uint32_t modifier = ModifierNamed(part);
        // "Ctrl+Ctrl+F9" is a typing slip, not a combination.
        if (modifier == 0 || (modifiers & modifier) != 0)
            return false;
        modifiers |= modifier;
        rest.remove_prefix(plus + 1);
    }
}

bool CHotkey::FromKeyPress(std::uint32_t modifiers, std::uint32_t virtualKey, CHotkey& hotkey)
{
    modifiers &= kModifierMask;
    if (KeyName(virtualKey).empty())
        return false;
    // Shift alone leaves a letter, Space or Delete to typing in every
    // other program; only Ctrl, Alt or Win take a key away from it.
    if (!MayStandAlone(virtualKey) && (modifiers & (kCtrl | kAlt | kWin)) == 0)
        return false;
    hotkey = CHotkey(modifiers, virtualKey);
    return true;
}

std::string CHotkey::Text() const
{
    const std::string key = KeyName(m_VirtualKey);
    if (key.empty())
        return "none";
    return ModifiersPrefix(m_Modifiers) + key;
}

std::string CHotkey::ModifiersPrefix(std::uint32_t modifiers)
{
    std::string text;
    for (const Named& modifier : kModifiers) {
        if ((modifiers & modifier.value) != 0) {
            text += modifier.name;
            text += '+';
        }
    }
    return text;
}

bool CHotkey::MayStandAlone(std::uint32_t virtualKey)
{
    return IsFunctionKey(virtualKey) || virtualKey == kKeyPause;
}

std::string CHotkey::KeyName(std::uint32_t virtualKey)
{
    if (IsLetterKey(virtualKey) || IsDigitKey(virtualKey))
        return std::string(1, static_cast<char>(virtualKey));
    if (IsFunctionKey(virtualKey))
        return "F" + std::to_string(virtualKey - kKeyF1 + 1);
    for (const Named& key : kWordKeys)
        if (key.value == virtualKey)
            return std::string(key.name);
    return std::string();
}

std::uint32_t CHotkey::KeyNamed(std::string_view name)
{
    if (name.size() == 1) {
        const std::uint32_t code = static_cast<unsigned char>(CAsciiText::Upper(name[0]));
        return IsLetterKey(code) || IsDigitKey(code) ? code : 0;
    }
    if (const std::uint32_t functionKey = FunctionKeyNamed(name))
        return functionKey;
    for (const Named& key : kWordKeys)
        if (CAsciiText::SameIgnoringCase(key.name, name))
            return key.value;
    return 0;
}

std::uint32_t CHotkey::ModifierNamed(std::string_view name)
{
    for (const Named& modifier : kModifiers)
        if (CAsciiText::SameIgnoringCase(modifier.name, name))
            return modifier.value;
    return 0;
}

} // namespace pelidore
