// The Options window under Wine, driven by posted mouse and keyboard
// messages; the hotkey fields read the modifiers from the thread's keyboard
// state, which the tests set as a held key would.
#include "CNCombo.h"
#include "CNHotkeyEdit.h"
#include "COptionsWnd.h"
#include "PelidoreCommands.h"
#include "ToolWindowFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace pelidore {

namespace fs = std::filesystem;

namespace {

class OptionsWindowTest : public ToolWindowFixture {
protected:
    void Open(COptionsWnd& window)
    {
        window.SetSettingsFolder(SettingsFolder());
        ASSERT_EQ(window.Create(GetModuleHandleW(nullptr), Owner(), COptionsWnd::kTitle, WS_EX_LAYERED, WS_POPUP, 200,
                                200, COptionsWnd::kWidth, COptionsWnd::kHeight, 0),
                  S_OK);
        window.ShowAt(200, 200);
        Pump();
    }

    std::string SavedOptions() const
    {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(SettingsFile(L"options.ini"));
        return std::string(bytes.begin(), bytes.end());
    }

    static CNHotkeyEdit& Field(COptionsWnd& window, int hotkey)
    {
        return *static_cast<CNHotkeyEdit*>(window.FindControl(COptionsWnd::kRecordField + hotkey));
    }

    void ClickControl(COptionsWnd& window, int id)
    {
        const CNRect rect = window.FindControl(id)->GetRect();
        Click(window.GetHwnd(), rect.x + rect.width / 2, rect.y + rect.height / 2);
    }

    // A key pressed while `held` are down, as the system queues it.
    void PressKey(HWND window, std::initializer_list<int> held, WPARAM key)
    {
        BYTE state[256] = {};
        bool alt = false;
        for (int modifier : held) {
            state[modifier] = 0x80;
            alt = alt || modifier == VK_MENU;
        }
        ASSERT_TRUE(SetKeyboardState(state));
        PostMessageW(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
        Pump();
        BYTE released[256] = {};
        SetKeyboardState(released);
    }
};

TEST_F(OptionsWindowTest, ASwitchIsWrittenAtOnceIntoTheFileAsItWasAndAnnounced)
{
    const std::string before = "# mine\r\nsomething_else = 7\r\nrecord_hotkey = ctrl+alt+r\r\n";
    WriteSettingsFile(L"options.ini", std::vector<std::uint8_t>(before.begin(), before.end()));
    COptionsWnd window;
    Open(window);
    EXPECT_EQ(Field(window, COptionsWnd::kRecordHotkey).ShownText(), L"Ctrl+Alt+R");
    EXPECT_TRUE(TakeCommands().empty()) << "opening changes nothing";
    EXPECT_EQ(SavedOptions(), before);

    ClickControl(window, COptionsWnd::kSmallerBox);
    EXPECT_EQ(TakeCommands(), std::vector<WPARAM>{CMD_OPTIONS_CHANGED});
    EXPECT_TRUE(window.GetOptions().smallerFiles);
    const std::string saved = SavedOptions();
    EXPECT_EQ(saved.rfind(before, 0), 0u) << "the lines it had stay as they were:\n" << saved;
    EXPECT_NE(saved.find("\r\nsmaller_files = 1\r\n"), std::string::npos) << saved;
}

TEST_F(OptionsWindowTest, APressedCombinationBecomesTheHotkeyAndTheFieldStopsListening)
{
    COptionsWnd window;
    Open(window);
    CNHotkeyEdit& field = Field(window, COptionsWnd::kRecordHotkey);
    ClickControl(window, COptionsWnd::kRecordField);
    ASSERT_TRUE(field.IsListening());
    EXPECT_TRUE(window.IsListeningForHotkey());
    EXPECT_EQ(TakeCommands(), std::vector<WPARAM>{CMD_HOTKEY_LISTENING});

    PressKey(window.GetHwnd(), {VK_CONTROL, VK_MENU}, VK_F7);
    EXPECT_FALSE(field.IsListening());
    EXPECT_EQ(field.ShownText(), L"Ctrl+Alt+F7");
    EXPECT_EQ(window.GetOptions().recordHotkey.Text(), "Ctrl+Alt+F7");
    EXPECT_EQ(TakeCommands(), (std::vector<WPARAM>{CMD_OPTIONS_CHANGED, CMD_HOTKEY_LISTENING}));
    EXPECT_NE(SavedOptions().find("record_hotkey = Ctrl+Alt+F7\r\n"), std::string::npos);
}

TEST_F(OptionsWindowTest, ARefusedKeyEscapeAndAClickElsewhereLeaveTheHotkeyAsItWas)
{
    COptionsWnd window;
    Open(window);
    CNHotkeyEdit& field = Field(window, COptionsWnd::kSnapshotHotkey);
    ClickControl(window, COptionsWnd::kSnapshotField);
    PressKey(window.GetHwnd(), {}, 'A'); // a letter alone would steal typing everywhere
    EXPECT_TRUE(field.IsListening());
    EXPECT_EQ(field.ShownText(), CNHotkeyEdit::kRefusedPrompt);
    PressKey(window.GetHwnd(), {VK_CONTROL}, VK_RETURN); // not a key a hotkey may have
    EXPECT_TRUE(field.IsListening());

    PressKey(window.GetHwnd(), {}, VK_ESCAPE);
    EXPECT_FALSE(field.IsListening());
    ClickControl(window, COptionsWnd::kSnapshotField);
    ASSERT_TRUE(field.IsListening());
    Click(window.GetHwnd(), 300, 280); // an empty place of the window
    EXPECT_FALSE(field.IsListening());

    EXPECT_EQ(field.ShownText(), L"Ctrl+Shift+F11");
    EXPECT_FALSE(fs::exists(SettingsFile(L"options.ini")));
    for (WPARAM command : TakeCommands())
        EXPECT_EQ(command, CMD_HOTKEY_LISTENING);
}

TEST_F(OptionsWindowTest, ClearSetsNoneAndACombinationLeavesTheFieldThatHadIt)
{
    COptionsWnd window;
    Open(window);
    ClickControl(window, COptionsWnd::kPauseClear);
    EXPECT_EQ(Field(window, COptionsWnd::kPauseHotkey).ShownText(), CNHotkeyEdit::kNoneText);
    EXPECT_NE(SavedOptions().find("pause_hotkey = none\r\n"), std::string::npos);

    ClickControl(window, COptionsWnd::kSnapshotField);
    PressKey(window.GetHwnd(), {VK_CONTROL, VK_SHIFT}, VK_F9); // the record hotkey's
    EXPECT_EQ(window.GetOptions().snapshotHotkey.Text(), "Ctrl+Shift+F9");
    EXPECT_TRUE(window.GetOptions().recordHotkey.IsNone()) << "one combination, one action";
    const std::string saved = SavedOptions();
    EXPECT_NE(saved.find("record_hotkey = none\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("snapshot_hotkey = Ctrl+Shift+F9\r\n"), std::string::npos) << saved;
}

TEST_F(OptionsWindowTest, AHotkeyTheFrameCouldNotRegisterIsShownInUseAndNotOffered)
{
    COptionsWnd window;
    Open(window);
    window.SetHotkeyState(COptionsWnd::kPauseHotkey, false);
    EXPECT_EQ(Field(window, COptionsWnd::kPauseHotkey).ShownText(), L"Ctrl+Shift+F10 - in use");
    EXPECT_EQ(window.WorkingHotkeyText(COptionsWnd::kPauseHotkey), L"");
    EXPECT_EQ(window.WorkingHotkeyText(COptionsWnd::kRecordHotkey), L"Ctrl+Shift+F9");

    window.SetHotkeyState(COptionsWnd::kPauseHotkey, true);
    EXPECT_EQ(Field(window, COptionsWnd::kPauseHotkey).ShownText(), L"Ctrl+Shift+F10");
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(OptionsWindowTest, TheCountdownAndTheSizeToFitAreWritten)
{
    COptionsWnd window;
    Open(window);
    auto& combo = *static_cast<CNCombo*>(window.FindControl(COptionsWnd::kCountdownCombo));
    ClickControl(window, COptionsWnd::kCountdownCombo);
    ASSERT_TRUE(combo.IsOpen());
    const POINT row = RowPoint(combo, 2);
    Click(window.GetHwnd(), row.x, row.y);
    EXPECT_EQ(window.GetOptions().countdownSeconds, 5);

    ClickControl(window, COptionsWnd::kFitEdit);
    PressKey(window.GetHwnd(), {}, VK_END);
    PressKey(window.GetHwnd(), {}, VK_BACK);
    for (wchar_t c : {L'1', L'2'})
        PostMessageW(window.GetHwnd(), WM_CHAR, c, 1);
    Pump();
    EXPECT_EQ(window.GetOptions().fitToMb, 12);
    const std::string saved = SavedOptions();
    EXPECT_NE(saved.find("countdown_seconds = 5\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("fit_to_mb = 12\r\n"), std::string::npos) << saved;
}

} // namespace

} // namespace pelidore
