#include "MessagePump.h"

namespace pelidore {

namespace {

constexpr DWORD kRestMs = 5;

} // namespace

bool MessagePump::Dispatch(const MSG& message, const Inspect& inspect, bool translate)
{
    if (inspect && inspect(message))
        return false;
    if (translate)
        TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

void MessagePump::DispatchWaiting(bool translate)
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        Dispatch(message, {}, translate);
}

void MessagePump::RunFor(unsigned milliseconds, const Inspect& inspect)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            Dispatch(message, inspect, true);
        Sleep(kRestMs);
    } while (GetTickCount64() < end);
}

bool MessagePump::RunUntil(const std::function<bool()>& done, unsigned timeoutMs, bool* quit)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                if (quit)
                    *quit = true;
                return done();
            }
            Dispatch(message, {}, true);
            if (done())
                return true;
        }
        if (GetTickCount64() > end)
            return done();
        Sleep(kRestMs);
    }
    return true;
}

void MessagePump::RunUntilQuiet(unsigned quietMs, const Inspect& inspect)
{
    ULONGLONG quietSince = GetTickCount64();
    while (GetTickCount64() - quietSince < quietMs) {
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(kRestMs);
            continue;
        }
        Dispatch(message, inspect, true);
        quietSince = GetTickCount64();
    }
}

} // namespace pelidore
