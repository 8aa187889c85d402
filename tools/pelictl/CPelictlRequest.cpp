#include "CPelictlRequest.h"

#include "PelidoreCommands.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

namespace pelidore {

namespace {

const std::pair<const char*, PelictlAction> kActions[] = {
    {"record", PelictlAction::Record},     {"stop", PelictlAction::Stop},
    {"snapshot", PelictlAction::Snapshot}, {"setup", PelictlAction::Setup},
    {"logo", PelictlAction::Logo},         {"about", PelictlAction::About},
    {"minimize", PelictlAction::Minimize}, {"open-folder", PelictlAction::OpenFolder},
    {"quit", PelictlAction::Quit},         {"wait-idle", PelictlAction::WaitIdle},
    {"state", PelictlAction::State},       {"pause", PelictlAction::Pause},
    {"resume", PelictlAction::Resume},     {"review-range", PelictlAction::ReviewRange},
    {"review-delete", PelictlAction::ReviewDelete}, {"review-save", PelictlAction::ReviewSave},
    {"review-discard", PelictlAction::ReviewDiscard},
};

bool TakesRange(PelictlAction action)
{
    return action == PelictlAction::ReviewRange || action == PelictlAction::ReviewDelete;
}

bool IsReviewAction(PelictlAction action)
{
    return TakesRange(action) || action == PelictlAction::ReviewSave || action == PelictlAction::ReviewDiscard;
}

bool ParseFrameNumber(const std::string& text, int& frame)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    frame = std::atoi(text.c_str());
    return frame >= 1;
}

bool ParseSeconds(const std::string& text, unsigned& milliseconds)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const double seconds = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !(seconds > 0.0) || seconds > 86400.0)
        return false;
    milliseconds = static_cast<unsigned>(seconds * 1000.0);
    return milliseconds > 0;
}

bool FindAction(const std::string& name, PelictlAction& action)
{
    for (const auto& [actionName, value] : kActions) {
        if (name == actionName) {
            action = value;
            return true;
        }
    }
    return false;
}

bool IsBusy(unsigned state)
{
    return (state & (STATE_RECORDING | STATE_SAVING | STATE_COMMANDS_PENDING | STATE_COUNTING_DOWN |
                     STATE_REVIEWING)) != 0;
}

bool CommandsPending(unsigned state)
{
    return (state & STATE_COMMANDS_PENDING) != 0;
}

bool Recording(unsigned state)
{
    return (state & STATE_RECORDING) != 0;
}

bool Paused(unsigned state)
{
    return (state & STATE_PAUSED) != 0;
}

bool CountingDown(unsigned state)
{
    return (state & STATE_COUNTING_DOWN) != 0;
}

bool Reviewing(unsigned state)
{
    return (state & STATE_REVIEWING) != 0;
}

} // namespace

bool CPelictlRequest::Parse(const std::vector<std::string>& args, PelictlRequest& request, std::string& error)
{
    request = PelictlRequest{};
    request.timeoutMs = kDefaultTimeoutMs;
    bool haveAction = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--timeout") {
            if (i + 1 >= args.size() || !ParseSeconds(args[i + 1], request.timeoutMs)) {
                error = "--timeout needs a number of seconds";
                return false;
            }
            ++i;
        } else if (haveAction) {
            error = "one action at a time, got '" + arg + "' as well";
            return false;
        } else if (!FindAction(arg, request.action)) {
            error = "unknown action '" + arg + "'";
            return false;
        } else {
            haveAction = true;
            if (TakesRange(request.action)) {
                if (i + 2 >= args.size() || !ParseFrameNumber(args[i + 1], request.first) ||
                    !ParseFrameNumber(args[i + 2], request.last) || request.first > request.last) {
                    error = arg + " needs FIRST LAST, frame numbers from 1 with FIRST <= LAST";
                    return false;
                }
                i += 2;
            }
        }
    }
    if (!haveAction) {
        error = "no action given";
        return false;
    }
    return true;
}

std::string CPelictlRequest::Usage()
{
    return "usage: pelictl [--timeout SECONDS] "
           "record|stop|pause|resume|snapshot|setup|logo|about|minimize|open-folder|quit|wait-idle|state|"
           "review-save|review-discard\n"
           "       pelictl [--timeout SECONDS] review-range|review-delete FIRST LAST";
}

bool CPelictlRequest::NeedsCommand(PelictlAction action, unsigned state)
{
    switch (action) {
    case PelictlAction::Record:
        return !Recording(state) && !CountingDown(state);
    case PelictlAction::Stop:
        return Recording(state) || CountingDown(state);
    case PelictlAction::Pause:
        return Recording(state) && !Paused(state);
    case PelictlAction::Resume:
        return Paused(state);
    case PelictlAction::WaitIdle:
    case PelictlAction::State:
        return false;
    default:
        return true;
    }
}

bool CPelictlRequest::ReadyFor(PelictlAction action, unsigned state)
{
    if (CommandsPending(state))
        return false;
    if (action == PelictlAction::Record)
        return (state & STATE_SAVING) == 0 && !Reviewing(state);
    // A review opens as the recording stops; the script waits for it.
    if (IsReviewAction(action))
        return Reviewing(state);
    return true;
}

bool CPelictlRequest::CommandFor(const PelictlRequest& request, unsigned& command, long long& argument)
{
    argument = 0;
    switch (request.action) {
    case PelictlAction::Record:
        command = CMD_TOGGLE_RECORDING;
        argument = RECORD_START;
        return true;
    case PelictlAction::Stop:
        command = CMD_TOGGLE_RECORDING;
        argument = RECORD_STOP;
        return true;
    case PelictlAction::Pause:
        command = CMD_PAUSE;
        argument = PAUSE_ON;
        return true;
    case PelictlAction::Resume:
        command = CMD_PAUSE;
        argument = PAUSE_OFF;
        return true;
    case PelictlAction::Snapshot:
        command = CMD_SNAPSHOT;
        return true;
    case PelictlAction::Setup:
        command = CMD_TOGGLE_SETUP;
        return true;
    case PelictlAction::Logo:
        command = CMD_TOGGLE_LOGO;
        return true;
    case PelictlAction::About:
        command = CMD_TOGGLE_ABOUT;
        return true;
    case PelictlAction::Minimize:
        command = CMD_MINIMIZE;
        return true;
    case PelictlAction::OpenFolder:
        command = CMD_OPEN_WORK_FOLDER;
        return true;
    case PelictlAction::ReviewRange:
    case PelictlAction::ReviewDelete:
        command = request.action == PelictlAction::ReviewRange ? CMD_REVIEW_RANGE : CMD_REVIEW_DELETE;
        argument = ReviewRangeArgument(request.first, request.last);
        return true;
    case PelictlAction::ReviewSave:
        command = CMD_REVIEW_SAVE;
        return true;
    case PelictlAction::ReviewDiscard:
        command = CMD_REVIEW_DISCARD;
        return true;
    case PelictlAction::Quit:
    case PelictlAction::WaitIdle:
    case PelictlAction::State:
        return false;
    }
    return false;
}

PelictlProgress CPelictlRequest::ProgressOf(PelictlAction action, unsigned state)
{
    if (action == PelictlAction::WaitIdle)
        return IsBusy(state) ? PelictlProgress::Waiting : PelictlProgress::Done;
    if (CommandsPending(state))
        return PelictlProgress::Waiting;
    switch (action) {
    case PelictlAction::Record:
        // The frame refuses to start when it cannot create the output; a
        // countdown ends in the recording (or in a stop).
        if (CountingDown(state))
            return PelictlProgress::Waiting;
        return Recording(state) ? PelictlProgress::Done : PelictlProgress::Failed;
    case PelictlAction::Stop:
        return Recording(state) || CountingDown(state) ? PelictlProgress::Failed : PelictlProgress::Done;
    case PelictlAction::Pause:
        return Paused(state) ? PelictlProgress::Done : PelictlProgress::Failed;
    case PelictlAction::Resume:
        return Paused(state) ? PelictlProgress::Failed : PelictlProgress::Done;
    case PelictlAction::ReviewRange:
    case PelictlAction::ReviewDelete:
        return Reviewing(state) ? PelictlProgress::Done : PelictlProgress::Failed;
    case PelictlAction::ReviewSave:
    case PelictlAction::ReviewDiscard:
        return Reviewing(state) ? PelictlProgress::Failed : PelictlProgress::Done;
    default:
        return PelictlProgress::Done;
    }
}

std::string CPelictlRequest::StateName(unsigned state)
{
    if ((state & STATE_ANSWERED) == 0)
        return "not answering";
    if (Paused(state))
        return "paused";
    if (Recording(state))
        return "recording";
    if (CountingDown(state))
        return "counting-down";
    if ((state & STATE_SAVING) != 0)
        return "saving";
    if (Reviewing(state))
        return "reviewing";
    return CommandsPending(state) ? "busy" : "idle";
}

} // namespace pelidore
