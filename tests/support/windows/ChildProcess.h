#pragma once
// A program of the build started by an end-to-end test: Pelidore, pelictl
// or the scene, from the folder the test itself runs from.
#include "NWindows.h"

#include <filesystem>
#include <string>

namespace pelidore {

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // program: a file name beside the test executable. Standard output goes
    // to outputFile when one is given.
    bool Start(const wchar_t* program, const std::wstring& arguments, const std::filesystem::path& outputFile = {});
    // Waits up to timeoutMs; the exit code, or -1 on time-out.
    int Wait(unsigned timeoutMs);
    bool IsRunning() const;
    void Kill();

    // Runs a program to its end: its exit code, -1 when it had to be killed.
    static int Run(const wchar_t* program, const std::wstring& arguments, unsigned timeoutMs);
    static std::filesystem::path BesideTest(const wchar_t* program);

private:
    void Forget();

    PROCESS_INFORMATION m_Process = {};
};

} // namespace pelidore
