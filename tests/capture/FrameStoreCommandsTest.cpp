// pelidore-convert's frame store subcommands (store, gif, raw, info, recover),
// run in process through RunConvert, on good, damaged and unfinished stores.
#include "ConvertRun.h"
#include "FrameStoreRoundTrip.h"
#include "FrameStoreTestUtil.h"
#include "GifTestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace pelidore {

using fstest::Bytes;

namespace {

class FrameStoreCommands : public ::testing::Test {
protected:
    static constexpr int kW = 64, kH = 32;
    static constexpr int kFrames = 23;
    fstest::TempDir dir;
    std::vector<Bytes> frames;
    std::string raw, store;

    void SetUp() override
    {
        const Bytes desktop = fstest::DesktopFrame(kW, kH);
        Bytes all;
        for (int i = 0; i < kFrames; ++i) {
            frames.push_back(fstest::MovingWindowFrame(desktop, kW, kH, i, 10));
            all.insert(all.end(), frames.back().begin(), frames.back().end());
        }
        raw = Path("in.raw");
        store = Path("in.dat");
        ASSERT_TRUE(fstest::WriteAll(dir / "in.raw", all));
        const ConvertRun o = ConvertRun::Of({"store", "--size", "64x32", "--delay", "0.07", raw, store});
        ASSERT_EQ(o.code, 0) << o.err;
    }
    std::string Path(const std::string& name) const { return (dir.Path() / std::filesystem::u8path(name)).u8string(); }
    Bytes Read(const std::string& name) const { return fstest::ReadAll(std::filesystem::u8path(name)); }
    void Write(const std::string& name, const Bytes& bytes) const
    {
        ASSERT_TRUE(fstest::WriteAll(std::filesystem::u8path(name), bytes));
    }
    // The store with its header count set to 0 and its last record torn.
    std::string Unfinished()
    {
        Bytes file = Read(store);
        fstest::PutLE32(&file[16], 0);
        file.resize(file.size() - 7);
        const std::string name = Path("unfinished.dat");
        Write(name, file);
        return name;
    }
    // The store with a byte of frame 9's record damaged.
    std::string Damaged(int frame = 9)
    {
        Bytes file = Read(store);
        const auto parsed = fstest::ParseStoreFile(file);
        file[parsed.records[frame].offset + 8] = 0; // the flag
        const std::string name = Path("damaged.dat");
        Write(name, file);
        return name;
    }
};

} // namespace

TEST_F(FrameStoreCommands, StoreWritesAFrameStore)
{
    const auto parsed = fstest::ParseStoreFile(Read(store));
    EXPECT_EQ(parsed.width, kW);
    EXPECT_EQ(parsed.height, kH);
    EXPECT_EQ(parsed.frameCount, kFrames);
    ASSERT_EQ(parsed.records.size(), std::size_t(kFrames));
    EXPECT_FLOAT_EQ(parsed.records[5].delay, 0.07f);
    EXPECT_EQ(parsed.records[20].kind, 0);
    EXPECT_EQ(parsed.records[0].compressor, 1);

    const ConvertRun o = ConvertRun::Of({"store", "--size", "64x32", "--zlib", raw, Path("z.dat")});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_NE(o.out.find("23 frames"), std::string::npos) << o.out;
    EXPECT_EQ(fstest::ParseStoreFile(Read(Path("z.dat"))).records[3].compressor, 2);
}

TEST_F(FrameStoreCommands, RawGivesBackTheFramesBitExact)
{
    const ConvertRun o = ConvertRun::Of({"raw", store, Path("back.raw")});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(Read(Path("back.raw")), Read(raw));
    const ConvertRun z = ConvertRun::Of({"store", "--size", "64x32", "--zlib", raw, Path("z.dat")});
    ASSERT_EQ(z.code, 0);
    ASSERT_EQ(ConvertRun::Of({"raw", Path("z.dat"), Path("zback.raw")}).code, 0);
    EXPECT_EQ(Read(Path("zback.raw")), Read(raw));
}

TEST_F(FrameStoreCommands, StoreReadsStandardInput)
{
    ASSERT_NE(std::freopen(raw.c_str(), "rb", stdin), nullptr);
    const ConvertRun o = ConvertRun::Of({"store", "--size", "64x32", "--delay", "0.07", "-", Path("stdin.dat")});
    EXPECT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(Read(Path("stdin.dat")), Read(store));
}

TEST_F(FrameStoreCommands, GifIsExactlyWhatEncodeMakesOfTheSameFrames)
{
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, {"--quality", "0", "--transparency"}, {"--quality", "2", "--dithering"}}) {
        std::vector<std::string> gif = {"gif"};
        gif.insert(gif.end(), options.begin(), options.end());
        gif.push_back(store);
        gif.push_back(Path("from-store.gif"));
        const ConvertRun a = ConvertRun::Of(gif);
        ASSERT_EQ(a.code, 0) << a.err;
        std::vector<std::string> encode = {"encode", "--size", "64x32", "--delay", "0.07"};
        encode.insert(encode.end(), options.begin(), options.end());
        encode.push_back(raw);
        encode.push_back(Path("from-raw.gif"));
        const ConvertRun b = ConvertRun::Of(encode);
        ASSERT_EQ(b.code, 0) << b.err;
        EXPECT_EQ(Read(Path("from-store.gif")), Read(Path("from-raw.gif")));
        const auto decoded = giftest::DecodeFile(std::filesystem::u8path(Path("from-store.gif")));
        ASSERT_TRUE(decoded.ok);
        EXPECT_EQ(decoded.frames.size(), std::size_t(kFrames));
        EXPECT_EQ(decoded.frames[0].delay, 7);
    }
}

TEST_F(FrameStoreCommands, FirstAndLastPickFramesCountedFromOneWithTheirDelays)
{
    // Frames 3 to 5 are exactly what encode makes of those three frames.
    const ConvertRun picked = ConvertRun::Of({"gif", "--first", "3", "--last", "5", store, Path("picked.gif")});
    ASSERT_EQ(picked.code, 0) << picked.err;
    EXPECT_NE(picked.out.find("3 frames"), std::string::npos) << picked.out;
    const Bytes all = Read(raw);
    const std::size_t frameBytes = std::size_t(kW) * kH * 3;
    Write(Path("three.raw"), Bytes(all.begin() + 2 * frameBytes, all.begin() + 5 * frameBytes));
    ASSERT_EQ(ConvertRun::Of({"encode", "--size", "64x32", "--delay", "0.07", Path("three.raw"), Path("three.gif")})
                  .code,
              0);
    EXPECT_EQ(Read(Path("picked.gif")), Read(Path("three.gif")));

    // Each keeps its own delay: a store whose frame i lasts 5 + i hundredths.
    fstest::WriteStore(dir / "timed.dat", kW, kH, frames);
    ASSERT_EQ(ConvertRun::Of({"gif", "--first=3", "--last=5", Path("timed.dat"), Path("timed.gif")}).code, 0);
    const auto decoded = giftest::DecodeFile(dir / "timed.gif");
    ASSERT_EQ(decoded.frames.size(), 3u);
    int total = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(decoded.frames[i].delay, 7 + int(i), 1) << i;
        total += decoded.frames[i].delay;
    }
    EXPECT_NEAR(total, 7 + 8 + 9, 1);

    const ConvertRun tail = ConvertRun::Of({"raw", "--first", "21", store, Path("tail.raw")});
    ASSERT_EQ(tail.code, 0) << tail.err;
    EXPECT_EQ(Read(Path("tail.raw")), Bytes(all.begin() + 20 * frameBytes, all.end()));

    for (const std::vector<std::string>& past :
         {std::vector<std::string>{"gif", "--last", "24", store, Path("past.gif")},
          {"raw", "--first", "24", store, Path("past.raw")}}) {
        const ConvertRun o = ConvertRun::Of(past);
        EXPECT_EQ(o.code, 1) << past[1];
        EXPECT_EQ(o.ErrLines(), 1) << o.err;
        EXPECT_NE(o.err.find("holds 23 frames"), std::string::npos) << o.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "past.gif"));
}

TEST_F(FrameStoreCommands, InfoListsTheHeaderAndEveryFrame)
{
    const ConvertRun o = ConvertRun::Of({"info", store});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_NE(o.out.find("64 x 32"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("header frame count 23"), std::string::npos);
    EXPECT_EQ(o.OutLines(), 2 + kFrames + 1);
    EXPECT_NE(o.out.find("\n      0  key "), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("\n      1  delta"), std::string::npos);
    EXPECT_NE(o.out.find("\n     20  key "), std::string::npos);
    EXPECT_NE(o.out.find("0.070"), std::string::npos);
}

TEST_F(FrameStoreCommands, InfoNamesTheFirstBadFrame)
{
    const ConvertRun o = ConvertRun::Of({"info", Damaged(9)});
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.ErrLines(), 1) << o.err;
    EXPECT_NE(o.err.find("frame 9"), std::string::npos) << o.err;
    EXPECT_EQ(o.OutLines(), 2 + 9 + 1) << "the frames before it are listed";

    Bytes cut = Read(store);
    cut.resize(cut.size() - 1);
    Write(Path("cut.dat"), cut);
    const ConvertRun t = ConvertRun::Of({"info", Path("cut.dat")});
    EXPECT_EQ(t.code, 1);
    EXPECT_NE(t.err.find("frame 22"), std::string::npos) << t.err;
    EXPECT_NE(t.err.find("torn"), std::string::npos) << t.err;
}

TEST_F(FrameStoreCommands, AnUnfinishedStoreAsksForRecover)
{
    const std::string unfinished = Unfinished();
    for (const std::string command : {"info", "gif", "raw"}) {
        std::vector<std::string> args = {command, unfinished};
        if (command != "info")
            args.push_back(Path("out"));
        const ConvertRun o = ConvertRun::Of(args);
        EXPECT_EQ(o.code, 1) << command;
        EXPECT_EQ(o.ErrLines(), 1) << o.err;
        EXPECT_NE(o.err.find("recover"), std::string::npos) << command << ": " << o.err;
    }
}

TEST_F(FrameStoreCommands, RecoverThenGif)
{
    const std::string unfinished = Unfinished();
    const ConvertRun r = ConvertRun::Of({"recover", unfinished});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("22 frames saved"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("the header said 0"), std::string::npos) << r.out;
    const ConvertRun g = ConvertRun::Of({"gif", unfinished, Path("rescued.gif")});
    ASSERT_EQ(g.code, 0) << g.err;
    EXPECT_EQ(giftest::DecodeFile(std::filesystem::u8path(Path("rescued.gif"))).frames.size(), 22u);
    const ConvertRun again = ConvertRun::Of({"recover", unfinished});
    EXPECT_EQ(again.code, 0);
    EXPECT_NE(again.out.find("already complete"), std::string::npos) << again.out;
}

TEST_F(FrameStoreCommands, DamagedStoresKeepTheFramesBeforeTheBadOne)
{
    const std::string damaged = Damaged(9);
    const ConvertRun g = ConvertRun::Of({"gif", damaged, Path("partial.gif")});
    EXPECT_EQ(g.code, 1);
    EXPECT_EQ(g.ErrLines(), 1) << g.err;
    EXPECT_NE(g.err.find("frame 9"), std::string::npos) << g.err;
    EXPECT_EQ(giftest::DecodeFile(std::filesystem::u8path(Path("partial.gif"))).frames.size(), 9u);

    const ConvertRun r = ConvertRun::Of({"raw", damaged, Path("partial.raw")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("frame 9"), std::string::npos) << r.err;
    const Bytes all = Read(raw);
    EXPECT_EQ(Read(Path("partial.raw")), Bytes(all.begin(), all.begin() + 9 * kW * kH * 3));

    const ConvertRun c = ConvertRun::Of({"recover", damaged});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_NE(c.out.find("9 frames saved"), std::string::npos) << c.out;
    EXPECT_EQ(ConvertRun::Of({"info", damaged}).code, 0);
}

TEST_F(FrameStoreCommands, EverySubcommandRefusesWhatIsNoStore)
{
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"empty.dat", {}},
        {"short.dat", Bytes(10, 1)},
        {"text.dat", Bytes(400, 'x')},
        {"header-only-bad.dat",
         [] {
             Bytes b(20, 0);
             fstest::PutLE32(&b[0], 1);
             fstest::PutLE32(&b[4], 100000);
             fstest::PutLE32(&b[8], 4);
             fstest::PutLE32(&b[12], 3);
             return b;
         }()},
    };
    for (const auto& [name, bytes] : files) {
        Write(Path(name), bytes);
        for (const std::string command : {"info", "gif", "raw", "recover"}) {
            std::vector<std::string> args = {command, Path(name)};
            if (command == "gif" || command == "raw")
                args.push_back(Path("out"));
            const ConvertRun o = ConvertRun::Of(args);
            EXPECT_EQ(o.code, 1) << command << " " << name;
            EXPECT_EQ(o.ErrLines(), 1) << command << " " << name << ": " << o.err;
        }
        EXPECT_EQ(Read(Path(name)), bytes) << "recover leaves it alone";
    }
    for (const std::string command : {"info", "gif", "raw", "recover"}) {
        std::vector<std::string> args = {command, Path("missing.dat")};
        if (command == "gif" || command == "raw")
            args.push_back(Path("out"));
        EXPECT_EQ(ConvertRun::Of(args).code, 1) << command;
    }
    // A store with no complete frame: recover says so and exits 1.
    Bytes file = Read(store);
    fstest::PutLE32(&file[16], 0);
    file.resize(30);
    Write(Path("nothing.dat"), file);
    const ConvertRun o = ConvertRun::Of({"recover", Path("nothing.dat")});
    EXPECT_EQ(o.code, 1);
    EXPECT_NE(o.out.find("0 frames saved"), std::string::npos) << o.out;
}

TEST_F(FrameStoreCommands, WrongUsageIsExitCode2)
{
    const std::vector<std::vector<std::string>> cases = {
        {"store"},
        {"store", raw, Path("x.dat")},
        {"store", "--size", "64x32", raw},
        {"store", "--size", "63x32", raw, Path("x.dat")},
        {"store", "--size", "65532x65535", raw, Path("x.dat")},
        {"store", "--size", "64x32", "--delay", "-1", raw, Path("x.dat")},
        {"store", "--size", "64x32", raw, "-"},
        {"store", "--size", "64x32", "--bogus", raw, Path("x.dat")},
        {"gif", store},
        {"gif", "--quality", "7", store, Path("x.gif")},
        {"gif", store, "-"},
        {"gif", "--first", "0", store, Path("x.gif")},
        {"gif", "--first", "5", "--last", "3", store, Path("x.gif")},
        {"raw", "--last", "two", store, Path("x.raw")},
        {"raw", store},
        {"raw", store, Path("a"), Path("b")},
        {"info"},
        {"info", store, store},
        {"recover"},
        {"recover", "--force", store},
    };
    for (const auto& args : cases) {
        const ConvertRun o = ConvertRun::Of(args);
        std::string joined;
        for (const auto& a : args)
            joined += a + " ";
        EXPECT_EQ(o.code, 2) << joined << ": " << o.err;
        EXPECT_EQ(o.ErrLines(), 1) << joined << ": " << o.err;
    }
}

TEST_F(FrameStoreCommands, StoreFailuresAreExitCode1AndLeaveNoFile)
{
    Bytes odd = Read(raw);
    odd.resize(odd.size() - 5);
    Write(Path("odd.raw"), odd);
    ConvertRun o = ConvertRun::Of({"store", "--size", "64x32", Path("odd.raw"), Path("odd.dat")});
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.ErrLines(), 1) << o.err;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(Path("odd.dat"))));
    o = ConvertRun::Of({"store", "--size", "64x32", raw, Path("no/such/folder/x.dat")});
    EXPECT_EQ(o.code, 1);
    o = ConvertRun::Of({"store", "--size", "64x32", Path("missing.raw"), Path("x.dat")});
    EXPECT_EQ(o.code, 1);
}

TEST_F(FrameStoreCommands, WidePaths)
{
    const std::string wide = Path(u8"\u65e5\u672c \u00e4.dat");
    ASSERT_EQ(ConvertRun::Of({"store", "--size", "64x32", raw, wide}).code, 0);
    EXPECT_EQ(ConvertRun::Of({"info", wide}).code, 0);
    EXPECT_EQ(ConvertRun::Of({"recover", wide}).code, 0);
    const std::string wideGif = Path(u8"\u0416.gif");
    EXPECT_EQ(ConvertRun::Of({"gif", wide, wideGif}).code, 0);
    EXPECT_EQ(giftest::DecodeFile(std::filesystem::u8path(wideGif)).frames.size(), std::size_t(kFrames));
}

} // namespace pelidore
