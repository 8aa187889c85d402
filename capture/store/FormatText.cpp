#include "FormatText.h"

#include <cstdarg>
#include <cstdio>

namespace pelidore {

std::string FormatText(const char* format, ...)
{
    char buffer[320];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

} // namespace pelidore
