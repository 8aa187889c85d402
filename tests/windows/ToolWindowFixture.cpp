#include "ToolWindowFixture.h"

#include "CNCombo.h"
#include "MessagePump.h"
#include "PelidoreCommands.h"

#include <atomic>
#include <fstream>
#include <iterator>

namespace pelidore {

namespace fs = std::filesystem;

std::unique_ptr<CNGdiplus> ToolWindowFixture::s_Gdiplus;

void ToolWindowFixture::SetUpTestSuite()
{
    s_Gdiplus = std::make_unique<CNGdiplus>();
}

void ToolWindowFixture::TearDownTestSuite()
{
    s_Gdiplus.reset();
}

void ToolWindowFixture::SetUp()
{
    static std::atomic<int> counter{0};
    m_Root = fs::temp_directory_path() /
             (L"pelidore-windows-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++));
    std::error_code error;
    fs::remove_all(m_Root, error);
    ASSERT_TRUE(fs::create_directories(m_Root));
    m_SettingsFolder = m_Root / L"Documents" / L"Pelidore";
    m_Owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(m_Owner, nullptr);
}

void ToolWindowFixture::TearDown()
{
    if (m_Owner != nullptr)
        DestroyWindow(m_Owner);
    Pump();
    std::error_code error;
    fs::remove_all(m_Root, error);
}

void ToolWindowFixture::WriteSettingsFile(const wchar_t* name, const std::vector<std::uint8_t>& bytes) const
{
    fs::create_directories(m_SettingsFolder);
    std::ofstream stream(SettingsFile(name), std::ios::binary);
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(stream.good());
}

std::vector<std::uint8_t> ToolWindowFixture::ReadFileBytes(const fs::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

void ToolWindowFixture::Pump()
{
    MessagePump::RunUntilQuiet(60, [this](const MSG& message) {
        if (message.hwnd == m_Owner && message.message == PWM_COMMAND)
            m_Commands.push_back(message.wParam);
        return false;
    });
}

std::vector<WPARAM> ToolWindowFixture::TakeCommands()
{
    Pump();
    std::vector<WPARAM> taken;
    taken.swap(m_Commands);
    return taken;
}

void ToolWindowFixture::Click(HWND window, int x, int y)
{
    PostMouse(window, WM_MOUSEMOVE, 0, x, y);
    Press(window, x, y);
    Release(window, x, y);
}

void ToolWindowFixture::Press(HWND window, int x, int y)
{
    PostMouse(window, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    Pump();
}

void ToolWindowFixture::Drag(HWND window, int x, int y)
{
    PostMouse(window, WM_MOUSEMOVE, MK_LBUTTON, x, y);
    Pump();
}

void ToolWindowFixture::Release(HWND window, int x, int y)
{
    PostMouse(window, WM_LBUTTONUP, 0, x, y);
    Pump();
}

void ToolWindowFixture::Wheel(HWND window, int x, int y, int delta)
{
    // The wheel carries screen coordinates.
    POINT point = {x, y};
    ClientToScreen(window, &point);
    PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                 MAKELPARAM(point.x, point.y));
    Pump();
}

POINT ToolWindowFixture::RowPoint(const CNCombo& combo, int index)
{
    const CNRect list = combo.GetListRect();
    const int x = list.x + 20;
    for (int y = list.y; y < list.y + list.height; ++y) {
        if (combo.GetList().ItemAt(x, y) == index)
            return {x, y + 3};
    }
    ADD_FAILURE() << "row " << index << " is not in the open list";
    return {x, list.y};
}

void ToolWindowFixture::PostMouse(HWND window, UINT message, WPARAM keys, int x, int y)
{
    PostMessageW(window, message, keys, MAKELPARAM(x, y));
}

} // namespace pelidore
