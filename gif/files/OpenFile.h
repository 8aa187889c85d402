// Opens a file by std::filesystem::path with a stdio mode ("rb", "wb",
// "r+b"): _wfopen under Windows, so that paths outside the ANSI code page
// work; fopen elsewhere. nullptr when the file cannot be opened.
#pragma once

#include <cstdio>
#include <filesystem>

namespace pelidore {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

} // namespace pelidore
