#include "CPelidoreLink.h"

#include "PelidoreCommands.h"

namespace pelidore {

namespace {

const wchar_t kFrameClass[] = L"Pelidore";
const wchar_t kFrameTitle[] = L"Pelidore";
constexpr UINT kQueryTimeoutMs = 5000;

bool TimeLeft(ULONGLONG deadline)
{
    return GetTickCount64() < deadline;
}

} // namespace

bool CPelidoreLink::WaitForFrame(unsigned timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        m_Frame = FindWindowW(kFrameClass, kFrameTitle);
        unsigned state = 0;
        if (m_Frame && QueryState(state))
            return true;
        Sleep(kPollMs);
    } while (TimeLeft(deadline));
    return false;
}

bool CPelidoreLink::QueryState(unsigned& state) const
{
    DWORD_PTR result = 0;
    if (!m_Frame || !SendMessageTimeoutW(m_Frame, PWM_QUERY_STATE, 0, 0, SMTO_NORMAL, kQueryTimeoutMs, &result))
        return false;
    state = static_cast<unsigned>(result);
    return (state & STATE_ANSWERED) != 0;
}

bool CPelidoreLink::Post(unsigned command, long long argument) const
{
    return m_Frame && PostMessageW(m_Frame, PWM_COMMAND, command, static_cast<LPARAM>(argument));
}

bool CPelidoreLink::CloseAndWait(unsigned timeoutMs) const
{
    DWORD processId = 0;
    if (!m_Frame || !GetWindowThreadProcessId(m_Frame, &processId))
        return false;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!PostMessageW(m_Frame, WM_CLOSE, 0, 0)) {
        if (process)
            CloseHandle(process);
        return false;
    }
    if (!process) {
        // Without a handle on the process, its window going away is the sign.
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        while (IsWindow(m_Frame) && TimeLeft(deadline))
            Sleep(kPollMs);
        return !IsWindow(m_Frame);
    }
    const bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

bool CPelidoreLink::WaitForState(const std::function<bool(unsigned)>& accept, unsigned timeoutMs,
                                 unsigned& lastState) const
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        if (!QueryState(lastState))
            return false;
        if (accept(lastState))
            return true;
        Sleep(kPollMs);
    } while (TimeLeft(deadline));
    return false;
}

} // namespace pelidore
