#pragma once

#include <string>
#include <vector>

namespace pelidore {

// Collects the toolkit's debug log lines while it exists (single-threaded tests).
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<std::string>& Lines() const { return m_Lines; }
    void Clear() { m_Lines.clear(); }
    // True when some line contains text.
    bool Contains(const std::string& text) const;

private:
    static void Collect(const char* line);
    static LogCapture* s_Active;
    std::vector<std::string> m_Lines;
};

} // namespace pelidore
