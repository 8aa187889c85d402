#include "LogCapture.h"

#include "CNLog.h"

namespace pelidore {

LogCapture* LogCapture::s_Active = nullptr;

LogCapture::LogCapture()
{
    s_Active = this;
    CNLog::SetSink(&LogCapture::Collect);
}

LogCapture::~LogCapture()
{
    CNLog::SetSink(nullptr);
    s_Active = nullptr;
}

bool LogCapture::Contains(const std::string& text) const
{
    for (const std::string& line : m_Lines)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

void LogCapture::Collect(const char* line)
{
    if (s_Active)
        s_Active->m_Lines.emplace_back(line);
}

} // namespace pelidore
