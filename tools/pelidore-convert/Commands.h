// The subcommand table of pelidore-convert. Adding a subcommand is one line
// in Commands.cpp (and, for the frame store's commands, nothing at all: they
// are picked up when FrameStoreCommands.h exists).
#pragma once

#include <cstddef>

namespace pelidore {

struct ConvertCommand {
    const char* name;
    int (*run)(int argc, char** argv); // argv[0] is the subcommand's name
    const char* summary;
};

// The table, ending with an entry whose name is null.
const ConvertCommand* ConvertCommands();

// The whole tool: argv[0] is the program, argv[1] the subcommand.
int RunConvert(int argc, char** argv);

} // namespace pelidore
