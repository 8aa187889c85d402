#pragma once

#include "NWindows.h"

namespace pelidore {

// Keeps GDI+ started for its lifetime (GdiplusStartup / GdiplusShutdown).
// Every GDI+ object must be destroyed before this object is.
class CNGdiplus {
public:
    CNGdiplus();
    ~CNGdiplus();
    CNGdiplus(const CNGdiplus&) = delete;
    CNGdiplus& operator=(const CNGdiplus&) = delete;

    bool IsStarted() const { return m_Token != 0; }

private:
    ULONG_PTR m_Token = 0;
};

} // namespace pelidore
