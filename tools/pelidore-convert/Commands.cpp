#include "Commands.h"

#include "Cli.h"
#include "EncodeCommand.h"
#include "FrameStoreCommands.h"
#include "PelidoreVersion.h"
#include "RepairGifCommand.h"

#include <cstdio>
#include <cstring>

namespace pelidore {

namespace {

const ConvertCommand kCommands[] = {
    {"encode", RunEncodeCommand, "raw frames (WxHx3, blue-green-red, bottom row first) to an animated GIF"},
    {"store", RunStoreCommand, "raw frames to a frame store (temp.dat)"},
    {"gif", RunGifCommand, "a frame store to an animated GIF"},
    {"raw", RunRawCommand, "a frame store back to raw frames"},
    {"info", RunInfoCommand, "what a frame store holds"},
    {"recover", RunRecoverCommand, "repair a frame store left by a program that died while recording"},
    {"repair-gif", RunRepairGifCommand, "give a GIF cut short by a crash its trailer, after its last whole frame"},
    {nullptr, nullptr, nullptr},
};

void PrintUsage(std::FILE* out)
{
    std::fprintf(out, "usage: pelidore-convert COMMAND ARGUMENTS...\ncommands:\n");
    for (const ConvertCommand* c = kCommands; c->name != nullptr; ++c) {
        std::fprintf(out, "  %-10s %s\n", c->name, c->summary);
    }
    std::fprintf(out, "  %-10s %s\n", "--version", "the version of this program");
}

} // namespace

const ConvertCommand* ConvertCommands()
{
    return kCommands;
}

int RunConvert(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "pelidore-convert: missing command (try: pelidore-convert help)\n");
        return cli::kExitUsage;
    }
    const char* name = argv[1];
    if (std::strcmp(name, "help") == 0 || std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0) {
        PrintUsage(stdout);
        return cli::kExitOk;
    }
    if (std::strcmp(name, "--version") == 0) {
        std::printf("pelidore-convert %s\n", PELIDORE_VERSION_STRING);
        return cli::kExitOk;
    }
    for (const ConvertCommand* c = kCommands; c->name != nullptr; ++c) {
        if (std::strcmp(c->name, name) == 0) {
            return c->run(argc - 1, argv + 1);
        }
    }
    std::fprintf(stderr, "pelidore-convert: unknown command \"%s\" (try: pelidore-convert help)\n", name);
    return cli::kExitUsage;
}

} // namespace pelidore
