#include "windows/CCreationResult.h"

void CCreationResult::Add(HRESULT result)
{
    if (FAILED(result))
        m_Result = result;
}
