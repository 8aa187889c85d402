// Draws into real windows and reads the result back from the screen (under
// Xvfb this is the X server's picture), so what the user would see is checked,
// not only the buffer.
#include "CNBitmap.h"
#include "CNColor.h"
#include "CNFont.h"
#include "CNGdiplus.h"
#include "CNScreenDC.h"
#include "CNSubWindow.h"
#include "CNTopWindow.h"
#include "MessagePump.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace pelidore {

namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kBlue = 0xFF0000FFu;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr int kWaitMs = 3000;

void PumpMessages()
{
    MessagePump::DispatchWaiting();
}

// The screen's pixel at (x, y) as opaque ARGB, read through a screen grab.
class ScreenGrab {
public:
    ScreenGrab(int x, int y, int width, int height) : m_X(x), m_Y(y)
    {
        const CNScreenDC screen;
        EXPECT_EQ(m_Picture.CreateFromDC(screen.Get(), x, y, width, height), S_OK);
    }
    uint32_t At(int x, int y) const
    {
        Gdiplus::Color colour;
        if (!m_Picture.Image() || m_Picture.Image()->GetPixel(x - m_X, y - m_Y, &colour) != Gdiplus::Ok)
            return 0;
        return colour.GetValue();
    }

private:
    CNBitmap m_Picture;
    int m_X;
    int m_Y;
};

// Grabs until check accepts the picture or the time runs out (the X server
// shows a window some time after it was mapped).
bool WaitForScreen(int x, int y, int width, int height, const std::function<bool(const ScreenGrab&)>& check)
{
    const DWORD start = GetTickCount();
    do {
        PumpMessages();
        ScreenGrab grab(x, y, width, height);
        if (check(grab))
            return true;
        Sleep(50);
    } while (GetTickCount() - start < static_cast<DWORD>(kWaitMs));
    return false;
}

class LayeredWindowTest : public ::testing::Test {
protected:
    static constexpr int kLeft = 40;
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 360;
    static constexpr int kTop = 30;

    void SetUp() override
    {
        m_Gdiplus = std::make_unique<CNGdiplusHolder>();
        ASSERT_TRUE(m_Gdiplus->gdiplus.IsStarted());
    }
    void TearDown() override
    {
        m_Window.reset();
        m_Gdiplus.reset();
    }

    struct CNGdiplusHolder {
        CNGdiplus gdiplus;
    };
    std::unique_ptr<CNGdiplusHolder> m_Gdiplus;
    std::unique_ptr<CNTopWindow> m_Window;
};

TEST_F(LayeredWindowTest, ScreenShowsWhatWasDrawnAndTransparentPixelsShowThrough)
{
    const ScreenGrab before(kLeft, kTop, kWidth, kHeight);
    const uint32_t underHole = before.At(kLeft + 320, kTop + 180);

    m_Window = std::make_unique<CNTopWindow>();
    ASSERT_EQ(m_Window->Create(GetModuleHandleW(nullptr), L"PelidoreLayeredTest", kLeft, kTop, kWidth, kHeight), 0);
    CNScreen& screen = *m_Window->GetScreen();
    screen.FillRect(255, 0, 0, 255, 0, 0, 320, 180);
    screen.FillRect(0, 255, 0, 255, 320, 0, 320, 180);
    screen.FillRect(0, 0, 255, 255, 0, 180, 640, 180);
    screen.DrawDashRect(0.0f, 0, 255, 255, 255, 10, 10, 100, 50);
    screen.ClearRect(300, 160, 40, 40);
    CNFont font;
    ASSERT_EQ(font.Create(-20, FW_BOLD, L"Arial"), 0);
    screen.DrawOutlinedText(font, RECT{20, 250, 620, 340}, CNColor(255, 255, 255, 255), L"Pelidore", 1, true, false, 0);
    ASSERT_NE(screen.Present(), 0);

    const bool shown = WaitForScreen(kLeft, kTop, kWidth, kHeight, [&](const ScreenGrab& g) {
        return g.At(kLeft + 50, kTop + 100) == kRed && g.At(kLeft + 600, kTop + 100) == kGreen;
    });
    ASSERT_TRUE(shown) << "the layered window never appeared on the screen";
    ScreenGrab grab(kLeft, kTop, kWidth, kHeight);
    EXPECT_EQ(grab.At(kLeft, kTop), kRed);
    EXPECT_EQ(grab.At(kLeft + 639, kTop), kGreen);
    EXPECT_EQ(grab.At(kLeft, kTop + 359), kBlue);
    EXPECT_EQ(grab.At(kLeft + 639, kTop + 359), kBlue);
    EXPECT_EQ(grab.At(kLeft + 10, kTop + 10), kWhite);
    EXPECT_EQ(grab.At(kLeft + 110, kTop + 60), kWhite);
    EXPECT_EQ(grab.At(kLeft + 60, kTop + 35), kRed);
    EXPECT_EQ(grab.At(kLeft + 320, kTop + 180), underHole);
    int textPixels = 0;
    for (int y = 250; y < 340; y += 2)
        for (int x = 20; x < 620; ++x)
            textPixels += grab.At(kLeft + x, kTop + y) == kWhite;
    EXPECT_GT(textPixels, 20);
}

TEST_F(LayeredWindowTest, OrdinaryWindowPushesOnlyTheAskedRectangle)
{
    CNSubWindow window;
    ASSERT_EQ(window.Create(GetModuleHandleW(nullptr), nullptr, L"PelidoreOrdinaryTest", WS_EX_TOPMOST, WS_POPUP, 400,
                            300, 120, 80, 1),
              0);
    CNScreen& screen = *window.GetScreen();
    screen.FillRect(0, 255, 0, 255, 0, 0, 120, 80);
    ASSERT_NE(screen.Present(), 0);
    ASSERT_TRUE(WaitForScreen(400, 300, 120, 80, [](const ScreenGrab& g) { return g.At(460, 340) == kGreen; }));
    screen.FillRect(255, 0, 0, 255, 10, 10, 30, 20);
    screen.FillRect(0, 0, 255, 255, 60, 40, 30, 20);
    ASSERT_NE(screen.PresentRect(10, 10, 30, 20), 0);
    ASSERT_TRUE(WaitForScreen(400, 300, 120, 80, [](const ScreenGrab& g) { return g.At(420, 320) == kRed; }));
    ScreenGrab grab(400, 300, 120, 80);
    EXPECT_EQ(grab.At(410, 310), kRed);
    EXPECT_EQ(grab.At(439, 329), kRed);
    EXPECT_EQ(grab.At(440, 330), kGreen);
    EXPECT_EQ(grab.At(470, 350), kGreen);
}

} // namespace

} // namespace pelidore
