#include "CNCreationResult.h"

namespace pelidore {

void CNCreationResult::Add(HRESULT result)
{
    if (FAILED(result))
        m_Result = result;
}

} // namespace pelidore
