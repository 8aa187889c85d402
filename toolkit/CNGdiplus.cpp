#include "CNGdiplus.h"

namespace pelidore {

CNGdiplus::CNGdiplus()
{
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_Token, &input, nullptr) != Gdiplus::Ok)
        m_Token = 0;
}

CNGdiplus::~CNGdiplus()
{
    if (m_Token != 0)
        Gdiplus::GdiplusShutdown(m_Token);
}

} // namespace pelidore
