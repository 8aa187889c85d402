#include "RepairGifCommand.h"

#include "Cli.h"
#include "GifRepair.h"

#include <cstdio>
#include <string>

namespace pelidore {

namespace {

const char kUsage[] = "repair-gif FILE";

std::string FramesText(int frames)
{
    return std::to_string(frames) + (frames == 1 ? " frame" : " frames");
}

std::string WhyLeftAlone(GifRepair::Outcome outcome)
{
    switch (outcome) {
    case GifRepair::Outcome::NotGif:
        return "not a GIF";
    case GifRepair::Outcome::NoWholeFrame:
        return "ends before its first frame is whole";
    case GifRepair::Outcome::Damaged:
        return "damaged (not only cut short)";
    default:
        return "cannot be read, or its repaired copy cannot be written beside it";
    }
}

int RepairGif(int argc, char** argv)
{
    cli::ArgParser args;
    args.Parse(argc, argv);
    args.ExpectPositionals(1, 1);
    const std::string& name = args.Positionals()[0];
    const GifRepair::Result result = GifRepair::Repair(cli::PathFromArg(name));
    switch (result.outcome) {
    case GifRepair::Outcome::Repaired:
        std::printf("%s: repaired, %s kept (%llu bytes of a torn frame cut)\n", name.c_str(),
                    FramesText(result.frames).c_str(), static_cast<unsigned long long>(result.bytesDropped));
        return cli::kExitOk;
    case GifRepair::Outcome::Complete:
        std::printf("%s: complete, %s; left as it is\n", name.c_str(), FramesText(result.frames).c_str());
        return cli::kExitOk;
    default:
        throw cli::Failure(name + ": " + WhyLeftAlone(result.outcome) + "; left as it is");
    }
}

} // namespace

int RunRepairGifCommand(int argc, char** argv)
{
    return cli::RunCli("repair-gif", kUsage, [&] { return RepairGif(argc, argv); });
}

} // namespace pelidore
