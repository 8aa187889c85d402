#pragma once

#include "NWindows.h"

namespace pelidore {

// Collects the results of a creation sequence without stopping it: a window
// whose picture is missing is still usable, the log says what went wrong,
// and the creation as a whole reports the failure.
class CNCreationResult {
public:
    void Add(HRESULT result);
    HRESULT Get() const { return m_Result; }

private:
    HRESULT m_Result = S_OK;
};

} // namespace pelidore
