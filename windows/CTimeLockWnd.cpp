#include "CTimeLockWnd.h"

#include "ResourceIds.h"

namespace pelidore {

namespace {

constexpr int kOkX = 232;
constexpr int kCancelX = 300;
constexpr int kMinutesX = 32;
constexpr int kSecondsX = 142;

} // namespace

CTimeLockWnd::CTimeLockWnd() : CLockWnd(IDB_TIME_LOCK_BACKGROUND, kOkX, kCancelX) {}

CTimeLockWnd::~CTimeLockWnd() = default;

int CTimeLockWnd::LimitSeconds() const
{
    return WholeValue(m_Minutes) * 60 + WholeValue(m_Seconds);
}

HRESULT CTimeLockWnd::CreateFields()
{
    if (FAILED(CreateNumericEdit(m_Minutes, kMinutesEdit, kMinutesX, 0, 99, 0)) ||
        FAILED(CreateNumericEdit(m_Seconds, kSecondsEdit, kSecondsX, 1, 60, 5)))
        return E_FAIL;
    return S_OK;
}

} // namespace pelidore
