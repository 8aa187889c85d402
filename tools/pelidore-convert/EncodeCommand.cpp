#include "tools/pelidore-convert/EncodeCommand.h"

#include "gif/GifExporter.h"
#include "tools/pelidore-convert/Cli.h"

#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

namespace {

const char kUsage[] =
    "encode --size WxH [--delay SECONDS] [--quality N] [--dithering] [--transparency] IN.raw OUT.gif";

int Encode(int argc, char** argv)
{
    cli::ArgParser args;
    args.Value("--size").Value("--delay").Value("--quality").Flag("--dithering").Flag("--transparency");
    args.Parse(argc, argv);
    args.ExpectPositionals(2, 2);
    const cli::FrameSize size = cli::ParseFrameSize(args.Required("--size"));
    const float delay = args.Get("--delay") ? cli::ParseSeconds(*args.Get("--delay"), "--delay") : 0.1f;
    const int quality =
        args.Get("--quality") ? static_cast<int>(cli::ParseInteger(*args.Get("--quality"), "--quality", -1, 3)) : 0;
    const bool dithering = args.Has("--dithering");
    const bool transparency = args.Has("--transparency");
    const std::string& inName = args.Positionals()[0];
    const std::string& outName = args.Positionals()[1];
    if (outName == "-") {
        throw cli::UsageError("OUT.gif must be a file, not standard output");
    }

    cli::InputFile input(inName);
    const std::uint64_t frameBytes = size.FrameBytes();
    std::uint64_t total = 0;
    if (input.Size()) {
        if (*input.Size() % frameBytes != 0) {
            throw cli::Failure(inName + " holds " + std::to_string(*input.Size()) + " bytes, not a whole number of " +
                               std::to_string(size.width) + "x" + std::to_string(size.height) + " frames (" +
                               std::to_string(frameBytes) + " bytes each)");
        }
        total = *input.Size() / frameBytes;
    }

    const std::filesystem::path outPath = cli::PathFromArg(outName);
    GifExporter exporter;
    if (!exporter.Start(size.width, size.height, dithering, transparency, outPath, quality)) {
        throw cli::Failure("cannot create " + outName);
    }
    auto discard = [&] {
        exporter.Stop();
        std::error_code ec;
        std::filesystem::remove(outPath, ec);
    };

    std::unique_ptr<std::uint8_t[]> frame(new std::uint8_t[static_cast<std::size_t>(frameBytes)]);
    cli::ProgressBar progress("encode", total);
    std::uint64_t frames = 0;
    try {
        for (;;) {
            const std::size_t got = input.Read(frame.get(), static_cast<std::size_t>(frameBytes));
            if (got == 0) {
                break;
            }
            if (got < frameBytes) {
                throw cli::Failure(inName + " ends inside frame " + std::to_string(frames + 1) + " (" +
                                   std::to_string(frames * frameBytes + got) + " bytes, not a whole number of " +
                                   std::to_string(size.width) + "x" + std::to_string(size.height) + " frames)");
            }
            exporter.PushFrame(frame.get(), true, delay);
            ++frames;
            progress.Update(frames);
        }
    } catch (...) {
        progress.Finish();
        discard();
        throw;
    }
    progress.Finish();
    if (!exporter.Stop()) {
        std::error_code ec;
        std::filesystem::remove(outPath, ec);
        throw cli::Failure("writing " + outName + " failed");
    }
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(outPath, ec);
    std::printf("%s: %llu frames, %llu bytes\n", outName.c_str(), static_cast<unsigned long long>(frames),
                static_cast<unsigned long long>(ec ? 0 : bytes));
    return cli::kExitOk;
}

} // namespace

int RunEncodeCommand(int argc, char** argv)
{
    return cli::RunCli("encode", kUsage, [&] { return Encode(argc, argv); });
}
