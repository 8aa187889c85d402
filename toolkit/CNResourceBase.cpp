#include "CNResourceBase.h"

namespace pelidore {

CNResourceBase::~CNResourceBase() = default;

} // namespace pelidore
