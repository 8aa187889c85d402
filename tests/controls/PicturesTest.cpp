#include "CNBitmap.h"
#include "CNScale.h"
#include "CNTopWindow.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <string>

namespace pelidore {

namespace {

struct Picture {
    UINT id;
    int width;
    int height;
};

// Every picture the windows and the frame use, at the size of the control
// (or the place) it is drawn on.
const Picture kPictures[] = {
    {IDB_PANEL_BACKGROUND, 377, 153},
    {IDB_CLOSE_PRESSED, 26, 26},
    {IDB_CLOSE, 26, 26},
    {IDB_ABOUT_PRESSED, 26, 26},
    {IDB_ABOUT, 26, 26},
    {IDB_RECORD_PRESSED, 86, 86},
    {IDB_RECORD, 86, 86},
    {IDB_RECORD_HOVER, 86, 86},
    {IDB_STOP_PRESSED, 86, 86},
    {IDB_STOP, 86, 86},
    {IDB_SNAPSHOT_PRESSED, 52, 52},
    {IDB_SNAPSHOT, 52, 52},
    {IDB_FOLDER_PRESSED, 52, 52},
    {IDB_FOLDER, 52, 52},
    {IDB_SETUP_PRESSED, 52, 52},
    {IDB_SETUP, 52, 52},
    {IDB_LOCK_OPEN_PRESSED, 28, 27},
    {IDB_LOCK_OPEN, 28, 27},
    {IDB_LOCK_SET_PRESSED, 28, 27},
    {IDB_LOCK_SET, 28, 27},
    {IDB_MARK_CENTRE, 48, 48},
    {IDB_MARK_BOTTOM_LEFT, 22, 22},
    {IDB_MARK_TOP_LEFT, 22, 22},
    {IDB_MARK_BOTTOM_RIGHT, 22, 22},
    {IDB_MARK_TOP_RIGHT, 22, 22},
    {IDB_CHECK_BOX, 16, 16},
    {IDB_CHECK_BOX_CHECKED, 16, 16},
    {IDB_SETUP_BACKGROUND, 377, 252},
    {IDB_SLIDER_THUMB, 16, 24},
    {IDB_SLIDER_TRACK, 220, 24},
    {IDB_LOGO_BACKGROUND, 377, 238},
    {IDB_CANCEL_PRESSED, 61, 31},
    {IDB_CANCEL, 61, 31},
    {IDB_OK_PRESSED, 61, 31},
    {IDB_OK, 61, 31},
    {IDB_TIME_LOCK_BACKGROUND, 377, 52},
    {IDB_SIZE_LOCK_BACKGROUND, 287, 52},
    {IDB_ABOUT_BACKGROUND, 377, 180},
    {IDB_MINIMIZE_PRESSED, 26, 26},
    {IDB_MINIMIZE, 26, 26},
    {IDB_COMBO, 145, 20},
    {IDB_COMBO_HOVER, 145, 20},
    {IDB_COMBO_OPEN, 145, 20},
    {IDB_DROP_ARROW, 13, 10},
    {IDB_DROP_ARROW_PRESSED, 13, 10},
    {IDB_SMALL_COMBO, 70, 20},
    {IDB_SMALL_COMBO_HOVER, 70, 20},
    {IDB_SMALL_COMBO_OPEN, 70, 20},
    {IDB_COLOR_PRESSED, 47, 23},
    {IDB_COLOR, 47, 23},
    {IDB_BROWSE_PRESSED, 47, 23},
    {IDB_BROWSE, 47, 23},
    {IDB_CORNER_BOTTOM_LEFT, 22, 22},
    {IDB_CORNER_BOTTOM_LEFT_SET, 22, 22},
    {IDB_CORNER_TOP_LEFT, 22, 22},
    {IDB_CORNER_TOP_LEFT_SET, 22, 22},
    {IDB_CORNER_BOTTOM_RIGHT, 22, 22},
    {IDB_CORNER_BOTTOM_RIGHT_SET, 22, 22},
    {IDB_CORNER_TOP_RIGHT, 22, 22},
    {IDB_CORNER_TOP_RIGHT_SET, 22, 22},
    {IDB_LOGO_PRESSED, 52, 52},
    {IDB_LOGO, 52, 52},
    {IDB_FOLDER_FIELD, 200, 20},
    {IDB_SAVE_BACKGROUND, 377, 122},
    {IDB_PAUSE_PRESSED, 26, 26},
    {IDB_PAUSE, 26, 26},
    {IDB_RESUME_PRESSED, 26, 26},
    {IDB_RESUME, 26, 26},
    {IDB_OPTIONS_PRESSED, 26, 26},
    {IDB_OPTIONS, 26, 26},
    {IDB_CLEAR_PRESSED, 24, 22},
    {IDB_CLEAR, 24, 22},
    {IDB_OPTIONS_BACKGROUND, 377, 294},
    {IDB_REVIEW_BACKGROUND, 672, 584},
    {IDB_REVIEW_PLAY, 44, 32},
    {IDB_REVIEW_PLAY_PRESSED, 44, 32},
    {IDB_REVIEW_PAUSE, 44, 32},
    {IDB_REVIEW_PAUSE_PRESSED, 44, 32},
    {IDB_REVIEW_DELETE, 96, 32},
    {IDB_REVIEW_DELETE_PRESSED, 96, 32},
    {IDB_REVIEW_UNDO, 84, 32},
    {IDB_REVIEW_UNDO_PRESSED, 84, 32},
    {IDB_REVIEW_DISCARD, 96, 32},
    {IDB_REVIEW_DISCARD_PRESSED, 96, 32},
    {IDB_REVIEW_SAVE, 104, 32},
    {IDB_REVIEW_SAVE_PRESSED, 104, 32},
    {IDB_REVIEW_KEEP, 96, 32},
    {IDB_REVIEW_KEEP_PRESSED, 96, 32},
    {IDB_REVIEW_CONFIRM, 104, 32},
    {IDB_REVIEW_CONFIRM_PRESSED, 104, 32},
};

// The ids the windows' tables name (the logo window's background is the one addition).
const UINT kWindowIds[] = {157, 158, 159, 160, 161, 162, 163, 164, 165, 166, 168, 169, 170, 171, 172, 173,
                           174, 175, 176, 177, 178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 190, 191,
                           192, 193, 194, 195, 196, 197, 198, 199, 200, 201, 204, 205, 207, 208, 209, 213,
                           214, 215, 216, 218, 219, 220, 221, 222, 223, 224, 225, 226, 227, 228, 229};

TEST(Pictures, EveryPictureLoadsAsThirtyTwoBitsAtItsControlsSize)
{
    for (const Picture& picture : kPictures) {
        CNBitmap bitmap;
        ASSERT_EQ(bitmap.LoadResource(CNTopWindow::ModuleInstance(), picture.id), 0) << picture.id;
        EXPECT_EQ(bitmap.Width(), picture.width) << picture.id;
        EXPECT_EQ(bitmap.Height(), picture.height) << picture.id;
        EXPECT_EQ(bitmap.BitsPerPixel(), 32) << picture.id;
    }
}

TEST(Pictures, EveryIdTheWindowsNameIsThere)
{
    for (UINT id : kWindowIds) {
        bool listed = false;
        for (const Picture& picture : kPictures)
            listed = listed || picture.id == id;
        EXPECT_TRUE(listed) << id;
        EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"PNG"), nullptr) << id;
    }
    // The stop button's hover id names no picture.
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(2), L"PNG"), nullptr);
}

// Each picture is drawn again at 150 % and 200 %, at its size scaled the way
// the windows scale their layout.
TEST(Pictures, EveryPictureIsDrawnAtOneAndAHalfAndTwiceItsSize)
{
    for (const Picture& picture : kPictures) {
        for (int step : {1, 2}) {
            const CNScale scale(CNScale::kLayoutDpi + step * CNScale::kLayoutDpi / 2);
            CNBitmap drawing;
            ASSERT_EQ(drawing.LoadResource(CNTopWindow::ModuleInstance(), picture.id + step * CNBitmap::kDensityIdStep),
                      0)
                << picture.id << " at " << scale.Dpi();
            EXPECT_EQ(drawing.Width(), scale.ToPixels(picture.width)) << picture.id << " at " << scale.Dpi();
            EXPECT_EQ(drawing.Height(), scale.ToPixels(picture.height)) << picture.id << " at " << scale.Dpi();
        }
    }
}

bool SamePixels(const CNBitmap& a, const CNBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            Gdiplus::Color left, right;
            a.Image()->GetPixel(x, y, &left);
            b.Image()->GetPixel(x, y, &right);
            if (left.GetValue() != right.GetValue())
                return false;
        }
    return true;
}

// 150 % and 200 % use their drawings as they are, 100 % the picture itself;
// any other scale gets a copy at its own size.
TEST(Pictures, AScaleTakesTheNearestLargerDrawingAtTheScaledSize)
{
    const HINSTANCE module = CNTopWindow::ModuleInstance();
    CNBitmap record;
    ASSERT_EQ(record.LoadResource(module, IDB_RECORD), 0);
    EXPECT_EQ(&record.ForScale(CNScale()), &record);
    for (int step : {1, 2}) {
        CNBitmap drawing;
        ASSERT_EQ(drawing.LoadResource(module, IDB_RECORD + step * CNBitmap::kDensityIdStep), 0);
        const CNBitmap& scaled = record.ForScale(CNScale(CNScale::kLayoutDpi + step * CNScale::kLayoutDpi / 2));
        EXPECT_TRUE(SamePixels(scaled, drawing)) << step;
        EXPECT_EQ(scaled.LayoutWidth(), 86);
    }
    for (int dpi : {120, 240}) {
        const CNBitmap& scaled = record.ForScale(CNScale(dpi));
        EXPECT_EQ(scaled.Density().Dpi(), dpi);
        EXPECT_EQ(scaled.Width(), CNScale(dpi).ToPixels(86));
        EXPECT_EQ(scaled.Height(), CNScale(dpi).ToPixels(86));
    }
}

TEST(Pictures, TheManifestAsksForCommonControlsAndPerMonitorAwareness)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_MANIFEST), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    HGLOBAL loaded = LoadResource(nullptr, found);
    ASSERT_NE(loaded, nullptr);
    const char* bytes = static_cast<const char*>(LockResource(loaded));
    std::string manifest(bytes, SizeofResource(nullptr, found));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true"),
              std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2</dpiAwareness>"), std::string::npos);
}

} // namespace

} // namespace pelidore
