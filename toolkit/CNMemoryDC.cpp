#include "CNMemoryDC.h"

namespace pelidore {

CNMemoryDC::CNMemoryDC(HDC reference) : m_DC(CreateCompatibleDC(reference)) {}

CNMemoryDC::~CNMemoryDC()
{
    RestoreBitmap();
    if (m_DC)
        DeleteDC(m_DC);
}

bool CNMemoryDC::SelectBitmap(HBITMAP bitmap)
{
    if (!m_DC || !bitmap)
        return false;
    HGDIOBJ previous = SelectObject(m_DC, bitmap);
    if (!previous || previous == HGDI_ERROR)
        return false;
    if (!m_OldBitmap)
        m_OldBitmap = previous;
    return true;
}

void CNMemoryDC::RestoreBitmap()
{
    if (m_DC && m_OldBitmap)
        SelectObject(m_DC, m_OldBitmap);
    m_OldBitmap = nullptr;
}

} // namespace pelidore
