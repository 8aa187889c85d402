// One run of pelidore-convert inside the test process, through RunConvert,
// with its exit code and everything it printed. The tool's contract is one
// line on standard error per failure, so the line counts are part of what a
// test checks.
#pragma once

#include <string>
#include <vector>

namespace pelidore {

class ConvertRun {
public:
    // args without the program's name, e.g. {"encode", "--size", "16x8", in, out}.
    static ConvertRun Of(std::vector<std::string> args);

    int ErrLines() const { return LineCount(err); }
    int OutLines() const { return LineCount(out); }

    int code = -1;
    std::string err;
    std::string out;

private:
    static int LineCount(const std::string& text);
};

} // namespace pelidore
