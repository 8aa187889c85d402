// pelidore-config [--quality N] [--fps N] [--work-folder PATH] FILE
// Writes FILE as a config.dat with the built-in defaults and the given
// values, so a script can start Pelidore in a known state.
#include "CConfigFile.h"
#include "CSettingsFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace pelidore {

namespace {

struct Options {
    CConfigFile config;
    const char* file = nullptr;
};

bool ParseNumber(const char* text, long minimum, long maximum, std::int32_t& value)
{
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || number < minimum || number > maximum)
        return false;
    value = static_cast<std::int32_t>(number);
    return true;
}

// Paths are ASCII in the scripts that call this; anything else is refused
// rather than guessed at.
bool ParseFolder(const char* text, CFixedText& folder)
{
    std::u16string units;
    for (const char* c = text; *c; ++c) {
        if (static_cast<unsigned char>(*c) > 0x7F)
            return false;
        units.push_back(static_cast<char16_t>(*c));
    }
    if (units.empty() || units.size() > CFixedText::kMaxLength)
        return false;
    folder.Assign(units);
    return true;
}

bool ParseOption(const char* name, const char* value, CConfigFile& config)
{
    if (std::strcmp(name, "--quality") == 0)
        return ParseNumber(value, 0, 3, config.qualityIndex);
    if (std::strcmp(name, "--fps") == 0 && ParseNumber(value, 1, CConfigFile::kMaxFpsStep + 1, config.fpsStep)) {
        config.fpsStep -= 1;
        return true;
    }
    if (std::strcmp(name, "--work-folder") == 0)
        return ParseFolder(value, config.workFolder);
    return false;
}

bool Parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) != 0) {
            if (options.file || i + 1 != argc)
                return false;
            options.file = argv[i];
        } else if (i + 1 >= argc || !ParseOption(argv[i], argv[i + 1], options.config)) {
            return false;
        } else {
            ++i;
        }
    }
    return options.file != nullptr;
}

} // namespace

} // namespace pelidore

using namespace pelidore;

int main(int argc, char** argv)
{
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: pelidore-config [--quality 0..3] [--fps 1..30] [--work-folder PATH] FILE\n");
        return 2;
    }
    if (!CSettingsFile::Write(options.file, options.config.Serialise())) {
        std::fprintf(stderr, "pelidore-config: cannot write %s\n", options.file);
        return 1;
    }
    return 0;
}
