// printf into a std::string, for the store's and the codec's error messages
// (which stay under 320 characters).
#pragma once

#include <string>

namespace pelidore {

std::string FormatText(const char* format, ...);

} // namespace pelidore
