#include "CFolderText.h"

#include <algorithm>
#include <string>

namespace pelidore {

namespace {

const std::u16string_view kLongPathPrefix = u"\\\\?\\";
const std::u16string_view kLongPathShare = u"UNC\\";

bool StartsWith(std::u16string_view text, std::u16string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

bool CFolderText::IsFullPath(std::wstring_view text)
{
    std::u16string units(text.size(), u'\0');
    std::transform(text.begin(), text.end(), units.begin(), [](wchar_t unit) { return static_cast<char16_t>(unit); });
    return IsFullPath(std::u16string_view(units));
}

bool CFolderText::IsFullPath(std::u16string_view text)
{
    if (StartsWith(text, kLongPathPrefix)) {
        text.remove_prefix(kLongPathPrefix.size());
        if (StartsWith(text, kLongPathShare)) {
            const std::u16string_view share = text.substr(kLongPathShare.size());
            return IsShare(share) && HoldsOnlyNameCharacters(share);
        }
        return IsDriveRoot(text) && HoldsOnlyNameCharacters(text.substr(2));
    }
    if (IsDriveRoot(text)) {
        return HoldsOnlyNameCharacters(text.substr(2));
    }
    return text.size() > 2 && IsSeparator(text[0]) && IsSeparator(text[1]) && IsShare(text.substr(2)) &&
           HoldsOnlyNameCharacters(text);
}

bool CFolderText::IsSeparator(char16_t c)
{
    return c == u'\\' || c == u'/';
}

bool CFolderText::IsDriveRoot(std::u16string_view text)
{
    if (text.size() < 3) {
        return false;
    }
    const auto letter = static_cast<char16_t>(text[0] & ~0x20); // upper case
    return letter >= u'A' && letter <= u'Z' && text[1] == u':' && IsSeparator(text[2]);
}

// "server\share" with more after it or not: two names that are not empty.
bool CFolderText::IsShare(std::u16string_view text)
{
    const std::size_t server = text.find_first_of(u"\\/");
    if (server == 0 || server == std::u16string_view::npos || text.substr(0, server) == u"." ||
        text.substr(0, server) == u"?") {
        return false;
    }
    const std::u16string_view rest = text.substr(server + 1);
    return !rest.empty() && !IsSeparator(rest[0]);
}

bool CFolderText::HoldsOnlyNameCharacters(std::u16string_view text)
{
    for (const char16_t c : text) {
        if (c < 0x20 || std::u16string_view(u"<>\"|?*:").find(c) != std::u16string_view::npos) {
            return false;
        }
    }
    return true;
}

} // namespace pelidore
