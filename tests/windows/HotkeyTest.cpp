#include "CHotkey.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

namespace pelidore {

namespace {

TEST(Hotkey, ReadsAnyCaseAndBlanksWritesTheCanonicalFormAndRefusesTheRest)
{
    const std::pair<std::string, std::string> cases[] = {
        {"ctrl+shift+f9", "Ctrl+Shift+F9"},
        {" Shift + Ctrl + F9 ", "Ctrl+Shift+F9"},
        {"win+SHIFT+alt+ctrl+pagedown", "Ctrl+Alt+Shift+Win+PageDown"},
        {"Win+space", "Win+Space"},
        {"f24", "F24"},
        {"Shift+F1", "Shift+F1"},
        {"pause", "Pause"},
        {" NONE ", "none"},
        // Malformed.
        {"", "refused"},
        {"Ctrl+", "refused"},
        {"Ctrl++F9", "refused"},
        {"Ctrl+Ctrl+F9", "refused"},
        {"F9+Ctrl", "refused"},
        {"Control+F9", "refused"},
        {"Ctrl+AB", "refused"},
        {"F09", "refused"},
        {"F25", "refused"},
        {"Ctrl+Esc", "refused"},
        {"none+F9", "refused"},
        // Bare or with Shift only, these would be taken from typing everywhere.
        {"A", "refused"},
        {"Shift+A", "refused"},
        {"Space", "refused"},
        {"Shift+Delete", "refused"},
        {"Home", "refused"},
    };
    for (const auto& [text, canonical] : cases) {
        CHotkey hotkey(CHotkey::kAlt, 'Q');
        const bool parsed = CHotkey::Parse(text, hotkey);
        EXPECT_EQ(parsed ? hotkey.Text() : "refused", canonical) << text;
        EXPECT_TRUE(parsed || hotkey.Text() == "Alt+Q") << text << ": a refused text changes nothing";
    }
}

TEST(Hotkey, GivesRegisterHotKeyItsNumbers)
{
    const struct {
        const char* text;
        std::uint32_t modifiers;
        std::uint32_t virtualKey;
    } cases[] = {
        {"Ctrl+Shift+F9", 0x4006, 0x78}, {"Ctrl+Alt+Shift+Win+F24", 0x400F, 0x87},
        {"Pause", 0x4000, 0x13},         {"Alt+A", 0x4001, 'A'},
        {"Win+Z", 0x4008, 'Z'},          {"Ctrl+0", 0x4002, '0'},
        {"Ctrl+9", 0x4002, '9'},         {"Ctrl+Space", 0x4002, 0x20},
        {"Ctrl+Insert", 0x4002, 0x2D},   {"Ctrl+Delete", 0x4002, 0x2E},
        {"Ctrl+Home", 0x4002, 0x24},     {"Ctrl+End", 0x4002, 0x23},
        {"Ctrl+PageUp", 0x4002, 0x21},   {"Ctrl+PageDown", 0x4002, 0x22},
    };
    for (const auto& expected : cases) {
        CHotkey hotkey;
        ASSERT_TRUE(CHotkey::Parse(expected.text, hotkey)) << expected.text;
        EXPECT_EQ(hotkey.RegisterModifiers(), expected.modifiers) << expected.text;
        EXPECT_EQ(hotkey.VirtualKey(), expected.virtualKey) << expected.text;
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
            EXPECT_EQ(pressed, CHotkey(modifiers, virtualKey));
            CHotkey read;
            ASSERT_TRUE(CHotkey::Parse(pressed.Text(), read)) << pressed.Text();
            EXPECT_EQ(read, pressed);
        }
    }
    // 25 keys (F1-F24, Pause) under all 16 modifier sets; the 43 others
    // under the 14 sets with Ctrl, Alt or Win.
    EXPECT_EQ(accepted, 25 * 16 + 43 * 14);
}

} // namespace

} // namespace pelidore
