// The shared pieces of pelidore-convert's subcommands: argument parsing,
// frame sizes, input files (or standard input), output paths, the progress
// bar, and the exit-code conventions.
//
// Conventions every subcommand follows:
//   - A subcommand is `int RunXCommand(int argc, char** argv)`, argv[0] being
//     the subcommand's name and the rest its arguments, all UTF-8 (Main.cpp
//     converts the wide command line on Windows). Register it in the table of
//     Main.cpp.
//   - Wrap the body in RunCli: a UsageError prints one line and gives exit
//     code 2; a Failure prints one line and gives exit code 1; success 0.
//   - Paths come from PathFromArg so that non-ASCII names work on Windows.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace pelidore {

namespace cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Wrong usage: unknown option, missing or malformed value, wrong argument count.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Anything that goes wrong once the usage is right: unreadable input, bad
// content, unwritable output.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs body; maps UsageError to "pelidore-convert COMMAND: MESSAGE (usage:
// pelidore-convert USAGE)" and exit 2, Failure (and any other exception) to
// "pelidore-convert COMMAND: MESSAGE" and exit 1, all on one line of standard
// error. body returns the exit code on success (normally kExitOk).
int RunCli(const std::string& command, const std::string& usage, const std::function<int()>& body);

// Options: "--name VALUE", "--name=VALUE" and flags "--name"; "--" ends the
// options; "-" alone is a positional argument (standard input or output).
class ArgParser {
public:
    ArgParser& Value(const std::string& name); // e.g. "--size"
    ArgParser& Flag(const std::string& name);  // e.g. "--dithering"
    // Parses argv[1..argc-1] (argv[0] is the subcommand). Throws UsageError.
    void Parse(int argc, char** argv);
    void Parse(const std::vector<std::string>& args);

    bool Has(const std::string& name) const;
    std::optional<std::string> Get(const std::string& name) const;
    // The value, or a UsageError "missing NAME" when absent.
    std::string Required(const std::string& name) const;
    const std::vector<std::string>& Positionals() const { return m_Positionals; }
    // Throws UsageError unless there are between min and max positionals.
    void ExpectPositionals(std::size_t min, std::size_t max) const;

private:
    std::set<std::string> m_ValueNames;
    std::set<std::string> m_FlagNames;
    std::map<std::string, std::string> m_Values;
    std::set<std::string> m_Flags;
    std::vector<std::string> m_Positionals;
};

struct FrameSize {
    int width = 0;
    int height = 0;
    // width x height x 3: one frame of the frame pixel layout (blue, green,
    // red, bottom row first), computed in 64 bits.
    std::uint64_t FrameBytes() const;
};

// "WxH" (also "WXH"), both 1..65535; with multipleOf4 the width must be a
// multiple of 4 (the frame layout's rule). Throws UsageError naming option.
FrameSize ParseFrameSize(const std::string& text, const std::string& option = "--size", bool multipleOf4 = true);
// A finite number of seconds >= 0. Throws UsageError.
float ParseSeconds(const std::string& text, const std::string& option);
// A whole number in [min, max]. Throws UsageError.
long long ParseInteger(const std::string& text, const std::string& option, long long min, long long max);

// A UTF-8 argument as a path (wide on Windows).
std::filesystem::path PathFromArg(const std::string& arg);
// A path for messages, in UTF-8.
std::string PathForDisplay(const std::filesystem::path& path);
// Takes back a half-made output. A file that will not go is left as it is:
// the failure that led here is the one worth reporting.
void RemoveQuietly(const std::filesystem::path& path);

// A file to read from, or standard input for "-" (binary on Windows).
class InputFile {
public:
    // Throws Failure "cannot open NAME: reason".
    explicit InputFile(const std::string& arg);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsStdin() const { return m_Stdin; }
    const std::string& Name() const { return m_Name; }
    // Size in bytes when it is a regular file, else empty (a pipe).
    std::optional<std::uint64_t> Size() const { return m_Size; }
    // Reads up to `bytes`, retrying short reads; returns what was read (less
    // only at the end). Throws Failure on a read error.
    std::size_t Read(void* buffer, std::size_t bytes);
    // Reads everything that is left. Throws Failure on a read error.
    std::vector<std::uint8_t> ReadAll();

private:
    std::string m_Name;
    std::FILE* m_File = nullptr;
    bool m_Stdin = false;
    std::optional<std::uint64_t> m_Size;
};

// True when the file descriptor is a terminal (stderr: 2).
bool IsTerminal(int fd);

// A one-line progress bar on standard error, drawn only when standard error
// is a terminal: "LABEL [#######.......]  45% 45/100 frames"; with an unknown
// total "LABEL 45 frames". Redraws at most every 50 ms; Finish draws the
// final state and ends the line.
class ProgressBar {
public:
    ProgressBar(std::string label, std::uint64_t total, std::string unit = "frames");
    ProgressBar(std::string label, std::uint64_t total, std::string unit, bool enabled);
    ~ProgressBar();
    void Update(std::uint64_t done);
    void Finish();
    bool Enabled() const { return m_Enabled; }
    // The text of one state, without the leading carriage return.
    std::string Render(std::uint64_t done) const;

private:
    void Draw(std::uint64_t done);

    std::string m_Label;
    std::uint64_t m_Total;
    std::string m_Unit;
    bool m_Enabled;
    bool m_Drawn = false;
    bool m_Finished = false;
    std::uint64_t m_Last = 0;
    std::chrono::steady_clock::time_point m_LastDraw{};
};

} // namespace cli

} // namespace pelidore
