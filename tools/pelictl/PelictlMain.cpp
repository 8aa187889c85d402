// pelictl: drives a running Pelidore from a script (tests, demos).
// Exit codes: 0 done, 1 failed or timed out, 2 wrong usage.
#include "CPelictlRequest.h"
#include "CPelidoreLink.h"

#include <cstdio>
#include <string>
#include <vector>

namespace pelidore {

using pelidore::CPelictlRequest;
using pelidore::CPelidoreLink;
using pelidore::PelictlAction;
using pelidore::PelictlProgress;
using pelidore::PelictlRequest;

namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "pelictl: %s\n", message.c_str());
    return 1;
}

int RunCommand(const CPelidoreLink& link, const PelictlRequest& request)
{
    unsigned state = 0;
    const auto ready = [&request](unsigned s) { return CPelictlRequest::ReadyFor(request.action, s); };
    if (!link.WaitForState(ready, request.timeoutMs, state))
        return Fail("Pelidore is " + CPelictlRequest::StateName(state) + ", not ready");
    if (CPelictlRequest::NeedsCommand(request.action, state)) {
        unsigned command = 0;
        long long argument = 0;
        if (CPelictlRequest::CommandFor(request, command, argument) && !link.Post(command, argument))
            return Fail("cannot post the command to Pelidore");
    }
    PelictlProgress progress = PelictlProgress::Waiting;
    const auto settled = [&](unsigned s) {
        progress = CPelictlRequest::ProgressOf(request.action, s);
        return progress != PelictlProgress::Waiting;
    };
    if (!link.WaitForState(settled, request.timeoutMs, state))
        return Fail("timed out; Pelidore is " + CPelictlRequest::StateName(state));
    if (progress == PelictlProgress::Failed)
        return Fail("Pelidore did not follow; it is " + CPelictlRequest::StateName(state));
    return 0;
}

} // namespace

} // namespace pelidore

using namespace pelidore;

int main(int argc, char** argv)
{
    PelictlRequest request;
    std::string error;
    if (!CPelictlRequest::Parse(std::vector<std::string>(argv + 1, argv + argc), request, error)) {
        std::fprintf(stderr, "pelictl: %s\n%s\n", error.c_str(), CPelictlRequest::Usage().c_str());
        return 2;
    }
    CPelidoreLink link;
    if (!link.WaitForFrame(request.timeoutMs))
        return Fail("no running Pelidore found");
    if (request.action == PelictlAction::Quit)
        return link.CloseAndWait(request.timeoutMs) ? 0 : Fail("Pelidore did not quit in time");
    if (request.action == PelictlAction::State) {
        unsigned state = 0;
        if (!link.QueryState(state))
            return Fail("Pelidore does not answer");
        std::printf("%s\n", CPelictlRequest::StateName(state).c_str());
        return 0;
    }
    return RunCommand(link, request);
}
