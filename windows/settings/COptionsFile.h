#pragma once

#include "Options.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pelidore {

// options.ini: UTF-8 text beside config.dat, one "key = value" a line, '#'
// starting a comment. People edit it by hand as well as through the program,
// so a rewrite keeps every line it does not own (comments, blank lines, keys
// of other versions) where it was, touches the line of a known key only when
// its value changes, and appends the keys the file lacks.
class COptionsFile {
public:
    static constexpr const char* kFileName = "options.ini";
    // Far beyond any real options file: the rest of a longer one is not read.
    static constexpr std::size_t kMaxBytes = 64 * 1024;

    Options options;

    // Takes the lines of `bytes` and the values of the known keys. A missing
    // key or a value that does not parse leaves the option at its default;
    // of a key given on several lines, the last that parses counts. LF and
    // CRLF line ends and a UTF-8 byte order mark are accepted. Of a text
    // longer than kMaxBytes only the whole lines within kMaxBytes count.
    void Load(const std::uint8_t* bytes, std::size_t count);
    void Load(const std::vector<std::uint8_t>& bytes) { Load(bytes.data(), bytes.size()); }

    // The loaded lines with `options` written in, in their line ends (CRLF
    // for a new file) and with the byte order mark if the file had one. An
    // option set outside its values is written as it is and reads back as
    // its default.
    std::vector<std::uint8_t> Serialise() const;

    // Loads `file`; one that is missing or cannot be read loads as an empty
    // file does, every option at its default. Returns whether it was read.
    bool Read(const std::filesystem::path& file);
    // Replaces `file` with Serialise() through CSettingsFile, so a failed or
    // interrupted write leaves the previous file whole.
    bool Write(const std::filesystem::path& file) const;

    static bool Same(const Options& a, const Options& b);

private:
    std::string Rewritten(const std::string& line, std::vector<bool>& present) const;

    std::vector<std::string> m_Lines;
    std::string m_LineEnd = "\r\n";
    bool m_ByteOrderMark = false;
};

} // namespace pelidore
