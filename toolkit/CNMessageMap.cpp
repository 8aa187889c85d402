#include "CNMessageMap.h"

#include "CNLog.h"

namespace pelidore {

CNMessageMap::CNMessageMap() = default;

CNMessageMap::~CNMessageMap() = default;

HRESULT CNMessageMap::AddHandler(UINT id, Handler handler)
{
    if (m_Handlers.count(id) != 0) {
        NLOG("CNMessageMap::AddMessageFunc", CNLog::kLevelRefused, "already added message function %u", id);
        return E_FAIL;
    }
    m_Handlers.emplace(id, std::move(handler));
    return S_OK;
}

LRESULT CNMessageMap::DispatchMap(UINT id, WPARAM wParam, LPARAM lParam)
{
    auto found = m_Handlers.find(id);
    if (found == m_Handlers.end() || !found->second)
        return 0;
    return found->second(wParam, lParam);
}

bool CNMessageMap::HasMessageFunc(UINT id) const
{
    return m_Handlers.count(id) != 0;
}

void CNMessageMap::ClearMessageFuncs()
{
    m_Handlers.clear();
}

} // namespace pelidore
