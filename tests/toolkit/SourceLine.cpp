#include "SourceLine.h"

#include <fstream>

namespace pelidore {

int SourceLineOf(const std::string& repositoryPath, const std::string& text)
{
    std::ifstream source(std::string(PELIDORE_SOURCE_DIR) + "/" + repositoryPath);
    std::string line;
    for (int number = 1; std::getline(source, line); ++number)
        if (line.find(text) != std::string::npos)
            return number;
    return 0;
}

} // namespace pelidore
