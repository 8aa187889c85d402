#include "CCreationResult.h"

namespace pelidore {

void CCreationResult::Add(HRESULT result)
{
    if (FAILED(result))
        m_Result = result;
}

} // namespace pelidore
