// pelidore-convert: converts between raw frames, frame stores and GIFs.
// Subcommands are listed in Commands.cpp.
#include "Commands.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#include <vector>

// The wide command line as UTF-8, so that every subcommand sees UTF-8.
int wmain(int argc, wchar_t** wargv)
{
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, wargv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string s(n > 0 ? static_cast<std::size_t>(n - 1) : 0u, '\0');
        if (n > 1) {
            WideCharToMultiByte(CP_UTF8, 0, wargv[i], -1, s.data(), n, nullptr, nullptr);
        }
        args.push_back(std::move(s));
    }
    std::vector<char*> argv;
    for (auto& s : args) {
        argv.push_back(s.data());
    }
    argv.push_back(nullptr);
    return pelidore::RunConvert(argc, argv.data());
}
#else
int main(int argc, char** argv)
{
    return pelidore::RunConvert(argc, argv);
}
#endif
