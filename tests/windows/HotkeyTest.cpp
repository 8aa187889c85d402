#include "CHotkey.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

namespace pelidore {

namespace {

std::string Canonical(const std::string& text)
{
    CHotkey hotkey(CHotkey::kAlt, 'Q');
    return CHotkey::Parse(text, hotkey) ? hotkey.Text() : "refused";
}

TEST(Hotkey, ReadsAnyCaseAndBlanksAndWritesTheCanonicalForm)
{
    const std::pair<std::string, std::string> cases[] = {
        {"ctrl+shift+f9", "Ctrl+Shift+F9"},
        {" Shift + Ctrl + F9 ", "Ctrl+Shift+F9"},
        {"win+SHIFT+alt+ctrl+pagedown", "Ctrl+Alt+Shift+Win+PageDown"},
        {"alt+0", "Alt+0"},
        {"Ctrl+z", "Ctrl+Z"},
        {"Win+space", "Win+Space"},
        {"f24", "F24"},
        {"Shift+F1", "Shift+F1"},
        {"pause", "Pause"},
        {"NONE", "none"},
        {"  none ", "none"},
    };
    for (const auto& [text, canonical] : cases)
        EXPECT_EQ(Canonical(text), canonical) << text;
}

TEST(Hotkey, RefusesMalformedTextAndKeysThatWouldStealTyping)
{
    const std::string refused[] = {
        "",
        "Ctrl+",
        "+F9",
        "Ctrl++F9",
        "Ctrl+Ctrl+F9",
        "F9+Ctrl",
        "Ctrl+Shift",
        "Control+F9",
        "Ctrl+F9 x",
        "Ctrl+AB",
        "F0",
        "F09",
        "F25",
        "Ctrl+Esc",
        "Ctrl+Page Up",
        "none+F9",
        // Bare or with Shift only, these would be taken from every program.
        "A",
        "Shift+A",
        "7",
        "Space",
        "Shift+Delete",
        "Home",
        "PageDown",
    };
    for (const std::string& text : refused)
        EXPECT_EQ(Canonical(text), "refused") << text;
}

TEST(Hotkey, GivesRegisterHotKeyItsNumbers)
{
    CHotkey hotkey;
    ASSERT_TRUE(CHotkey::Parse("Ctrl+Shift+F9", hotkey));
    EXPECT_EQ(hotkey.Modifiers(), 0x6u);
    EXPECT_EQ(hotkey.RegisterModifiers(), 0x4006u);
    EXPECT_EQ(hotkey.VirtualKey(), 0x78u);
    ASSERT_TRUE(CHotkey::Parse("Ctrl+Alt+Shift+Win+F1", hotkey));
    EXPECT_EQ(hotkey.Modifiers(), 0xFu);

    const std::pair<std::string, std::uint32_t> keys[] = {
        {"F24", 0x87},         {"Ctrl+A", 'A'},         {"Ctrl+Z", 'Z'},       {"Ctrl+0", '0'},     {"Ctrl+9", '9'},
        {"Ctrl+Space", 0x20},  {"Ctrl+Insert", 0x2D},   {"Ctrl+Delete", 0x2E}, {"Ctrl+Home", 0x24}, {"Ctrl+End", 0x23},
        {"Ctrl+PageUp", 0x21}, {"Ctrl+PageDown", 0x22}, {"Pause", 0x13},
    };
    for (const auto& [text, virtualKey] : keys) {
        ASSERT_TRUE(CHotkey::Parse(text, hotkey)) << text;
        EXPECT_EQ(hotkey.VirtualKey(), virtualKey) << text;
    }
}

TEST(Hotkey, AKeyPressBecomesTheCombinationItsTextReadsBackAs)
{
    int accepted = 0;
    for (std::uint32_t modifiers = 0; modifiers <= CHotkey::kModifierMask; ++modifiers) {
        for (std::uint32_t virtualKey = 0; virtualKey < 256; ++virtualKey) {
            CHotkey pressed;
            if (!CHotkey::FromKeyPress(modifiers | CHotkey::kNoRepeat, virtualKey, pressed))
                continue;
            ++accepted;
            EXPECT_EQ(pressed.Modifiers(), modifiers);
            EXPECT_EQ(pressed.VirtualKey(), virtualKey);
            CHotkey read;
            ASSERT_TRUE(CHotkey::Parse(pressed.Text(), read)) << pressed.Text();
            EXPECT_EQ(read, pressed);
        }
    }
    // 25 keys (F1-F24, Pause) under all 16 modifier sets; the 43 others
    // under the 14 sets with Ctrl, Alt or Win.
    EXPECT_EQ(accepted, 25 * 16 + 43 * 14);

    CHotkey kept(CHotkey::kCtrl, 'K');
    EXPECT_FALSE(CHotkey::FromKeyPress(CHotkey::kCtrl, 0x10, kept)); // Shift itself
    EXPECT_FALSE(CHotkey::FromKeyPress(CHotkey::kCtrl, 0x60, kept)); // numpad 0
    EXPECT_FALSE(CHotkey::FromKeyPress(CHotkey::kShift, 'K', kept));
    EXPECT_EQ(kept.Text(), "Ctrl+K");
}

} // namespace

} // namespace pelidore
