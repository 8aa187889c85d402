#include "ConvertRun.h"

#include "Commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace pelidore {

ConvertRun ConvertRun::Of(std::vector<std::string> args)
{
    args.insert(args.begin(), "pelidore-convert");
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    ConvertRun run;
    run.code = RunConvert(static_cast<int>(args.size()), argv.data());
    // The tool writes through stdio; what is still buffered belongs to this run.
    std::fflush(stdout);
    std::fflush(stderr);
    run.err = testing::internal::GetCapturedStderr();
    run.out = testing::internal::GetCapturedStdout();
    return run;
}

int ConvertRun::LineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace pelidore
