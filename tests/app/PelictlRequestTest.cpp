#include "CPelictlRequest.h"
#include "PelidoreCommands.h"

#include <gtest/gtest.h>

using namespace pelidore;

namespace {

constexpr unsigned kIdle = STATE_ANSWERED;
constexpr unsigned kRecording = STATE_ANSWERED | STATE_RECORDING;
constexpr unsigned kSaving = STATE_ANSWERED | STATE_SAVING;
constexpr unsigned kPending = STATE_ANSWERED | STATE_COMMANDS_PENDING;
constexpr unsigned kReviewing = STATE_ANSWERED | STATE_REVIEWING;

PelictlRequest Parsed(std::vector<std::string> args)
{
    PelictlRequest request;
    std::string error;
    EXPECT_TRUE(CPelictlRequest::Parse(args, request, error)) << error;
    return request;
}

std::string ParseError(std::vector<std::string> args)
{
    PelictlRequest request;
    std::string error;
    EXPECT_FALSE(CPelictlRequest::Parse(args, request, error));
    return error;
}

} // namespace

TEST(PelictlRequest, ParsesOneActionAndAnOptionalTimeout)
{
    EXPECT_EQ(Parsed({"record"}).action, PelictlAction::Record);
    EXPECT_EQ(Parsed({"record"}).timeoutMs, CPelictlRequest::kDefaultTimeoutMs);
    const PelictlRequest request = Parsed({"--timeout", "2.5", "wait-idle"});
    EXPECT_EQ(request.action, PelictlAction::WaitIdle);
    EXPECT_EQ(request.timeoutMs, 2500u);
    EXPECT_EQ(Parsed({"open-folder", "--timeout", "1"}).action, PelictlAction::OpenFolder);
}

TEST(PelictlRequest, RefusesWhatItCannotDo)
{
    EXPECT_NE(ParseError({}), "");
    EXPECT_NE(ParseError({"dance"}).find("dance"), std::string::npos);
    EXPECT_NE(ParseError({"record", "stop"}), "");
    EXPECT_NE(ParseError({"record", "--timeout"}), "");
    EXPECT_NE(ParseError({"record", "--timeout", "-3"}), "");
    EXPECT_NE(ParseError({"record", "--timeout", "5s"}), "");
}

TEST(PelictlRequest, RecordAndStopAreNotTogglesFromTheScriptsSide)
{
    EXPECT_TRUE(CPelictlRequest::NeedsCommand(PelictlAction::Record, kIdle));
    EXPECT_FALSE(CPelictlRequest::NeedsCommand(PelictlAction::Record, kRecording));
    EXPECT_TRUE(CPelictlRequest::NeedsCommand(PelictlAction::Stop, kRecording));
    EXPECT_FALSE(CPelictlRequest::NeedsCommand(PelictlAction::Stop, kIdle));
    unsigned command = 0;
    long long argument = -1;
    ASSERT_TRUE(CPelictlRequest::CommandFor({PelictlAction::Record}, command, argument));
    EXPECT_EQ(command, CMD_TOGGLE_RECORDING);
    EXPECT_EQ(argument, 1);
    ASSERT_TRUE(CPelictlRequest::CommandFor({PelictlAction::Stop}, command, argument));
    EXPECT_EQ(command, CMD_TOGGLE_RECORDING);
    EXPECT_EQ(argument, 0);
    ASSERT_TRUE(CPelictlRequest::CommandFor({PelictlAction::Snapshot}, command, argument));
    EXPECT_EQ(command, CMD_SNAPSHOT);
    EXPECT_FALSE(CPelictlRequest::CommandFor({PelictlAction::WaitIdle}, command, argument));
}

TEST(PelictlRequest, ANewRecordingWaitsForTheSaveAndForEarlierCommands)
{
    EXPECT_FALSE(CPelictlRequest::ReadyFor(PelictlAction::Record, kSaving));
    EXPECT_FALSE(CPelictlRequest::ReadyFor(PelictlAction::Record, kPending));
    EXPECT_TRUE(CPelictlRequest::ReadyFor(PelictlAction::Record, kIdle));
    EXPECT_TRUE(CPelictlRequest::ReadyFor(PelictlAction::Snapshot, kSaving));
}

TEST(PelictlRequest, ProgressIsJudgedOnlyOnceTheFrameHasHandledTheCommand)
{
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::Record, kPending), PelictlProgress::Waiting);
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::Record, kRecording), PelictlProgress::Done);
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::Record, kIdle), PelictlProgress::Failed);
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::Stop, kSaving), PelictlProgress::Done);
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::Stop, kRecording), PelictlProgress::Failed);
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::WaitIdle, kSaving), PelictlProgress::Waiting);
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::WaitIdle, kRecording), PelictlProgress::Waiting);
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::WaitIdle, kIdle), PelictlProgress::Done);
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::Logo, kIdle), PelictlProgress::Done);
}

TEST(PelictlRequest, StateNames)
{
    EXPECT_EQ(CPelictlRequest::StateName(0), "not answering");
    EXPECT_EQ(CPelictlRequest::StateName(kIdle), "idle");
    EXPECT_EQ(CPelictlRequest::StateName(kRecording), "recording");
    EXPECT_EQ(CPelictlRequest::StateName(kSaving), "saving");
    EXPECT_EQ(CPelictlRequest::StateName(kPending), "busy");
}

TEST(PelictlRequest, ReviewActionsTakeAFrameRangeAndWaitForTheReview)
{
    const PelictlRequest range = Parsed({"review-range", "3", "40"});
    EXPECT_EQ(range.action, PelictlAction::ReviewRange);
    EXPECT_EQ(range.first, 3);
    EXPECT_EQ(range.last, 40);
    EXPECT_NE(ParseError({"review-delete", "5"}), "");
    EXPECT_NE(ParseError({"review-delete", "0", "4"}), "");
    EXPECT_NE(ParseError({"review-range", "9", "4"}), "");
    EXPECT_NE(ParseError({"review-range", "1", "x"}), "");

    unsigned command = 0;
    long long argument = 0;
    ASSERT_TRUE(CPelictlRequest::CommandFor(range, command, argument));
    EXPECT_EQ(command, CMD_REVIEW_RANGE);
    EXPECT_EQ(ReviewRangeFirst(argument), 3);
    EXPECT_EQ(ReviewRangeLast(argument), 40);

    EXPECT_FALSE(CPelictlRequest::ReadyFor(PelictlAction::ReviewSave, kIdle));
    EXPECT_TRUE(CPelictlRequest::ReadyFor(PelictlAction::ReviewSave, kReviewing));
    EXPECT_FALSE(CPelictlRequest::ReadyFor(PelictlAction::Record, kReviewing));
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::ReviewRange, kReviewing), PelictlProgress::Done);
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::ReviewSave, kReviewing), PelictlProgress::Failed);
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::ReviewDiscard, kIdle), PelictlProgress::Done);
    EXPECT_EQ(CPelictlRequest::ProgressOf(PelictlAction::WaitIdle, kReviewing), PelictlProgress::Waiting);
    EXPECT_EQ(CPelictlRequest::StateName(kReviewing), "reviewing");
}
