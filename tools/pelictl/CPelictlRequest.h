#pragma once
// What pelictl was asked to do, and when the frame's state says it is done.
// No Windows header: parsed and judged the same way in the native tests.
#include <string>
#include <vector>

namespace pelidore {

enum class PelictlAction {
    Record,
    Stop,
    Pause,
    Resume,
    Snapshot,
    Setup,
    Logo,
    About,
    Minimize,
    OpenFolder,
    Quit,
    WaitIdle,
    State,
    ReviewRange,
    ReviewDelete,
    ReviewSave,
    ReviewDiscard,
};

enum class PelictlProgress { Waiting, Done, Failed };

struct PelictlRequest {
    PelictlAction action = PelictlAction::State;
    unsigned timeoutMs = 0;
    int first = 0; // review-range and review-delete: frames counted from 1
    int last = 0;
};

class CPelictlRequest {
public:
    static constexpr unsigned kDefaultTimeoutMs = 60000;

    // pelictl [--timeout SECONDS] ACTION [FIRST LAST]
    static bool Parse(const std::vector<std::string>& args, PelictlRequest& request, std::string& error);
    static std::string Usage();

    // Whether the action needs a command posted at all in the given state:
    // record while recording, or stop while idle, is already done.
    static bool NeedsCommand(PelictlAction action, unsigned state);
    // Whether the frame is ready to take the action's command: a new
    // recording waits for a save under way to finish.
    static bool ReadyFor(PelictlAction action, unsigned state);
    // The command message the action posts; false for actions that post none.
    static bool CommandFor(const PelictlRequest& request, unsigned& command, long long& argument);
    // After the command was posted: has it taken effect?
    static PelictlProgress ProgressOf(PelictlAction action, unsigned state);

    static std::string StateName(unsigned state);
};

} // namespace pelidore
