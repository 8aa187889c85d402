#include "COptionsFile.h"

#include "CAsciiText.h"
#include "CSettingsFile.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <variant>

namespace pelidore {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

struct NumberField {
    int Options::*member;
    bool (*allowed)(int value);
};

template <const auto& kChoices>
bool OneOf(int value)
{
    return std::find(kChoices.begin(), kChoices.end(), value) != kChoices.end();
}

template <int kMaximum>
bool UpTo(int value)
{
    return value >= 0 && value <= kMaximum;
}

struct Key {
    std::string_view name;
    std::variant<CHotkey Options::*, bool Options::*, NumberField> field;
};

// Every key of the file: a new option is its member in Options and a row here.
const Key kKeys[] = {
    {"record_hotkey", &Options::recordHotkey},
    {"pause_hotkey", &Options::pauseHotkey},
    {"snapshot_hotkey", &Options::snapshotHotkey},
    {"countdown_seconds", NumberField{&Options::countdownSeconds, OneOf<Options::kCountdownChoices>}},
    {"highlight_clicks", &Options::highlightClicks},
    {"copy_after_save", &Options::copyAfterSave},
    {"show_after_save", &Options::showAfterSave},
    {"review_before_saving", &Options::reviewBeforeSaving},
    {"smaller_files", &Options::smallerFiles},
    {"fit_to_mb", NumberField{&Options::fitToMb, UpTo<Options::kMaxFitToMb>}},
};

const Key* KeyNamed(std::string_view name)
{
    for (const Key& key : kKeys)
        if (CAsciiText::SameIgnoringCase(key.name, name))
            return &key;
    return nullptr;
}

// Sets the key's option from `text`; false, and the option untouched, when
// `text` is not one of its values.
bool ParseValue(const Key& key, std::string_view text, Options& options)
{
    return std::visit(Overloaded{
                          [&](CHotkey Options::*member) { return CHotkey::Parse(text, options.*member); },
                          [&](bool Options::*member) {
                              if (text != "0" && text != "1")
                                  return false;
                              options.*member = text == "1";
                              return true;
                          },
                          [&](const NumberField& number) {
                              int value = 0;
                              const char* end = text.data() + text.size();
                              const auto result = std::from_chars(text.data(), end, value);
                              if (result.ec != std::errc() || result.ptr != end || !number.allowed(value))
                                  return false;
                              options.*number.member = value;
                              return true;
                          },
                      },
                      key.field);
}

std::string FormatValue(const Key& key, const Options& options)
{
    return std::visit(Overloaded{
                          [&](CHotkey Options::*member) { return (options.*member).Text(); },
                          [&](bool Options::*member) { return std::string(options.*member ? "1" : "0"); },
                          [&](const NumberField& number) { return std::to_string(options.*number.member); },
                      },
                      key.field);
}

// Where a known key's value sits in its line; `key` is null for every other
// line (comments, blank lines, unknown keys, text without '=').
struct KeyLine {
    const Key* key = nullptr;
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
};

KeyLine FindKey(std::string_view line)
{
    const std::string_view content = line.substr(0, line.find('#'));
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos)
        return {};
    const Key* key = KeyNamed(CAsciiText::Trim(content.substr(0, equals)));
    if (!key)
        return {};
    const std::string_view value = CAsciiText::Trim(content.substr(equals + 1));
    const auto begin = static_cast<std::size_t>(value.data() - line.data());
    return {key, begin, begin + value.size()};
}

} // namespace

void COptionsFile::Load(const std::uint8_t* bytes, std::size_t count)
{
    options = Options{};
    m_Lines.clear();
    m_LineEnd = "\r\n";
    m_ByteOrderMark = false;

    std::string_view text(reinterpret_cast<const char*>(bytes), bytes ? count : 0);
    if (text.size() > kMaxBytes) {
        // A line cut at the limit could read as another value: "fit_to_mb =
        // 12" of "fit_to_mb = 125". Only whole lines count.
        text = text.substr(0, kMaxBytes);
        text = text.substr(0, text.rfind('\n') + 1);
    }
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        m_ByteOrderMark = true;
        text.remove_prefix(kByteOrderMark.size());
    }
    const std::size_t firstEnd = text.find('\n');
    if (firstEnd != std::string_view::npos && (firstEnd == 0 || text[firstEnd - 1] != '\r'))
        m_LineEnd = "\n";

    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        // Every CR at the end: one left behind would end the line again when
        // it is written back with LF.
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_Lines.emplace_back(line);
        const KeyLine found = FindKey(line);
        if (found.key)
            ParseValue(*found.key, line.substr(found.valueBegin, found.valueEnd - found.valueBegin), options);
    }
}

std::vector<std::uint8_t> COptionsFile::Serialise() const
{
    std::string text(m_ByteOrderMark ? kByteOrderMark : std::string_view());
    if (m_Lines.empty())
        text += "# Pelidore options: one \"key = value\" a line; '#' starts a comment." + m_LineEnd;
    std::vector<bool> present(std::size(kKeys), false);
    for (const std::string& line : m_Lines)
        text += Rewritten(line, present) + m_LineEnd;
    for (std::size_t i = 0; i < std::size(kKeys); ++i)
        if (!present[i])
            text += std::string(kKeys[i].name) + " = " + FormatValue(kKeys[i], options) + m_LineEnd;
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::string COptionsFile::Rewritten(const std::string& line, std::vector<bool>& present) const
{
    const KeyLine found = FindKey(line);
    if (!found.key)
        return line;
    present[static_cast<std::size_t>(found.key - kKeys)] = true;

    const std::string value = FormatValue(*found.key, options);
    // A value spelt another way ("ctrl+shift+f9", "03") stays as written.
    Options written = options;
    const std::string_view current(line.data() + found.valueBegin, found.valueEnd - found.valueBegin);
    if (ParseValue(*found.key, current, written) && FormatValue(*found.key, written) == value)
        return line;
    const bool afterEquals = found.valueBegin > 0 && line[found.valueBegin - 1] == '=';
    return line.substr(0, found.valueBegin) + (afterEquals ? " " : "") + value + line.substr(found.valueEnd);
}

bool COptionsFile::Read(const std::filesystem::path& file)
{
    std::vector<std::uint8_t> bytes;
    // One byte more than is taken tells Load the file went on.
    const bool read = CSettingsFile::Read(file, kMaxBytes + 1, bytes);
    Load(bytes);
    return read;
}

bool COptionsFile::Write(const std::filesystem::path& file) const
{
    return CSettingsFile::Write(file, Serialise());
}

bool COptionsFile::Same(const Options& a, const Options& b)
{
    for (const Key& key : kKeys)
        if (FormatValue(key, a) != FormatValue(key, b))
            return false;
    return true;
}

} // namespace pelidore
