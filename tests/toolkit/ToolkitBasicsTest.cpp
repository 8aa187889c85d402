#include "CNColor.h"
#include "CNLog.h"
#include "CNMessageMap.h"
#include "LogCapture.h"
#include "SourceLine.h"

#include <gtest/gtest.h>

#include <string>

namespace pelidore {

namespace {

TEST(CNLogTest, LineHasFunctionLineAndMessage)
{
    LogCapture log;
    CNLog::Write("CNThing::Do", 42, CNLog::kLevelRefused, "value %d of %s", 7, "eight");
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "[CNThing::Do, 42]   value 7 of eight\n");
}

TEST(CNLogTest, MacroUsesTheCallersLine)
{
    LogCapture log;
    NLOG("Here", CNLog::kLevelCreateFailed, "x");
    const int line = __LINE__ - 1;
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "[Here, " + std::to_string(line) + "]   x\n");
}

TEST(CNLogTest, LevelsAboveFiveAreDropped)
{
    LogCapture log;
    CNLog::Write("F", 1, 5, "kept");
    CNLog::Write("F", 1, 6, "dropped");
    CNLog::Write("F", 1, 6, L"dropped %ls", L"too");
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "[F, 1]   kept\n");
}

TEST(CNLogTest, WideMessageArrivesAsNarrowText)
{
    LogCapture log;
    CNLog::Write("CNBitmap::Load", 9, CNLog::kLevelRefused, L"cannot load file : %ls", L"C:\\pics\\a.png");
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0], "[CNBitmap::Load, 9]   cannot load file : C:\\pics\\a.png\n");
}

TEST(CNLogTest, OverlongMessagesAreCutNotOverflowed)
{
    LogCapture log;
    const std::string narrow(5000, 'n');
    const std::wstring wide(5000, L'w');
    CNLog::Write("F", 1, 2, "%s", narrow.c_str());
    CNLog::Write("F", 1, 2, L"%ls", wide.c_str());
    ASSERT_EQ(log.Lines().size(), 2u);
    const std::string prefix = "[F, 1]   ";
    for (const std::string& line : log.Lines()) {
        ASSERT_EQ(line.compare(0, prefix.size(), prefix), 0);
        EXPECT_EQ(line.back(), '\n');
        const std::string message = line.substr(prefix.size(), line.size() - prefix.size() - 1);
        EXPECT_EQ(message.size(), static_cast<size_t>(CNLog::kBufferChars - 1));
        EXPECT_EQ(message.find_first_not_of(message[0]), std::string::npos);
    }
}

TEST(CNLogTest, NullSinkRestoresTheDebuggerSink)
{
    CNLog::Sink before = CNLog::GetSink();
    {
        LogCapture log;
        EXPECT_NE(CNLog::GetSink(), before);
    }
    EXPECT_EQ(CNLog::GetSink(), before);
}

class CountingMap : public CNMessageMap {
public:
    LRESULT First(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 1; }
    LRESULT Second(WPARAM, LPARAM) { return 99; }
};

TEST(CNMessageMapTest, DispatchCallsTheRegisteredMemberFunction)
{
    CountingMap map;
    ASSERT_EQ(map.AddMessageFunc(WM_LBUTTONDOWN, &CountingMap::First), 0);
    EXPECT_EQ(map.DispatchMap(WM_LBUTTONDOWN, 41, 0), 42);
    EXPECT_EQ(map.DispatchMap(WM_LBUTTONUP, 41, 0), 0);
    EXPECT_TRUE(map.HasMessageFunc(WM_LBUTTONDOWN));
    EXPECT_FALSE(map.HasMessageFunc(WM_LBUTTONUP));
}

TEST(CNMessageMapTest, SecondRegistrationIsRefusedAndFirstStays)
{
    LogCapture log;
    CountingMap map;
    ASSERT_EQ(map.AddMessageFunc(WM_LBUTTONDOWN, &CountingMap::First), 0);
    EXPECT_EQ(map.AddMessageFunc(WM_LBUTTONDOWN, &CountingMap::Second), E_FAIL);
    EXPECT_EQ(map.DispatchMap(WM_LBUTTONDOWN, 1, 0), 2);
    const int line = SourceLineOf("toolkit/CNMessageMap.cpp", "\"already added message function");
    ASSERT_GT(line, 0);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0],
              "[CNMessageMap::AddMessageFunc, " + std::to_string(line) + "]   already added message function 513\n");
}

TEST(CNColorTest, PackedValueIsAlphaRedGreenBlue)
{
    CNColor color(0x80, 0x11, 0x22, 0x33);
    EXPECT_EQ(color.Argb(), 0x80112233u);
    CNColor copy = CNColor::FromArgb(0x80112233u);
    EXPECT_EQ(copy, color);
    EXPECT_EQ(copy.Alpha(), 0x80);
    EXPECT_EQ(copy.Red(), 0x11);
    EXPECT_EQ(copy.Green(), 0x22);
    EXPECT_EQ(copy.Blue(), 0x33);
}

} // namespace

} // namespace pelidore
