#include "tools/pelidore-convert/FrameStoreCommands.h"

#include "capture/CFrameFile.h"
#include "capture/CFrameStore.h"
#include "gif/GifExporter.h"
#include "tools/pelidore-convert/Cli.h"

#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

using Status = CFrameStore::ReadStatus;

std::string Str(std::uint64_t v)
{
    return std::to_string(static_cast<unsigned long long>(v));
}

std::string Frames(std::uint64_t n)
{
    return Str(n) + (n == 1 ? " frame" : " frames");
}

// Opens a store as the program's reader does; refuses an unfinished store
// (header count 0 while records follow) with a hint to recover it.
void OpenStore(CFrameStore& store, const std::string& name)
{
    const std::filesystem::path path = cli::PathFromArg(name);
    if (!store.OpenForReading(path))
        throw cli::Failure(name + ": " + store.ErrorMessage());
    if (store.HeaderFrameCount() == 0 && store.FileSize() > CFrameStore::kHeaderBytes) {
        throw cli::Failure(name + ": the header counts 0 frames but " + Str(store.FileSize() - CFrameStore::kHeaderBytes) +
                           " bytes of records follow: the recording did not finish (pelidore-convert recover " + name +
                           " brings its frames back)");
    }
}

// ---- store ---------------------------------------------------------------------

const char kStoreUsage[] = "store --size WxH [--delay SECONDS] [--zlib] IN.raw OUT.dat";

int Store(int argc, char** argv)
{
    cli::ArgParser args;
    args.Value("--size").Value("--delay").Flag("--zlib");
    args.Parse(argc, argv);
    args.ExpectPositionals(2, 2);
    const cli::FrameSize size = cli::ParseFrameSize(args.Required("--size"));
    if (!CFrameStore::IsPlausibleSize(size.width, size.height)) {
        throw cli::UsageError("--size " + std::to_string(size.width) + "x" + std::to_string(size.height) +
                              " is larger than a frame store holds (16384 a side, 256 MiB a frame)");
    }
    const float delay = args.Get("--delay") ? cli::ParseSeconds(*args.Get("--delay"), "--delay") : 0.1f;
    const std::string& inName = args.Positionals()[0];
    const std::string& outName = args.Positionals()[1];
    if (outName == "-")
        throw cli::UsageError("OUT.dat must be a file, not standard output");

    cli::InputFile input(inName);
    const std::uint64_t frameBytes = size.FrameBytes();
    std::uint64_t total = 0;
    if (input.Size()) {
        if (*input.Size() % frameBytes != 0) {
            throw cli::Failure(inName + " holds " + Str(*input.Size()) + " bytes, not a whole number of " +
                               std::to_string(size.width) + "x" + std::to_string(size.height) + " frames (" +
                               Str(frameBytes) + " bytes each)");
        }
        total = *input.Size() / frameBytes;
    }

    const std::filesystem::path outPath = cli::PathFromArg(outName);
    CFrameStore store;
    if (args.Has("--zlib"))
        store.SetCompressor(CFrameCodec::Compressor::Zlib, 6);
    if (!store.Create(size.width, size.height))
        throw cli::Failure(store.ErrorMessage());
    if (!store.OpenForWriting(outPath))
        throw cli::Failure("cannot create " + outName);
    const auto discard = [&] {
        store.Close();
        std::error_code ec;
        std::filesystem::remove(outPath, ec);
    };

    std::unique_ptr<std::uint8_t[]> frame(new std::uint8_t[static_cast<std::size_t>(frameBytes)]);
    cli::ProgressBar progress("store", total);
    std::uint64_t frames = 0;
    try {
        for (;;) {
            const std::size_t got = input.Read(frame.get(), static_cast<std::size_t>(frameBytes));
            if (got == 0)
                break;
            if (got < frameBytes) {
                throw cli::Failure(inName + " ends inside frame " + Str(frames + 1) + " (" +
                                   Str(frames * frameBytes + got) + " bytes, not a whole number of " +
                                   std::to_string(size.width) + "x" + std::to_string(size.height) + " frames)");
            }
            if (!store.Append(delay, frame.get()))
                throw cli::Failure("writing frame " + Str(frames) + " to " + outName + " failed");
            ++frames;
            progress.Update(frames);
        }
    } catch (...) {
        progress.Finish();
        discard();
        throw;
    }
    progress.Finish();
    const std::uint64_t bytes = store.BytesWritten();
    if (!store.Close()) {
        std::error_code ec;
        std::filesystem::remove(outPath, ec);
        throw cli::Failure("finishing " + outName + " failed");
    }
    std::printf("%s: %s, %s bytes (%s bytes raw)\n", outName.c_str(), Frames(frames).c_str(), Str(bytes).c_str(),
                Str(frames * frameBytes).c_str());
    return cli::kExitOk;
}

// ---- gif -----------------------------------------------------------------------

const char kGifUsage[] = "gif [--quality N] [--dithering] [--transparency] IN.dat OUT.gif";

int Gif(int argc, char** argv)
{
    cli::ArgParser args;
    args.Value("--quality").Flag("--dithering").Flag("--transparency");
    args.Parse(argc, argv);
    args.ExpectPositionals(2, 2);
    const int quality =
        args.Get("--quality") ? static_cast<int>(cli::ParseInteger(*args.Get("--quality"), "--quality", -1, 3)) : 0;
    const bool dithering = args.Has("--dithering");
    const bool transparency = args.Has("--transparency");
    const std::string& inName = args.Positionals()[0];
    const std::string& outName = args.Positionals()[1];
    if (outName == "-")
        throw cli::UsageError("OUT.gif must be a file, not standard output");

    CFrameStore store;
    OpenStore(store, inName);
    const std::filesystem::path outPath = cli::PathFromArg(outName);
    // The save thread: open the export, one waiting push per frame, stop.
    GifExporter exporter;
    if (!exporter.Start(store.Width(), store.Height(), dithering, transparency, outPath, quality))
        throw cli::Failure("cannot create " + outName);
    cli::ProgressBar progress("gif", static_cast<std::uint64_t>(store.HeaderFrameCount()));
    CFrameStore::Frame frame;
    Status status;
    std::uint64_t frames = 0;
    while ((status = store.NextFrame(frame)) == Status::Frame) {
        exporter.PushFrame(frame.pixels.data(), true, frame.delay);
        ++frames;
        progress.Update(frames);
    }
    progress.Finish();
    const bool written = exporter.Stop();
    if (!written) {
        std::error_code ec;
        std::filesystem::remove(outPath, ec);
        throw cli::Failure("writing " + outName + " failed");
    }
    if (status == Status::Error) {
        throw cli::Failure(inName + ": " + store.ErrorMessage() + "; " + outName + " holds the " + Frames(frames) +
                           " before it");
    }
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(outPath, ec);
    std::printf("%s: %s, %s bytes\n", outName.c_str(), Frames(frames).c_str(), Str(ec ? 0 : bytes).c_str());
    return cli::kExitOk;
}

// ---- raw -----------------------------------------------------------------------

const char kRawUsage[] = "raw IN.dat OUT.raw";

int Raw(int argc, char** argv)
{
    cli::ArgParser args;
    args.Parse(argc, argv);
    args.ExpectPositionals(2, 2);
    const std::string& inName = args.Positionals()[0];
    const std::string& outName = args.Positionals()[1];

    CFrameStore store;
    OpenStore(store, inName);
    CFrameFile file;
    std::FILE* out = nullptr;
    if (outName == "-") {
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY);
#endif
        out = stdout;
    } else if (!file.Open(cli::PathFromArg(outName), CFrameFile::Mode::Write)) {
        throw cli::Failure("cannot create " + outName);
    }
    const auto write = [&](const std::vector<std::uint8_t>& pixels) {
        return out ? std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size()
                   : file.Write(pixels.data(), pixels.size());
    };

    cli::ProgressBar progress("raw", static_cast<std::uint64_t>(store.HeaderFrameCount()));
    CFrameStore::Frame frame;
    Status status;
    std::uint64_t frames = 0;
    while ((status = store.NextFrame(frame)) == Status::Frame) {
        if (!write(frame.pixels)) {
            progress.Finish();
            throw cli::Failure("writing " + outName + " failed");
        }
        ++frames;
        progress.Update(frames);
    }
    progress.Finish();
    const bool closed = out ? std::fflush(out) == 0 : file.Close();
    if (!closed)
        throw cli::Failure("writing " + outName + " failed");
    if (status == Status::Error) {
        throw cli::Failure(inName + ": " + store.ErrorMessage() + "; " + outName + " holds the " + Frames(frames) +
                           " before it");
    }
    std::fprintf(out ? stderr : stdout, "%s: %s of %d x %d, %s bytes\n", out ? "standard output" : outName.c_str(), Frames(frames).c_str(),
                 store.Width(), store.Height(), Str(frames * store.FrameBytes()).c_str());
    return cli::kExitOk;
}

// ---- info ----------------------------------------------------------------------

const char kInfoUsage[] = "info IN.dat";

int Info(int argc, char** argv)
{
    cli::ArgParser args;
    args.Parse(argc, argv);
    args.ExpectPositionals(1, 1);
    const std::string& inName = args.Positionals()[0];

    // Scan every record, whatever the header counts, and judge afterwards.
    CFrameStore store;
    if (!store.OpenForScanning(cli::PathFromArg(inName)))
        throw cli::Failure(inName + ": " + store.ErrorMessage());
    const int count = store.HeaderFrameCount();
    std::printf("%s: frame store version 1, %d x %d, %d bytes per pixel, header frame count %d, %s bytes\n",
                inName.c_str(), store.Width(), store.Height(), store.BytesPerPixel(), count,
                Str(store.FileSize()).c_str());
    std::printf("%7s  %-5s  %10s  %s\n", "frame", "kind", "blob bytes", "delay");
    CFrameStore::Frame frame;
    Status status;
    int frames = 0;
    while ((status = store.NextFrame(frame)) == Status::Frame) {
        std::printf("%7d  %-5s  %10u  %.3f%s\n", frames, frame.keyFrame ? "key" : "delta", frame.blobLength,
                    double(frame.delay), frame.compressor == 2 ? "  zlib" : "");
        ++frames;
    }
    std::printf("%s, %.3f s of playback\n", Frames(std::uint64_t(frames)).c_str(), double(store.DelaySum()));
    std::fflush(stdout);

    const std::string damaged = status == Status::Error ? store.ErrorMessage() : "";
    if (count == 0 && frames > 0) {
        throw cli::Failure(inName + ": the header counts 0 frames but " + Frames(std::uint64_t(frames)) +
                           " follow: the recording did not finish (pelidore-convert recover " + inName +
                           " brings them back)" + (damaged.empty() ? "" : "; then " + damaged));
    }
    if (frames < count) {
        if (!damaged.empty())
            throw cli::Failure(inName + ": damaged at " + damaged);
        throw cli::Failure(inName + ": the file ends after " + std::to_string(frames) + " of the " +
                           std::to_string(count) + " frames its header counts");
    }
    // Every counted frame is intact: what the program reads is whole.
    if (!damaged.empty())
        std::fprintf(stderr, "pelidore-convert info: note: after the %d counted frames: %s (ignored when reading)\n",
                     count, damaged.c_str());
    else if (frames > count)
        std::fprintf(stderr, "pelidore-convert info: note: %d complete frames after the %d counted ones are ignored\n",
                     frames - count, count);
    return cli::kExitOk;
}

// ---- recover -------------------------------------------------------------------

const char kRecoverUsage[] = "recover IN.dat";

int Recover(int argc, char** argv)
{
    cli::ArgParser args;
    args.Parse(argc, argv);
    args.ExpectPositionals(1, 1);
    const std::string& inName = args.Positionals()[0];
    const CFrameStore::RecoverResult result = CFrameStore::Recover(cli::PathFromArg(inName));
    if (!result.ok)
        throw cli::Failure(inName + ": " + result.message);
    std::string what;
    if (!result.changed) {
        what = "already complete";
    } else {
        what = "the header said " + std::to_string(result.headerFrameCount);
        if (result.bytesAfter < result.bytesBefore)
            what += "; cut " + Str(result.bytesBefore - result.bytesAfter) + " bytes at " + result.message;
    }
    std::printf("%s: %s saved, %d x %d (%s)\n", inName.c_str(), Frames(std::uint64_t(result.framesKept)).c_str(),
                result.width, result.height, what.c_str());
    if (result.framesKept == 0)
        throw cli::Failure(inName + ": no complete frame to save");
    return cli::kExitOk;
}

} // namespace

int RunStoreCommand(int argc, char** argv)
{
    return cli::RunCli("store", kStoreUsage, [&] { return Store(argc, argv); });
}

int RunGifCommand(int argc, char** argv)
{
    return cli::RunCli("gif", kGifUsage, [&] { return Gif(argc, argv); });
}

int RunRawCommand(int argc, char** argv)
{
    return cli::RunCli("raw", kRawUsage, [&] { return Raw(argc, argv); });
}

int RunInfoCommand(int argc, char** argv)
{
    return cli::RunCli("info", kInfoUsage, [&] { return Info(argc, argv); });
}

int RunRecoverCommand(int argc, char** argv)
{
    return cli::RunCli("recover", kRecoverUsage, [&] { return Recover(argc, argv); });
}
