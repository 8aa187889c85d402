#pragma once

#include "CNGdiplus.h"
#include "NWindows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace pelidore {

class CNCombo;

// What the Setup and Logo window tests share: GDI+, a settings folder of the
// test's own (two levels that do not exist yet, so the first write has to
// make them), an owner window standing in for the main window, real posted
// mouse messages and a message pump that records the PWM_COMMAND notices
// the owner receives.
class ToolWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    HWND Owner() const { return m_Owner; }
    // Where the windows are told to keep their settings files.
    std::wstring SettingsFolder() const { return m_SettingsFolder.wstring(); }
    std::filesystem::path SettingsFile(const wchar_t* name) const { return m_SettingsFolder / name; }
    std::filesystem::path Scratch() const { return m_Root; }
    void WriteSettingsFile(const wchar_t* name, const std::vector<std::uint8_t>& bytes) const;
    static std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file);

    // Dispatches every waiting message (the controls' notices included)
    // until the queue stays empty for a moment.
    void Pump();
    // Notices received by the owner since the last call, in order.
    std::vector<WPARAM> TakeCommands();

    // Mouse input in client coordinates, posted as the system would.
    void Click(HWND window, int x, int y);
    void Press(HWND window, int x, int y);
    void Drag(HWND window, int x, int y);
    void Release(HWND window, int x, int y);
    void Wheel(HWND window, int x, int y, int delta);

    // A point inside the open list's row `index`.
    static POINT RowPoint(const CNCombo& combo, int index);

private:
    static std::unique_ptr<CNGdiplus> s_Gdiplus;
    static void PostMouse(HWND window, UINT message, WPARAM keys, int x, int y);

    std::filesystem::path m_Root;
    std::filesystem::path m_SettingsFolder;
    HWND m_Owner = nullptr;
    std::vector<WPARAM> m_Commands;
};

} // namespace pelidore
