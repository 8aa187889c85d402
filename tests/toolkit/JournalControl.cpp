#include "JournalControl.h"

namespace pelidore {

void JournalControl::Draw(int mode)
{
    m_Journal.push_back("draw " + std::to_string(GetId()) + " mode " + std::to_string(mode));
}

void JournalControl::Release()
{
    m_Journal.push_back("release " + std::to_string(GetId()));
    CNControlBase::Release();
}

LRESULT JournalControl::OnMessage(HWND, UINT message, WPARAM, LPARAM)
{
    if (message != kProbe)
        return 0;
    m_Journal.push_back("child " + std::to_string(GetId()));
    // A handled message; the owner must still offer it to the other children.
    return 1;
}

} // namespace pelidore
