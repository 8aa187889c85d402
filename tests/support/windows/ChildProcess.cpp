#include "ChildProcess.h"

#include <vector>

namespace pelidore {

ChildProcess::~ChildProcess()
{
    Kill();
}

std::filesystem::path ChildProcess::BesideTest(const wchar_t* program)
{
    wchar_t self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return program;
    return std::filesystem::path(self).parent_path() / program;
}

bool ChildProcess::Start(const wchar_t* program, const std::wstring& arguments, const std::filesystem::path& outputFile)
{
    Kill();
    const std::filesystem::path path = BesideTest(program);
    std::wstring line = L"\"" + path.wstring() + L"\" " + arguments;
    std::vector<wchar_t> commandLine(line.begin(), line.end());
    commandLine.push_back(L'\0');

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    HANDLE output = INVALID_HANDLE_VALUE;
    if (!outputFile.empty()) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        output = CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output == INVALID_HANDLE_VALUE)
            return false;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    const BOOL started = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr,
                                        output != INVALID_HANDLE_VALUE, 0, nullptr, nullptr, &startup, &m_Process);
    if (output != INVALID_HANDLE_VALUE)
        CloseHandle(output);
    if (!started) {
        m_Process = {};
        return false;
    }
    return true;
}

int ChildProcess::Wait(unsigned timeoutMs)
{
    if (!m_Process.hProcess || WaitForSingleObject(m_Process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_Process.hProcess, &code);
    Forget();
    return static_cast<int>(code);
}

bool ChildProcess::IsRunning() const
{
    return m_Process.hProcess && WaitForSingleObject(m_Process.hProcess, 0) == WAIT_TIMEOUT;
}

void ChildProcess::Kill()
{
    if (IsRunning()) {
        TerminateProcess(m_Process.hProcess, 255);
        WaitForSingleObject(m_Process.hProcess, 5000);
    }
    Forget();
}

void ChildProcess::Forget()
{
    if (m_Process.hThread)
        CloseHandle(m_Process.hThread);
    if (m_Process.hProcess)
        CloseHandle(m_Process.hProcess);
    m_Process = {};
}

int ChildProcess::Run(const wchar_t* program, const std::wstring& arguments, unsigned timeoutMs)
{
    ChildProcess child;
    if (!child.Start(program, arguments))
        return -1;
    const int code = child.Wait(timeoutMs);
    if (code == -1)
        child.Kill();
    return code;
}

} // namespace pelidore
