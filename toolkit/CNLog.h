#pragma once

#include <atomic>

namespace pelidore {

// Debug log of the toolkit. Each line reads "[function, line]   message\n".
// Lines with a level above kMaxLevel are dropped. The default sink sends each
// line to the debugger (OutputDebugStringA); tests replace it to read lines.
//
// Formats: the narrow entry takes printf formats; the wide entry takes wide
// formats where wide string arguments must be written %ls (the C runtime in
// use follows C99, where a plain %s in a wide format expects narrow text).
// Messages longer than the buffers are truncated, never overflowed.
class CNLog {
public:
    // Receives one complete, zero-terminated line including the final "\n".
    using Sink = void (*)(const char* line);

    static constexpr int kLevelRefused = 2;      // a request was refused
    static constexpr int kLevelCreateFailed = 5; // creating something failed
    static constexpr int kMaxLevel = 5;          // higher levels are dropped
    static constexpr int kBufferChars = 1024;    // size of each format buffer

    static void Write(const char* function, int line, int level, const char* format, ...)
        __attribute__((format(gnu_printf, 4, 5)));
    static void Write(const char* function, int line, int level, const wchar_t* format, ...);

    // nullptr restores the default sink. The sink is an atomic pointer, so
    // any thread may log while a test swaps it.
    static void SetSink(Sink sink);
    static Sink GetSink();

private:
    static void DefaultSink(const char* line);
    static std::atomic<Sink> s_Sink;
};

// Logs with the caller's source line: NLOG("CNBitmap::Load", CNLog::kLevelRefused, "cannot load file : %ls", path);
#define NLOG(function, level, ...) CNLog::Write((function), __LINE__, (level), __VA_ARGS__)

} // namespace pelidore
