#pragma once

#include <string>

namespace pelidore {

// A file of the repository as a path Windows programs under Wine can open.
std::wstring RepositoryFile(const std::string& repositoryPath);
// A fresh path in the temporary folder (the file does not exist yet).
std::wstring TemporaryFile(const std::wstring& name);
// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);

} // namespace pelidore
