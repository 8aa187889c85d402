#pragma once

namespace pelidore {

// True when the test runs under Wine, for the few checks Wine's GDI+ cannot pass.
bool RunningUnderWine();

} // namespace pelidore
