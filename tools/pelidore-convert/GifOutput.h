// The GIF end of the subcommands that make one (encode, gif): the export
// options, GifExporter driven as the save thread drives it (Start, one waiting
// push per frame, Stop), and a failed export taking its half-written file with
// it.
#pragma once

#include "Cli.h"
#include "GifExporter.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace pelidore {

class GifOutput {
public:
    // --quality N, --dithering, --transparency and --smaller ("Smaller files").
    static void DeclareOptions(cli::ArgParser& args);

    // Reads the options from parsed args. Throws cli::UsageError for a bad
    // quality, or for "-": a GIF goes to a file only.
    GifOutput(const cli::ArgParser& args, const std::string& name);

    // Throws cli::Failure "cannot create NAME".
    void Start(int width, int height);
    void Push(const std::uint8_t* pixels, float delay);
    // Abandons the export: stops it and removes the file.
    void Discard();
    // Stops the export; a failed write removes the file and throws cli::Failure.
    void Finish();
    // The size of the finished file, 0 when it cannot be told.
    std::uint64_t FileBytes() const;

    // Starts another exporter with these options, for trial passes that
    // write files of their own; false when path cannot be created.
    bool StartOther(GifExporter& exporter, int width, int height, const std::filesystem::path& path) const;
    const std::filesystem::path& Path() const { return m_Path; }

private:
    static int QualityOption(const cli::ArgParser& args);

    std::string m_Name;
    std::filesystem::path m_Path;
    int m_Quality;
    bool m_Dithering;
    bool m_Transparency;
    GifExporter m_Exporter;
};

} // namespace pelidore
