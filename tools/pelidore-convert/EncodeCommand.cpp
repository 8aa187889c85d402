#include "EncodeCommand.h"

#include "CFitPasses.h"
#include "CFittedFrames.h"
#include "Cli.h"
#include "GifOutput.h"
#include "RawFrameInput.h"

#include <cstdio>
#include <string>

namespace pelidore {

namespace {

const char kUsage[] =
    "encode --size WxH [--delay SECONDS] [--quality N] [--dithering] [--transparency] [--smaller] [--fit-mb N] IN.raw "
    "OUT.gif";

// --fit-mb: whole trial passes over IN.raw with "Smaller files", dropping
// frames and then scaling until the GIF fits (see CFitPasses).
std::uint64_t EncodeToFit(const std::string& inName, const cli::FrameSize& size, float delay, const GifOutput& gif,
                          std::uint64_t limit)
{
    std::uint64_t frames = 0;
    const auto pass = [&](const FitStep& step, const std::filesystem::path& path) {
        CFitPasses::PassResult result;
        GifExporter exporter;
        exporter.SetSmallerFiles(true);
        CFittedFrames fitted(size.width, size.height, step, [&](const std::uint8_t* pixels, float seconds) {
            exporter.PushFrame(pixels, true, seconds);
        });
        if (!gif.StartOther(exporter, fitted.OutWidth(), fitted.OutHeight(), path))
            return result;
        RawFrameInput input(cli::PathFromArg(inName).string(), size);
        frames = input.Pump(
            "encode", [&](const std::uint8_t* pixels, std::uint64_t) { fitted.Push(pixels, delay); },
            [&] {
                exporter.Stop();
                cli::RemoveQuietly(path);
            });
        fitted.Finish();
        result.written = exporter.Stop();
        result.frames = static_cast<int>(frames);
        result.seconds = static_cast<double>(frames) * delay;
        return result;
    };
    CFitPasses passes(limit);
    switch (passes.Run(gif.Path(), pass)) {
    case CFitPasses::Result::Fitted:
        break;
    case CFitPasses::Result::CannotFit:
        throw cli::Failure("cannot fit the frames in " + std::to_string(limit / FitStep::kMebibyte) + " MB");
    case CFitPasses::Result::Stopped:
        throw cli::Failure("writing the GIF failed");
    }
    const std::wstring given =
        FitStep::Describe(passes.Step().KeptFps(passes.RecordedFps()), passes.Step().scalePercent);
    std::printf("fitted in %d passes%s%s\n", passes.Passes(), given.empty() ? "" : ": ",
                std::string(given.begin(), given.end()).c_str());
    return frames;
}

int Encode(int argc, char** argv)
{
    cli::ArgParser args;
    args.Value("--size").Value("--delay").Value("--fit-mb");
    GifOutput::DeclareOptions(args);
    args.Parse(argc, argv);
    args.ExpectPositionals(2, 2);
    const cli::FrameSize size = cli::ParseFrameSize(args.Required("--size"));
    const float delay = args.Get("--delay") ? cli::ParseSeconds(*args.Get("--delay"), "--delay") : 0.1f;
    const std::string& inName = args.Positionals()[0];
    const std::string& outName = args.Positionals()[1];
    GifOutput gif(args, outName);

    if (const auto fit = args.Get("--fit-mb")) {
        const long long mb = cli::ParseInteger(*fit, "--fit-mb", 1, 999);
        if (inName == "-")
            throw cli::UsageError("--fit-mb reads IN.raw more than once: it must be a file");
        const std::uint64_t frames =
            EncodeToFit(inName, size, delay, gif, static_cast<std::uint64_t>(mb) * FitStep::kMebibyte);
        std::printf("%s: %llu frames, %llu bytes\n", outName.c_str(), static_cast<unsigned long long>(frames),
                    static_cast<unsigned long long>(gif.FileBytes()));
        return cli::kExitOk;
    }

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
