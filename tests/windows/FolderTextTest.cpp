#include "CFolderText.h"

#include <gtest/gtest.h>

#include <string>

namespace pelidore {

namespace {

std::string Narrow(std::u16string_view text)
{
    return std::string(text.begin(), text.end()); // for messages: the tests use ASCII
}

} // namespace

TEST(FolderText, DriveRootsAndSharesAreFullPaths)
{
    for (const std::u16string_view text :
         {u"C:\\", u"c:\\Recordings", u"D:\\a b\\c.d\\", u"Z:/Recordings/2024", u"\\\\server\\share",
          u"\\\\server\\share\\Recordings", u"//server/share", u"\\\\?\\C:\\Recordings",
          u"\\\\?\\UNC\\server\\share\\x", u"C:\\R\u00e9cordings\\\u5f55\u50cf"}) {
        EXPECT_TRUE(CFolderText::IsFullPath(text)) << Narrow(text);
    }
}

TEST(FolderText, RelativeDeviceAndGarbledTextIsNot)
{
    const std::u16string withZero(u"C:\\a\0b", 6);
    for (const std::u16string_view text : {u"",
                                           u"Recordings",
                                           u"\\Recordings",
                                           u"/Recordings",
                                           u"C:",
                                           u"C:Recordings",
                                           u"1:\\x",
                                           u"\\\\server",
                                           u"\\\\server\\",
                                           u"\\\\\\share",
                                           u"\\\\.\\COM1",
                                           u"\\\\?\\",
                                           u"\\\\?\\Recordings",
                                           u"\\\\?\\UNC\\server",
                                           u"C:\\a|b",
                                           u"C:\\a*",
                                           u"C:\\a:b",
                                           u"C:\\a\tb",
                                           u"\\\\server\\share\\a?b",
                                           u"\x0001\x00ff\\\\"}) {
        EXPECT_FALSE(CFolderText::IsFullPath(text)) << Narrow(text);
    }
    EXPECT_FALSE(CFolderText::IsFullPath(withZero));
}

} // namespace pelidore
