#include "Cli.h"

#include "OpenFile.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace pelidore {

namespace cli {

namespace {

std::string OneLine(std::string text)
{
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

} // namespace

int RunCli(const std::string& command, const std::string& usage, const std::function<int()>& body)
{
    const std::string prefix = "pelidore-convert " + command + ": ";
    try {
        return body();
    } catch (const UsageError& e) {
        std::fprintf(stderr, "%s%s (usage: pelidore-convert %s)\n", prefix.c_str(), OneLine(e.what()).c_str(),
                     usage.c_str());
        return kExitUsage;
    } catch (const Failure& e) {
        std::fprintf(stderr, "%s%s\n", prefix.c_str(), OneLine(e.what()).c_str());
        return kExitFailure;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%sout of memory\n", prefix.c_str());
        return kExitFailure;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s%s\n", prefix.c_str(), OneLine(e.what()).c_str());
        return kExitFailure;
    }
}

ArgParser& ArgParser::Value(const std::string& name)
{
    m_ValueNames.insert(name);
    return *this;
}

ArgParser& ArgParser::Flag(const std::string& name)
{
    m_FlagNames.insert(name);
    return *this;
}

void ArgParser::Parse(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i] != nullptr ? argv[i] : "");
    }
    Parse(args);
}

void ArgParser::Parse(const std::vector<std::string>& args)
{
    m_Values.clear();
    m_Flags.clear();
    m_Positionals.clear();
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            m_Positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        const std::size_t eq = arg.find('=');
        if (eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        if (m_ValueNames.count(name) != 0) {
            if (m_Values.count(name) != 0) {
                throw UsageError(name + " given twice");
            }
            if (inlineValue) {
                m_Values[name] = *inlineValue;
            } else {
                if (i + 1 >= args.size()) {
                    throw UsageError(name + " needs a value");
                }
                m_Values[name] = args[++i];
            }
        } else if (m_FlagNames.count(name) != 0) {
            if (inlineValue) {
                throw UsageError(name + " takes no value");
            }
            m_Flags.insert(name);
        } else {
            throw UsageError("unknown option " + name);
        }
    }
}

bool ArgParser::Has(const std::string& name) const
{
    return m_Flags.count(name) != 0 || m_Values.count(name) != 0;
}

std::optional<std::string> ArgParser::Get(const std::string& name) const
{
    const auto it = m_Values.find(name);
    if (it == m_Values.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::string ArgParser::Required(const std::string& name) const
{
    const auto value = Get(name);
    if (!value) {
        throw UsageError("missing " + name);
    }
    return *value;
}

void ArgParser::ExpectPositionals(std::size_t min, std::size_t max) const
{
    const std::size_t n = m_Positionals.size();
    if (n < min) {
        throw UsageError(min - n == 1 && min > 1 ? "missing the last argument" : "missing arguments");
    }
    if (n > max) {
        throw UsageError("too many arguments (" + m_Positionals[max] + ")");
    }
}

std::uint64_t FrameSize::FrameBytes() const
{
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3u;
}

namespace {

bool ParseDimension(const std::string& text, int& out)
{
    if (text.empty() || text.size() > 5) {
        return false;
    }
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

} // namespace

FrameSize ParseFrameSize(const std::string& text, const std::string& option, bool multipleOf4)
{
    const std::size_t x = text.find_first_of("xX");
    FrameSize size;
    if (x == std::string::npos || !ParseDimension(text.substr(0, x), size.width) ||
        !ParseDimension(text.substr(x + 1), size.height)) {
        throw UsageError(option + " wants WxH with both between 1 and 65535, not \"" + text + "\"");
    }
    if (multipleOf4 && size.width % 4 != 0) {
        throw UsageError(option + " " + text + ": the width must be a multiple of 4");
    }
    return size;
}

float ParseSeconds(const std::string& text, const std::string& option)
{
    if (text.empty()) {
        throw UsageError(option + " wants a number of seconds");
    }
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || errno == ERANGE || !std::isfinite(value) || value < 0.0 ||
        value > 655.35) {
        throw UsageError(option + " wants seconds between 0 and 655.35, not \"" + text + "\"");
    }
    return static_cast<float>(value);
}

long long ParseInteger(const std::string& text, const std::string& option, long long min, long long max)
{
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || end == text.c_str() || *end != '\0' || errno == ERANGE || value < min || value > max) {
        throw UsageError(option + " wants a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                         ", not \"" + text + "\"");
    }
    return value;
}

std::filesystem::path PathFromArg(const std::string& arg)
{
    return std::filesystem::u8path(arg);
}

std::string PathForDisplay(const std::filesystem::path& path)
{
    return path.u8string();
}

void RemoveQuietly(const std::filesystem::path& path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

InputFile::InputFile(const std::string& arg) : m_Name(arg == "-" ? std::string("standard input") : arg)
{
    if (arg == "-") {
        m_Stdin = true;
        m_File = stdin;
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY);
#endif
        return;
    }
    const std::filesystem::path path = PathFromArg(arg);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw Failure("cannot read " + arg + ": it is a directory");
    }
    m_File = OpenFile(path, "rb");
    if (m_File == nullptr) {
        throw Failure("cannot open " + arg + ": " + std::strerror(errno));
    }
    if (std::filesystem::is_regular_file(path, ec)) {
        const auto size = std::filesystem::file_size(path, ec);
        if (!ec) {
            m_Size = static_cast<std::uint64_t>(size);
        }
    }
}

InputFile::~InputFile()
{
    if (m_File != nullptr && !m_Stdin) {
        std::fclose(m_File);
    }
}

std::size_t InputFile::Read(void* buffer, std::size_t bytes)
{
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < bytes) {
        const std::size_t n = std::fread(out + done, 1, bytes - done, m_File);
        done += n;
        if (n == 0) {
            if (std::ferror(m_File)) {
                throw Failure("reading " + m_Name + " failed: " + std::strerror(errno));
            }
            break; // end of file
        }
    }
    return done;
}

std::vector<std::uint8_t> InputFile::ReadAll()
{
    std::vector<std::uint8_t> data;
    std::uint8_t chunk[65536];
    for (;;) {
        const std::size_t n = Read(chunk, sizeof chunk);
        data.insert(data.end(), chunk, chunk + n);
        if (n < sizeof chunk) {
            return data;
        }
    }
}

bool IsTerminal(int fd)
{
#ifdef _WIN32
    return _isatty(fd) != 0;
#else
    return isatty(fd) != 0;
#endif
}

ProgressBar::ProgressBar(std::string label, std::uint64_t total, std::string unit)
    : ProgressBar(std::move(label), total, std::move(unit), IsTerminal(2))
{
}

ProgressBar::ProgressBar(std::string label, std::uint64_t total, std::string unit, bool enabled)
    : m_Label(std::move(label)), m_Total(total), m_Unit(std::move(unit)), m_Enabled(enabled)
{
}

ProgressBar::~ProgressBar()
{
    if (m_Drawn && !m_Finished) {
        std::fputc('\n', stderr);
    }
}

std::string ProgressBar::Render(std::uint64_t done) const
{
    std::string text = m_Label;
    if (m_Total == 0) {
        return text + " " + std::to_string(done) + " " + m_Unit;
    }
    const std::uint64_t shown = done > m_Total ? m_Total : done;
    constexpr int kWidth = 30;
    const int filled = static_cast<int>(shown * kWidth / m_Total);
    const int percent = static_cast<int>(shown * 100 / m_Total);
    text += " [";
    text.append(static_cast<std::size_t>(filled), '#');
    text.append(static_cast<std::size_t>(kWidth - filled), '.');
    text += "] ";
    std::string pct = std::to_string(percent);
    text.append(3 - (pct.size() < 3 ? pct.size() : 3), ' ');
    text += pct + "% " + std::to_string(done) + "/" + std::to_string(m_Total) + " " + m_Unit;
    return text;
}

void ProgressBar::Draw(std::uint64_t done)
{
    const std::string text = Render(done);
    std::fprintf(stderr, "\r%s", text.c_str());
    std::fflush(stderr);
    m_Drawn = true;
    m_LastDraw = std::chrono::steady_clock::now();
}

void ProgressBar::Update(std::uint64_t done)
{
    m_Last = done;
    if (!m_Enabled || m_Finished) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (m_Drawn && now - m_LastDraw < std::chrono::milliseconds(50)) {
        return;
    }
    Draw(done);
}

void ProgressBar::Finish()
{
    if (!m_Enabled || m_Finished) {
        m_Finished = true;
        return;
    }
    Draw(m_Last);
    std::fputc('\n', stderr);
    m_Finished = true;
}

} // namespace cli

} // namespace pelidore
