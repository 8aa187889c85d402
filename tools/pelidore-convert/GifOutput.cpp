#include "tools/pelidore-convert/GifOutput.h"

#include <system_error>

void GifOutput::DeclareOptions(cli::ArgParser& args)
{
    args.Value("--quality").Flag("--dithering").Flag("--transparency");
}

GifOutput::GifOutput(const cli::ArgParser& args, const std::string& name)
    : name_(name),
      path_(cli::PathFromArg(name)),
      quality_(QualityOption(args)),
      dithering_(args.Has("--dithering")),
      transparency_(args.Has("--transparency"))
{
    if (name_ == "-") {
        throw cli::UsageError("OUT.gif must be a file, not standard output");
    }
}

int GifOutput::QualityOption(const cli::ArgParser& args)
{
    const auto quality = args.Get("--quality");
    return quality ? static_cast<int>(cli::ParseInteger(*quality, "--quality", -1, 3)) : 0;
}

void GifOutput::Start(int width, int height)
{
    if (!exporter_.Start(width, height, dithering_, transparency_, path_, quality_)) {
        throw cli::Failure("cannot create " + name_);
    }
}

void GifOutput::Push(const std::uint8_t* pixels, float delay)
{
    exporter_.PushFrame(pixels, true, delay);
}

void GifOutput::Discard()
{
    exporter_.Stop();
    cli::RemoveQuietly(path_);
}

void GifOutput::Finish()
{
    if (!exporter_.Stop()) {
        cli::RemoveQuietly(path_);
        throw cli::Failure("writing " + name_ + " failed");
    }
}

std::uint64_t GifOutput::FileBytes() const
{
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(path_, ec);
    return ec ? 0 : static_cast<std::uint64_t>(bytes);
}
