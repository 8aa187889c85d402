// "Smaller files" and a size to fit, set in options.ini, in the real program
// under Wine: live and deferred GIFs with their frames cut to what changed.
#include "EndToEndTest.h"
#include "GifTestUtil.h"
#include "Options.h"

#include <gtest/gtest.h>

using namespace pelidore;

namespace {

class EncoderOptionsEndToEnd : public EndToEndTest {
protected:
    // The recording's GIF, checked: its whole time, and images after the
    // first cut to the scene's moving part.
    void ExpectCroppedGif(const Recording& recording, std::uintmax_t limit)
    {
        const fs::path path = OnlyGif();
        ASSERT_FALSE(path.empty());
        EXPECT_LE(fs::file_size(path), limit);
        const giftest::DecodedGif gif = giftest::DecodeFile(path);
        ASSERT_TRUE(gif.ok);
        ASSERT_GE(gif.frames.size(), 4u);
        int cropped = 0;
        long long centiseconds = 0;
        for (const giftest::DecodedFrame& frame : gif.frames) {
            centiseconds += frame.delay;
            if (frame.width * frame.height < gif.width * gif.height)
                ++cropped;
        }
        EXPECT_GE(cropped, static_cast<int>(gif.frames.size()) / 2);
        EXPECT_NEAR(centiseconds / 100.0, recording.wallSeconds, 0.8);
    }
};

} // namespace

TEST_F(EncoderOptionsEndToEnd, LiveAndDeferredGifsAreCutToWhatChanged)
{
    Options options;
    options.smallerFiles = true;
    WriteOptions(options);
    WriteConfig(10, 0); // "High Speed": written live
    StartPelidore();
    Recording recording = Record(2000);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    ExpectCroppedGif(recording, UINTMAX_MAX);
    Quit();
    fs::remove(OnlyGif());

    options.smallerFiles = false;
    options.fitToMb = 1;
    WriteOptions(options);
    WriteConfig(10, 2); // "Medium Quality": saved after the stop, fitted
    StartPelidore();
    recording = Record(2000);
    ASSERT_EQ(Pelictl(L"wait-idle"), 0);
    EXPECT_TRUE(FilesEndingWith(L".dat").empty());
    ExpectCroppedGif(recording, 1048576);
}
