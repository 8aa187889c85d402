// Entry point: one frame window centred on the monitor nearest the virtual
// screen's origin, the message loop, and a shutdown that keeps whatever is
// being recorded or saved.
#include "CFrameGeometry.h"
#include "CPelidoreWnd.h"
#include "NWindows.h"

namespace pelidore {

namespace {

pelidore::PixelPoint StartPosition()
{
    const pelidore::PixelPoint origin{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};
    pelidore::PixelSize size{GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    HMONITOR monitor = MonitorFromPoint(POINT{origin.x, origin.y}, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (monitor && GetMonitorInfoW(monitor, &info))
        size = {info.rcMonitor.right - info.rcMonitor.left, info.rcMonitor.bottom - info.rcMonitor.top};
    return pelidore::CFrameGeometry::StartOrigin(origin, size);
}

// Starting the program again brings the frame that is already there.
void ShowRunningFrame()
{
    HWND running = FindWindowW(pelidore::CPelidoreWnd::kClassName, pelidore::CPelidoreWnd::kClassName);
    if (!running)
        return;
    if (IsIconic(running))
        ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
}

int RunMessageLoop()
{
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got < 0 ? 1 : 0;
}

} // namespace

} // namespace pelidore

using namespace pelidore;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // A second instance would find the first one's frame store in the work
    // folder and take it for a crashed recording.
    HANDLE single = CreateMutexW(nullptr, FALSE, L"Local\\Pelidore.Instance");
    if (!single)
        return 1;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(single);
        ShowRunningFrame();
        return 0;
    }
    const pelidore::PixelPoint at = StartPosition();
    int result = 1;
    {
        pelidore::CPelidoreWnd frame;
        if (SUCCEEDED(frame.Create(instance, at.x, at.y))) {
            frame.Draw();
            result = RunMessageLoop();
        }
        frame.Shutdown();
    }
    CloseHandle(single);
    return result;
}
