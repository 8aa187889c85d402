// pelidore-convert: the dispatcher, the shared pieces and `encode`, run in
// process through RunConvert.
#include "Cli.h"
#include "Commands.h"
#include "ConvertRun.h"
#include "GifTestUtil.h"
#include "PelidoreVersion.h"
#include "SyntheticFrames.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace pelidore {

namespace {

// Frames back to back, each made by frameOf(w, h, seed) with seeds 1, 2, ...
std::string RawFile(const std::string& name, int w, int h, int frames,
                    synth::Pixels (*frameOf)(int, int, std::uint64_t) = synth::UiFrame)
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < frames; ++i) {
        const auto f = frameOf(w, h, static_cast<std::uint64_t>(i + 1));
        bytes.insert(bytes.end(), f.begin(), f.end());
    }
    const auto path = giftest::TempPath(name);
    giftest::WriteBytes(path, bytes);
    return path.u8string();
}

std::string Out(const std::string& name)
{
    return giftest::TempPath(name).u8string();
}

} // namespace

TEST(ConvertTool, EncodeWritesOneFramePerInputFrame)
{
    const auto in = RawFile("in.raw", 64, 32, 4);
    const auto out = Out("out.gif");
    const ConvertRun o = ConvertRun::Of({"encode", "--size", "64x32", in, out});
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.err, "");
    const auto gif = giftest::DecodeFile(std::filesystem::u8path(out));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.width, 64);
    EXPECT_EQ(gif.height, 32);
    ASSERT_EQ(gif.frames.size(), 4u);
    for (const auto& f : gif.frames) {
        EXPECT_EQ(f.delay, 10);
        EXPECT_EQ(f.packed, 0x04);
    }
    // Bottom row first in the input: the decoded picture matches frame 0.
    const auto first = synth::UiFrame(64, 32, 1);
    const auto shown = giftest::FrameToBgrBottomUp(gif.frames[0]);
    EXPECT_GT(synth::Psnr(first.data(), shown.data(), first.size()), 30.0);
}

TEST(ConvertTool, EncodeOptionsReachTheExporter)
{
    const auto in = RawFile("opts.raw", 32, 16, 3);
    const auto out = Out("opts.gif");
    ConvertRun o =
        ConvertRun::Of({"encode", "--size=32x16", "--delay", "0.5", "--transparency", "--dithering", in, out});
    ASSERT_EQ(o.code, 0) << o.err;
    auto gif = giftest::DecodeFile(std::filesystem::u8path(out));
    ASSERT_EQ(gif.frames.size(), 3u);
    EXPECT_EQ(gif.frames[0].delay, 50);
    EXPECT_EQ(gif.frames[0].packed, 0x05);

    o = ConvertRun::Of({"encode", "--size", "32x16", "--quality", "2", "--transparency", in, out});
    ASSERT_EQ(o.code, 0) << o.err;
    gif = giftest::DecodeFile(std::filesystem::u8path(out));
    ASSERT_EQ(gif.frames.size(), 3u);
    EXPECT_EQ(gif.frames[0].packed, 0x04); // transparency only with High Speed

    // "Smaller files": the libimagequant qualities get transparency, and the
    // frames after the first their own smaller images.
    o = ConvertRun::Of({"encode", "--size", "32x16", "--quality", "2", "--smaller", in, out});
    ASSERT_EQ(o.code, 0) << o.err;
    gif = giftest::DecodeFile(std::filesystem::u8path(out));
    ASSERT_EQ(gif.frames.size(), 3u);
    EXPECT_EQ(gif.frames[0].packed, 0x05);
    EXPECT_EQ(gif.frames[0].width, 32);
    EXPECT_LT(gif.frames[1].width * gif.frames[1].height, 32 * 16);
}

TEST(ConvertTool, EncodeFitsTheGifInTheSizeGiven)
{
    // Noise: every frame new and incompressible, about 3 MiB as a GIF.
    const auto in = RawFile("fit.raw", 320, 240, 40, synth::RandomFrame);
    const auto out = Out("fit.gif");
    const ConvertRun o = ConvertRun::Of({"encode", "--size", "320x240", "--fit-mb", "1", in, out});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_NE(o.out.find("fitted in"), std::string::npos) << o.out;
    const auto bytes = std::filesystem::file_size(std::filesystem::u8path(out));
    EXPECT_LE(bytes, 1048576u);
    EXPECT_GE(bytes, 1048576u * 8 / 10);
    const auto gif = giftest::DecodeFile(std::filesystem::u8path(out));
    ASSERT_TRUE(gif.ok);
    int centiseconds = 0;
    for (const auto& f : gif.frames)
        centiseconds += f.delay;
    EXPECT_NEAR(centiseconds, 400, 1);
    EXPECT_EQ(ConvertRun::Of({"encode", "--size", "320x240", "--fit-mb", "1", "-", out}).code, 2);
    EXPECT_EQ(ConvertRun::Of({"encode", "--size", "320x240", "--fit-mb", "0", in, out}).code, 2);
}

TEST(ConvertTool, EncodeReadsStandardInput)
{
    const auto in = RawFile("stdin.raw", 16, 8, 5);
    const auto out = Out("stdin.gif");
    ASSERT_NE(std::freopen(in.c_str(), "rb", stdin), nullptr);
    const ConvertRun o = ConvertRun::Of({"encode", "--size", "16x8", "-", out});
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(giftest::DecodeFile(std::filesystem::u8path(out)).frames.size(), 5u);
}

TEST(ConvertTool, AnEmptyInputGivesTheEmptyGif)
{
    const auto in = RawFile("empty.raw", 16, 8, 0);
    const auto out = Out("empty.gif");
    const ConvertRun o = ConvertRun::Of({"encode", "--size", "16x8", in, out});
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(giftest::ReadBytes(std::filesystem::u8path(out)).size(), 33u);
}

TEST(ConvertTool, WrongUsageIsOneLineAndExitCode2)
{
    const auto in = RawFile("usage.raw", 16, 8, 1);
    const auto out = Out("usage.gif");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"nonsense"},
        {"encode"},
        {"encode", in, out},
        {"encode", "--size", "16x8", in},
        {"encode", "--size", "16x8", in, out, "extra"},
        {"encode", "--size", "16by8", in, out},
        {"encode", "--size", "0x8", in, out},
        {"encode", "--size", "18x8", in, out},
        {"encode", "--size", "16x70000", in, out},
        {"encode", "--size", "16x8", "--delay", "soon", in, out},
        {"encode", "--size", "16x8", "--delay", "-1", in, out},
        {"encode", "--size", "16x8", "--quality", "4", in, out},
        {"encode", "--size", "16x8", "--frobnicate", in, out},
        {"encode", "--size", "16x8", "--size", "16x8", in, out},
        {"encode", "--size", "16x8", in, "-"},
        {"encode", "--size"},
    };
    for (const auto& args : cases) {
        const ConvertRun o = ConvertRun::Of(args);
        std::string joined;
        for (const auto& a : args) {
            joined += a + " ";
        }
        EXPECT_EQ(o.code, 2) << joined;
        EXPECT_EQ(o.ErrLines(), 1) << joined << ": " << o.err;
    }
}

TEST(ConvertTool, FailuresAreOneLineAndExitCode1)
{
    const auto in = RawFile("fail.raw", 16, 8, 2);
    const auto out = Out("fail.gif");
    const std::vector<std::vector<std::string>> cases = {
        {"encode", "--size", "16x8", Out("does-not-exist.raw"), out},
        {"encode", "--size", "20x8", in, out}, // 768 bytes are not whole 20x8 frames
        {"encode", "--size", "16x8", in, Out("no-such-folder/x.gif")},
        {"encode", "--size", "16x8", giftest::TempDir().u8string(), out},
    };
    for (const auto& args : cases) {
        const ConvertRun o = ConvertRun::Of(args);
        EXPECT_EQ(o.code, 1) << args[3] << " " << args[4];
        EXPECT_EQ(o.ErrLines(), 1) << o.err;
    }
}

TEST(ConvertTool, ATornFrameOnStandardInputFailsAndLeavesNoGif)
{
    auto bytes = synth::UiFrame(16, 8, 1);
    bytes.resize(bytes.size() + 100, 7);
    const auto in = giftest::TempPath("torn.raw");
    giftest::WriteBytes(in, bytes);
    const auto out = Out("torn.gif");
    ASSERT_NE(std::freopen(in.u8string().c_str(), "rb", stdin), nullptr);
    const ConvertRun o = ConvertRun::Of({"encode", "--size", "16x8", "-", out});
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.ErrLines(), 1) << o.err;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(out)));
}

TEST(ConvertTool, RepairGifSaysWhatItKeptAndFailsOnWhatItCannotRepair)
{
    const auto in = RawFile("repair.raw", 32, 16, 3);
    const auto gif = Out("repair.gif");
    ASSERT_EQ(ConvertRun::Of({"encode", "--size", "32x16", in, gif}).code, 0);
    const auto path = std::filesystem::u8path(gif);
    auto bytes = giftest::ReadBytes(path);
    bytes.resize(bytes.size() - 5); // into the third frame's LZW data
    giftest::WriteBytes(path, bytes);

    ConvertRun o = ConvertRun::Of({"repair-gif", gif});
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_NE(o.out.find("repaired, 2 frames kept"), std::string::npos) << o.out;
    EXPECT_EQ(giftest::DecodeFile(path).frames.size(), 2u);

    o = ConvertRun::Of({"repair-gif", gif});
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_NE(o.out.find("complete, 2 frames"), std::string::npos) << o.out;

    o = ConvertRun::Of({"repair-gif", in});
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.ErrLines(), 1) << o.err;
    EXPECT_NE(o.err.find("not a GIF"), std::string::npos) << o.err;

    EXPECT_EQ(ConvertRun::Of({"repair-gif"}).code, 2);
}

TEST(ConvertTool, HelpListsTheCommands)
{
    const ConvertRun o = ConvertRun::Of({"help"});
    EXPECT_EQ(o.code, 0);
    EXPECT_NE(o.out.find("encode"), std::string::npos);
    ASSERT_NE(ConvertCommands(), nullptr);
    EXPECT_STREQ(ConvertCommands()[0].name, "encode");
    EXPECT_NE(o.out.find("--version"), std::string::npos);
}

TEST(ConvertTool, VersionIsTheProjectVersion)
{
    const ConvertRun o = ConvertRun::Of({"--version"});
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.out, std::string("pelidore-convert ") + PELIDORE_VERSION_STRING + "\n");
    EXPECT_EQ(o.ErrLines(), 0);
}

TEST(ConvertToolCli, FrameSizes)
{
    const cli::FrameSize s = cli::ParseFrameSize("1280x720");
    EXPECT_EQ(s.width, 1280);
    EXPECT_EQ(s.height, 720);
    EXPECT_EQ(s.FrameBytes(), 1280u * 720u * 3u);
    EXPECT_EQ(cli::ParseFrameSize("65532X65535").FrameBytes(), 65532ull * 65535ull * 3ull);
    EXPECT_EQ(cli::ParseFrameSize("3x5", "--size", false).width, 3);
    EXPECT_THROW(cli::ParseFrameSize("3x5"), cli::UsageError);
    EXPECT_THROW(cli::ParseFrameSize("x5"), cli::UsageError);
    EXPECT_THROW(cli::ParseFrameSize("4x"), cli::UsageError);
    EXPECT_THROW(cli::ParseFrameSize("4x5x6"), cli::UsageError);
    EXPECT_THROW(cli::ParseFrameSize("-4x5"), cli::UsageError);
    EXPECT_THROW(cli::ParseFrameSize("65536x5", "--size", false), cli::UsageError);
}

TEST(ConvertToolCli, NumbersAndArguments)
{
    EXPECT_FLOAT_EQ(cli::ParseSeconds("0.25", "--delay"), 0.25f);
    EXPECT_THROW(cli::ParseSeconds("nan", "--delay"), cli::UsageError);
    EXPECT_THROW(cli::ParseSeconds("1e9", "--delay"), cli::UsageError);
    EXPECT_EQ(cli::ParseInteger("-1", "--quality", -1, 3), -1);
    EXPECT_THROW(cli::ParseInteger("2.5", "--quality", -1, 3), cli::UsageError);

    cli::ArgParser p;
    p.Value("--size").Flag("--fast");
    p.Parse(std::vector<std::string>{"a", "--size", "4x4", "-", "--fast", "--", "--size"});
    EXPECT_EQ(p.Required("--size"), "4x4");
    EXPECT_TRUE(p.Has("--fast"));
    EXPECT_EQ(p.Positionals(), (std::vector<std::string>{"a", "-", "--size"}));
    EXPECT_NO_THROW(p.ExpectPositionals(3, 3));
    EXPECT_THROW(p.ExpectPositionals(4, 4), cli::UsageError);
    EXPECT_THROW(p.ExpectPositionals(1, 2), cli::UsageError);
    EXPECT_THROW(p.Parse(std::vector<std::string>{"--fast=1"}), cli::UsageError);
}

TEST(ConvertToolCli, ProgressBarRendering)
{
    cli::ProgressBar bar("encode", 200, "frames", false);
    EXPECT_FALSE(bar.Enabled());
    EXPECT_EQ(bar.Render(0), "encode [..............................]   0% 0/200 frames");
    EXPECT_EQ(bar.Render(100), "encode [###############...............]  50% 100/200 frames");
    EXPECT_EQ(bar.Render(200), "encode [##############################] 100% 200/200 frames");
    cli::ProgressBar open("store", 0, "frames", false);
    EXPECT_EQ(open.Render(17), "store 17 frames");
}

TEST(ConvertToolCli, RunCliMapsExceptionsToExitCodes)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(cli::RunCli("x", "x ARGS", [] { return 0; }), 0);
    EXPECT_EQ(cli::RunCli("x", "x ARGS", []() -> int { throw cli::UsageError("bad\nthing"); }), 2);
    EXPECT_EQ(cli::RunCli("x", "x ARGS", []() -> int { throw cli::Failure("broken"); }), 1);
    EXPECT_EQ(cli::RunCli("x", "x ARGS", []() -> int { throw std::runtime_error("odd"); }), 1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "pelidore-convert x: bad thing (usage: pelidore-convert x ARGS)\n"
                   "pelidore-convert x: broken\n"
                   "pelidore-convert x: odd\n");
}

} // namespace pelidore
