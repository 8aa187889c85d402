#include "GifOutput.h"

#include <system_error>

namespace pelidore {

void GifOutput::DeclareOptions(cli::ArgParser& args)
{
    args.Value("--quality").Flag("--dithering").Flag("--transparency").Flag("--smaller");
}

GifOutput::GifOutput(const cli::ArgParser& args, const std::string& name)
    : m_Name(name), m_Path(cli::PathFromArg(name)), m_Quality(QualityOption(args)),
      m_Dithering(args.Has("--dithering")), m_Transparency(args.Has("--transparency"))
{
    if (m_Name == "-") {
        throw cli::UsageError("OUT.gif must be a file, not standard output");
    }
    m_Exporter.SetSmallerFiles(args.Has("--smaller"));
}

int GifOutput::QualityOption(const cli::ArgParser& args)
{
    const auto quality = args.Get("--quality");
    return quality ? static_cast<int>(cli::ParseInteger(*quality, "--quality", -1, 3)) : 0;
}

void GifOutput::Start(int width, int height)
{
    if (!m_Exporter.Start(width, height, m_Dithering, m_Transparency, m_Path, m_Quality)) {
        throw cli::Failure("cannot create " + m_Name);
    }
}

void GifOutput::Push(const std::uint8_t* pixels, float delay)
{
    m_Exporter.PushFrame(pixels, true, delay);
}

void GifOutput::Discard()
{
    m_Exporter.Stop();
    cli::RemoveQuietly(m_Path);
}

void GifOutput::Finish()
{
    if (!m_Exporter.Stop()) {
        cli::RemoveQuietly(m_Path);
        throw cli::Failure("writing " + m_Name + " failed");
    }
}

bool GifOutput::StartOther(GifExporter& exporter, int width, int height, const std::filesystem::path& path) const
{
    return exporter.Start(width, height, m_Dithering, m_Transparency, path, m_Quality);
}

std::uint64_t GifOutput::FileBytes() const
{
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(m_Path, ec);
    return ec ? 0 : static_cast<std::uint64_t>(bytes);
}

} // namespace pelidore
