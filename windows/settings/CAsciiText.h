#pragma once

#include <string_view>

namespace pelidore {

// The little text handling a hand-edited settings file needs: its names and
// values are ASCII, whatever else its lines hold.
class CAsciiText {
public:
    // Without the blanks (spaces and tabs) at either end.
    static std::string_view Trim(std::string_view text);
    static bool SameIgnoringCase(std::string_view a, std::string_view b);
    static char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
};

} // namespace pelidore
