#include "CSizeLockWnd.h"

#include "ResourceIds.h"

namespace pelidore {

namespace {

constexpr int kOkX = 142;
constexpr int kCancelX = 210;
constexpr int kMegabytesX = 37;

} // namespace

CSizeLockWnd::CSizeLockWnd() : CLockWnd(IDB_SIZE_LOCK_BACKGROUND, kOkX, kCancelX) {}

CSizeLockWnd::~CSizeLockWnd() = default;

int CSizeLockWnd::LimitMegabytes() const
{
    return WholeValue(m_Megabytes);
}

HRESULT CSizeLockWnd::CreateFields()
{
    return CreateNumericEdit(m_Megabytes, kMegabytesEdit, kMegabytesX, 0, 999, 1);
}

} // namespace pelidore
