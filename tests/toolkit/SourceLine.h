#pragma once

#include <string>

namespace pelidore {

// The 1-based number of the first line of a repository file that contains
// text, or 0. Lets log tests compare against the line the code really logs from.
int SourceLineOf(const std::string& repositoryPath, const std::string& text);

} // namespace pelidore
