#include "EncodeCommand.h"

#include "Cli.h"
#include "GifOutput.h"
#include "RawFrameInput.h"

#include <cstdio>
#include <string>

namespace pelidore {

namespace {

const char kUsage[] =
    "encode --size WxH [--delay SECONDS] [--quality N] [--dithering] [--transparency] [--smaller] IN.raw OUT.gif";

int Encode(int argc, char** argv)
{
    cli::ArgParser args;
    args.Value("--size").Value("--delay");
    GifOutput::DeclareOptions(args);
    args.Parse(argc, argv);
    args.ExpectPositionals(2, 2);
    const cli::FrameSize size = cli::ParseFrameSize(args.Required("--size"));
    const float delay = args.Get("--delay") ? cli::ParseSeconds(*args.Get("--delay"), "--delay") : 0.1f;
    const std::string& inName = args.Positionals()[0];
    const std::string& outName = args.Positionals()[1];
    GifOutput gif(args, outName);

    RawFrameInput input(inName, size);
    gif.Start(size.width, size.height);
    const std::uint64_t frames = input.Pump(
        "encode", [&](const std::uint8_t* pixels, std::uint64_t) { gif.Push(pixels, delay); }, [&] { gif.Discard(); });
    gif.Finish();
    std::printf("%s: %llu frames, %llu bytes\n", outName.c_str(), static_cast<unsigned long long>(frames),
                static_cast<unsigned long long>(gif.FileBytes()));
    return cli::kExitOk;
}

} // namespace

int RunEncodeCommand(int argc, char** argv)
{
    return cli::RunCli("encode", kUsage, [&] { return Encode(argc, argv); });
}

} // namespace pelidore
