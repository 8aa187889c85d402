#include "FrameStoreCommands.h"

#include "CFrameFile.h"
#include "CFrameStoreReader.h"
#include "CFrameStoreRecovery.h"
#include "CFrameStoreWriter.h"
#include "Cli.h"
#include "FrameRange.h"
#include "GifOutput.h"
#include "RawFrameInput.h"

#include <cstdio>
#include <functional>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace pelidore {

namespace {

using Status = CFrameStoreReader::ReadStatus;

std::string Str(std::uint64_t v)
{
    return std::to_string(static_cast<unsigned long long>(v));
}

std::string Frames(std::uint64_t n)
{
    return Str(n) + (n == 1 ? " frame" : " frames");
}

// Opens a store as the program's reader does; refuses an unfinished store
// (header count 0 while records follow) with a hint to recover it, and a
// range reaching past its frames.
void OpenStore(CFrameStoreReader& store, const std::string& name, const FrameRange& range)
{
    const std::filesystem::path path = cli::PathFromArg(name);
    if (!store.OpenForReading(path))
        throw cli::Failure(name + ": " + store.ErrorMessage());
    if (store.HeaderFrameCount() == 0 && store.FileSize() > FrameStoreLayout::kHeaderBytes) {
        throw cli::Failure(name + ": the header counts 0 frames but " +
                           Str(store.FileSize() - FrameStoreLayout::kHeaderBytes) +
                           " bytes of records follow: the recording did not finish (pelidore-convert recover " + name +
                           " brings its frames back)");
    }
    range.CheckAgainst(store.HeaderFrameCount(), name);
}

// How far a read of a store's frames got: every frame, or up to a bad one.
struct Playback {
    Status status = Status::End;
    std::uint64_t frames = 0;
};

// Reads the frames as the program's reader does, handing those in range to
// sink under a progress bar named label; the bar is finished however the
// sink leaves. Frames before the range are decoded (the ones after build on
// them) but not handed over; reading stops where the range ends.
Playback Play(CFrameStoreReader& store, const FrameRange& range, const std::string& label,
              const std::function<void(const CFrameStoreReader::Frame&)>& sink)
{
    cli::ProgressBar progress(label, range.CountOf(store.HeaderFrameCount()));
    CFrameStoreReader::Frame frame;
    Playback playback;
    try {
        for (std::uint64_t index = 0; !range.EndsBefore(index); ++index) {
            if ((playback.status = store.NextFrame(frame)) != Status::Frame)
                break;
            if (!range.Contains(index))
                continue;
            sink(frame);
            ++playback.frames;
            progress.Update(playback.frames);
        }
    } catch (...) {
        progress.Finish();
        throw;
    }
    progress.Finish();
    return playback;
}

// A bad frame ends the output early; the frames before it stay written, and
// the message says how many that is.
void FailIfCutShort(const Playback& playback, const CFrameStoreReader& store, const std::string& inName,
                    const std::string& outName)
{
    if (playback.status == Status::Error) {
        throw cli::Failure(inName + ": " + store.ErrorMessage() + "; " + outName + " holds the " +
                           Frames(playback.frames) + " before it");
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
    if (!FrameStoreLayout::IsPlausibleSize(size.width, size.height)) {
        throw cli::UsageError("--size " + std::to_string(size.width) + "x" + std::to_string(size.height) +
                              " is larger than a frame store holds (16384 a side, 256 MiB a frame)");
    }
    const float delay = args.Get("--delay") ? cli::ParseSeconds(*args.Get("--delay"), "--delay") : 0.1f;
    const std::string& inName = args.Positionals()[0];
    const std::string& outName = args.Positionals()[1];
    if (outName == "-")
        throw cli::UsageError("OUT.dat must be a file, not standard output");

    RawFrameInput input(inName, size);
    const std::filesystem::path outPath = cli::PathFromArg(outName);
    CFrameStoreWriter store;
    if (args.Has("--zlib"))
        store.SetCompressor(Compressor::Zlib, 6);
    if (!store.Create(size.width, size.height))
        throw cli::Failure(store.ErrorMessage());
    if (!store.OpenForWriting(outPath))
        throw cli::Failure("cannot create " + outName);
    const auto append = [&](const std::uint8_t* pixels, std::uint64_t index) {
        if (!store.Append(delay, pixels))
            throw cli::Failure("writing frame " + Str(index) + " to " + outName + " failed");
    };
    const auto discard = [&] {
        store.Close();
        cli::RemoveQuietly(outPath);
    };
    const std::uint64_t frames = input.Pump("store", append, discard);
    const std::uint64_t bytes = store.BytesWritten();
    if (!store.Close()) {
        cli::RemoveQuietly(outPath);
        throw cli::Failure("finishing " + outName + " failed");
    }
    std::printf("%s: %s, %s bytes (%s bytes raw)\n", outName.c_str(), Frames(frames).c_str(), Str(bytes).c_str(),
                Str(frames * input.FrameBytes()).c_str());
    return cli::kExitOk;
}

// ---- gif -----------------------------------------------------------------------

const char kGifUsage[] =
    "gif [--quality N] [--dithering] [--transparency] [--smaller] [--first N] [--last M] IN.dat OUT.gif";

int Gif(int argc, char** argv)
{
    cli::ArgParser args;
    GifOutput::DeclareOptions(args);
    FrameRange::DeclareOptions(args);
    args.Parse(argc, argv);
    args.ExpectPositionals(2, 2);
    const std::string& inName = args.Positionals()[0];
    const std::string& outName = args.Positionals()[1];
    GifOutput gif(args, outName);
    const FrameRange range(args);

    CFrameStoreReader store;
    OpenStore(store, inName, range);
    gif.Start(store.Width(), store.Height());
    const Playback playback = Play(store, range, "gif", [&](const CFrameStoreReader::Frame& frame) {
        gif.Push(frame.pixels.data(), frame.delay);
    });
    gif.Finish();
    FailIfCutShort(playback, store, inName, outName);
    std::printf("%s: %s, %s bytes\n", outName.c_str(), Frames(playback.frames).c_str(), Str(gif.FileBytes()).c_str());
    return cli::kExitOk;
}

// ---- raw -----------------------------------------------------------------------

const char kRawUsage[] = "raw [--first N] [--last M] IN.dat OUT.raw";

int Raw(int argc, char** argv)
{
    cli::ArgParser args;
    FrameRange::DeclareOptions(args);
    args.Parse(argc, argv);
    args.ExpectPositionals(2, 2);
    const std::string& inName = args.Positionals()[0];
    const std::string& outName = args.Positionals()[1];
    const FrameRange range(args);

    CFrameStoreReader store;
    OpenStore(store, inName, range);
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

    const Playback playback = Play(store, range, "raw", [&](const CFrameStoreReader::Frame& frame) {
        if (!write(frame.pixels))
            throw cli::Failure("writing " + outName + " failed");
    });
    const bool closed = out ? std::fflush(out) == 0 : file.Close();
    if (!closed)
        throw cli::Failure("writing " + outName + " failed");
    FailIfCutShort(playback, store, inName, outName);
    const std::uint64_t frames = playback.frames;
    std::fprintf(out ? stderr : stdout, "%s: %s of %d x %d, %s bytes\n", out ? "standard output" : outName.c_str(),
                 Frames(frames).c_str(), store.Width(), store.Height(), Str(frames * store.FrameBytes()).c_str());
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
    CFrameStoreReader store;
    if (!store.OpenForScanning(cli::PathFromArg(inName)))
        throw cli::Failure(inName + ": " + store.ErrorMessage());
    const int count = store.HeaderFrameCount();
    std::printf("%s: frame store version 1, %d x %d, %d bytes per pixel, header frame count %d, %s bytes\n",
                inName.c_str(), store.Width(), store.Height(), store.BytesPerPixel(), count,
                Str(store.FileSize()).c_str());
    std::printf("%7s  %-5s  %10s  %s\n", "frame", "kind", "blob bytes", "delay");
    CFrameStoreReader::Frame frame;
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
    const CFrameStoreRecovery::Result result = CFrameStoreRecovery::Recover(cli::PathFromArg(inName));
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

} // namespace pelidore
