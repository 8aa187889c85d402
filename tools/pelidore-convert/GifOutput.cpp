#include "tools/pelidore-convert/GifOutput.h"

#include <system_error>

void GifOutput::DeclareOptions(cli::ArgParser& args)
{
    args.Value("--quality").Flag("--dithering").Flag("--transparency");
}

GifOutput::GifOutput(const cli::ArgParser& args, const std::string& name)
    : m_name(name), m_path(cli::PathFromArg(name)), m_quality(QualityOption(args)),
      m_dithering(args.Has("--dithering")), m_transparency(args.Has("--transparency"))
{
    if (m_name == "-") {
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
    if (!m_exporter.Start(width, height, m_dithering, m_transparency, m_path, m_quality)) {
        throw cli::Failure("cannot create " + m_name);
    }
}

void GifOutput::Push(const std::uint8_t* pixels, float delay)
{
    m_exporter.PushFrame(pixels, true, delay);
}

void GifOutput::Discard()
{
    m_exporter.Stop();
    cli::RemoveQuietly(m_path);
}

void GifOutput::Finish()
{
    if (!m_exporter.Stop()) {
        cli::RemoveQuietly(m_path);
        throw cli::Failure("writing " + m_name + " failed");
    }
}

std::uint64_t GifOutput::FileBytes() const
{
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(m_path, ec);
    return ec ? 0 : static_cast<std::uint64_t>(bytes);
}
