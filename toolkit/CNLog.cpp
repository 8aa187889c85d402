#include "CNLog.h"

#include "NWindows.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace pelidore {

std::atomic<CNLog::Sink> CNLog::s_Sink{nullptr};

namespace {

// The prefix, the message and the line feed; the message is cut so that the
// whole line fits.
void EmitLine(CNLog::Sink sink, const char* function, int line, const char* message)
{
    char text[CNLog::kBufferChars + 64];
    int prefix = std::snprintf(text, sizeof(text), "[%s, %d]   ", function ? function : "", line);
    if (prefix < 0)
        return;
    size_t used = static_cast<size_t>(prefix) < sizeof(text) - 2 ? static_cast<size_t>(prefix) : sizeof(text) - 2;
    size_t room = sizeof(text) - 2 - used;
    size_t length = std::strlen(message);
    if (length > room)
        length = room;
    std::memcpy(text + used, message, length);
    text[used + length] = '\n';
    text[used + length + 1] = '\0';
    sink(text);
}

} // namespace

void CNLog::Write(const char* function, int line, int level, const char* format, ...)
{
    if (level > kMaxLevel || format == nullptr)
        return;
    char message[kBufferChars];
    va_list args;
    va_start(args, format);
    message[0] = '\0';
    std::vsnprintf(message, sizeof(message), format, args);
    va_end(args);
    message[kBufferChars - 1] = '\0';
    EmitLine(GetSink(), function, line, message);
}

void CNLog::Write(const char* function, int line, int level, const wchar_t* format, ...)
{
    if (level > kMaxLevel || format == nullptr)
        return;
    wchar_t wide[kBufferChars];
    va_list args;
    va_start(args, format);
    wide[0] = L'\0';
    std::vswprintf(wide, kBufferChars, format, args);
    va_end(args);
    // A text that does not fit may be left without its terminator: keep what was written.
    wide[kBufferChars - 1] = L'\0';
    char message[kBufferChars];
    int converted = WideCharToMultiByte(CP_ACP, 0, wide, -1, message, kBufferChars, nullptr, nullptr);
    if (converted == 0) {
        // Too long for the narrow buffer: convert as much as fits.
        converted = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(std::wcslen(wide)), message, kBufferChars - 1,
                                        nullptr, nullptr);
        message[converted > 0 ? converted : 0] = '\0';
    }
    message[kBufferChars - 1] = '\0';
    Write(function, line, level, "%s", message);
}

void CNLog::SetSink(Sink sink)
{
    s_Sink.store(sink);
}

CNLog::Sink CNLog::GetSink()
{
    Sink sink = s_Sink.load();
    return sink ? sink : &CNLog::DefaultSink;
}

void CNLog::DefaultSink(const char* line)
{
    OutputDebugStringA(line);
}

} // namespace pelidore
