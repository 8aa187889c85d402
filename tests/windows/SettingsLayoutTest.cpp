#include "CConfigFile.h"
#include "CFixedText.h"
#include "CLogoEnableRule.h"
#include "CLogoFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pelidore {

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutInt32(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutText(Bytes& bytes, std::size_t offset, const std::u16string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes.at(offset + 2 * i) = static_cast<std::uint8_t>(text[i] & 0xFF);
        bytes.at(offset + 2 * i + 1) = static_cast<std::uint8_t>(text[i] >> 8);
    }
}

std::uint32_t GetInt32(const Bytes& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes.at(offset + i)) << (8 * i);
    return value;
}

std::u16string GetText(const Bytes& bytes, std::size_t offset)
{
    std::u16string text;
    for (std::size_t i = 0; i < CFixedText::kUnits; ++i) {
        const char16_t unit = static_cast<char16_t>(bytes.at(offset + 2 * i) | bytes.at(offset + 2 * i + 1) << 8);
        if (unit == 0)
            break;
        text += unit;
    }
    return text;
}

CConfigFile ConfigWithFolder(const std::u16string& folder)
{
    CConfigFile config;
    config.workFolder.Assign(folder);
    return config;
}

// --- CFixedText -----------------------------------------------------------

TEST(FixedText, KeepsRoomForTheTerminator)
{
    const std::u16string longText(400, u'x');
    CFixedText text(longText);
    EXPECT_EQ(text.Length(), CFixedText::kMaxLength);
    EXPECT_EQ(text.Units()[CFixedText::kUnits - 1], 0);

    text.Assign(u"short");
    EXPECT_EQ(text.View(), u"short");
    EXPECT_EQ(text.Units()[5], 0) << "a shorter text must not leave the old one's tail behind";
    EXPECT_EQ(text.Units()[6], 0);
}

TEST(FixedText, CopyToCutsAtTheCallersCapacity)
{
    const CFixedText text(u"abcdef");
    char16_t small[4] = {1, 1, 1, 1};
    text.CopyTo(small, 4);
    EXPECT_EQ(std::u16string(small), u"abc");

    char16_t exact[7];
    text.CopyTo(exact, 7);
    EXPECT_EQ(std::u16string(exact), u"abcdef");

    const CFixedText empty;
    char16_t one[1] = {7};
    empty.CopyTo(one, 1);
    EXPECT_EQ(one[0], 0);
}

TEST(FixedText, AssignUnitsStopsAtZeroOrCapacity)
{
    const char16_t source[] = {u'a', u'b', 0, u'c'};
    CFixedText text;
    text.AssignUnits(source, 4);
    EXPECT_EQ(text.View(), u"ab");
    text.AssignUnits(source + 3, 1);
    EXPECT_EQ(text.View(), u"c");
    text.AssignUnits(static_cast<const char16_t*>(nullptr), 10);
    EXPECT_TRUE(text.Empty());
}

// --- config.dat -----------------------------------------------------------

TEST(ConfigFile, DefaultsAreTenFramesFullSizeNormalSpeedDitheredLiveMode)
{
    const CConfigFile config;
    EXPECT_EQ(config.fpsStep, 9);
    EXPECT_EQ(config.scaleStep, 70);
    EXPECT_EQ(config.speedStep, 50);
    EXPECT_TRUE(config.dithering);
    EXPECT_FALSE(config.cursorCapture);
    EXPECT_FALSE(config.transparent);
    EXPECT_EQ(config.qualityIndex, 0);
}

TEST(ConfigFile, ReadsEveryFieldAtItsOffset)
{
    Bytes bytes(CConfigFile::kSize, 0);
    PutInt32(bytes, 0, 3);
    PutInt32(bytes, 4, 40);
    PutInt32(bytes, 8, 120);
    bytes[12] = 0;
    bytes[13] = 1;
    bytes[14] = 1;
    PutInt32(bytes, 15, 2);
    PutText(bytes, 19, u"D:\\Clips\\\u00e9t\u00e9");

    CConfigFile config = ConfigWithFolder(u"C:\\default");
    EXPECT_TRUE(config.Load(bytes));
    EXPECT_EQ(config.fpsStep, 3);
    EXPECT_EQ(config.scaleStep, 40);
    EXPECT_EQ(config.speedStep, 120);
    EXPECT_FALSE(config.dithering);
    EXPECT_TRUE(config.cursorCapture);
    EXPECT_TRUE(config.transparent);
    EXPECT_EQ(config.qualityIndex, 2);
    EXPECT_EQ(config.workFolder.View(), u"D:\\Clips\\\u00e9t\u00e9");
}

TEST(ConfigFile, FlagBytesAreDitheringThenCursorThenTransparent)
{
    Bytes bytes = CConfigFile().Serialise();
    bytes[12] = 0x01;
    bytes[13] = 0x00;
    bytes[14] = 0x00;
    CConfigFile config;
    config.dithering = false;
    config.cursorCapture = true;
    config.transparent = true;
    config.Load(bytes);
    EXPECT_TRUE(config.dithering);
    EXPECT_FALSE(config.cursorCapture);
    EXPECT_FALSE(config.transparent);

    bytes[12] = 0x00;
    bytes[14] = 0xFF; // any non-zero byte counts as checked
    config.Load(bytes);
    EXPECT_FALSE(config.dithering);
    EXPECT_TRUE(config.transparent);
}

TEST(ConfigFile, SliderStepsAreClampedToTheirRanges)
{
    Bytes bytes = CConfigFile().Serialise();
    PutInt32(bytes, 0, 40);
    PutInt32(bytes, 4, static_cast<std::uint32_t>(-5));
    PutInt32(bytes, 8, 0x7FFFFFFF);
    CConfigFile config;
    config.Load(bytes);
    EXPECT_EQ(config.fpsStep, 29);
    EXPECT_EQ(config.scaleStep, 0);
    EXPECT_EQ(config.speedStep, 150);

    PutInt32(bytes, 0, static_cast<std::uint32_t>(-5));
    PutInt32(bytes, 8, 0x80000000u);
    config.Load(bytes);
    EXPECT_EQ(config.fpsStep, 0);
    EXPECT_EQ(config.speedStep, 0);
}

TEST(ConfigFile, QualityIndexIsTakenAsItStands)
{
    Bytes bytes = CConfigFile().Serialise();
    PutInt32(bytes, 15, static_cast<std::uint32_t>(-1));
    CConfigFile config;
    config.Load(bytes);
    EXPECT_EQ(config.qualityIndex, -1);
    PutInt32(bytes, 15, 9);
    config.Load(bytes);
    EXPECT_EQ(config.qualityIndex, 9);
}

TEST(ConfigFile, SerialisesTheExactLayout)
{
    CConfigFile config = ConfigWithFolder(u"C:\\users\\me\\Documents\\Pelidore");
    config.fpsStep = 29;
    config.scaleStep = 1;
    config.speedStep = 150;
    config.dithering = false;
    config.cursorCapture = true;
    config.transparent = false;
    config.qualityIndex = -1;
    const Bytes bytes = config.Serialise();
    ASSERT_EQ(bytes.size(), 539u);
    EXPECT_EQ(GetInt32(bytes, 0), 29u);
    EXPECT_EQ(GetInt32(bytes, 4), 1u);
    EXPECT_EQ(GetInt32(bytes, 8), 150u);
    EXPECT_EQ(bytes[12], 0);
    EXPECT_EQ(bytes[13], 1);
    EXPECT_EQ(bytes[14], 0);
    EXPECT_EQ(GetInt32(bytes, 15), 0xFFFFFFFFu);
    EXPECT_EQ(GetText(bytes, 19), u"C:\\users\\me\\Documents\\Pelidore");
    for (std::size_t i = 19 + 2 * config.workFolder.Length(); i < bytes.size(); ++i)
        ASSERT_EQ(bytes[i], 0) << "unused folder units must be zero, offset " << i;

    CConfigFile reloaded;
    reloaded.Load(bytes);
    EXPECT_EQ(reloaded, config);
}

TEST(ConfigFile, ShortFilesKeepTheDefaultOfEveryFieldTheyDoNotHoldWhole)
{
    const CConfigFile defaults = ConfigWithFolder(u"C:\\default");
    CConfigFile stored;
    stored.fpsStep = 1;
    stored.scaleStep = 2;
    stored.speedStep = 3;
    stored.dithering = false;
    stored.cursorCapture = true;
    stored.transparent = true;
    stored.qualityIndex = 3;
    stored.workFolder.Assign(u"E:\\x");
    const Bytes full = stored.Serialise();

    struct Cut {
        std::size_t length;
        int fieldsKept; // how many leading fields come from the file
    };
    const Cut cuts[] = {{0, 0},  {3, 0},  {4, 1},  {7, 1},  {11, 2},  {12, 3}, {13, 4},
                        {14, 5}, {15, 6}, {18, 6}, {19, 7}, {538, 7}, {539, 8}};
    for (const Cut& cut : cuts) {
        SCOPED_TRACE("length " + std::to_string(cut.length));
        CConfigFile config = defaults;
        const bool whole = config.Load(full.data(), cut.length);
        EXPECT_EQ(whole, cut.length == full.size());
        EXPECT_EQ(config.fpsStep, cut.fieldsKept > 0 ? 1 : 9);
        EXPECT_EQ(config.scaleStep, cut.fieldsKept > 1 ? 2 : 70);
        EXPECT_EQ(config.speedStep, cut.fieldsKept > 2 ? 3 : 50);
        EXPECT_EQ(config.dithering, cut.fieldsKept > 3 ? false : true);
        EXPECT_EQ(config.cursorCapture, cut.fieldsKept > 4);
        EXPECT_EQ(config.transparent, cut.fieldsKept > 5);
        EXPECT_EQ(config.qualityIndex, cut.fieldsKept > 6 ? 3 : 0);
        EXPECT_EQ(config.workFolder.View(), cut.fieldsKept > 7 ? u"E:\\x" : u"C:\\default");
    }

    CConfigFile fromNothing = defaults;
    EXPECT_FALSE(fromNothing.Load(nullptr, 539));
    EXPECT_EQ(fromNothing, defaults);
}

TEST(ConfigFile, LongerFilesAreReadUpToTheLayoutsEnd)
{
    Bytes bytes = ConfigWithFolder(u"F:\\a").Serialise();
    bytes.resize(2000, 0xAB);
    CConfigFile config;
    EXPECT_TRUE(config.Load(bytes));
    EXPECT_EQ(config.workFolder.View(), u"F:\\a");
}

TEST(ConfigFile, AFolderFilledToTheLastUnitIsCutInsideTheBuffer)
{
    Bytes bytes = CConfigFile().Serialise();
    PutText(bytes, 19, std::u16string(260, u'q'));
    CConfigFile config;
    config.Load(bytes);
    EXPECT_EQ(config.workFolder.Length(), 259u);
    EXPECT_EQ(config.workFolder.Units()[259], 0);
}

TEST(ConfigFile, AnEmptyStoredFolderKeepsTheDefaultFolder)
{
    CConfigFile config = ConfigWithFolder(u"C:\\default");
    config.Load(Bytes(CConfigFile::kSize, 0));
    EXPECT_EQ(config.workFolder.View(), u"C:\\default");
    EXPECT_EQ(config.fpsStep, 0) << "the numeric fields of an all-zero file are still taken";
}

// --- logo.dat -------------------------------------------------------------

TEST(LogoFile, DefaultsAreNoLogoArial18WhiteOnBlackTopLeft)
{
    const CLogoFile logo;
    EXPECT_EQ(logo.logoKind, CLogoFile::kNoLogo);
    EXPECT_TRUE(logo.logoText.Empty());
    EXPECT_EQ(logo.fontFace.View(), u"Arial");
    EXPECT_EQ(logo.fontSize, 18);
    EXPECT_EQ(logo.fillColor, 0xFFFFFFFFu);
    EXPECT_EQ(logo.outlineColor, 0xFF000000u);
    EXPECT_TRUE(logo.imagePath.Empty());
    EXPECT_EQ(logo.corner, CLogoFile::kTopLeft);
    EXPECT_EQ(logo.marginX, 5);
    EXPECT_EQ(logo.marginY, 5);
}

TEST(LogoFile, ReadsEveryFieldAtItsOffsetAndSkipsTheReservedHead)
{
    Bytes bytes(CLogoFile::kSize, 0);
    for (std::size_t i = 0; i < 13; ++i)
        bytes[i] = 0xEE; // whatever the head holds is ignored
    PutInt32(bytes, 13, 1);
    PutText(bytes, 17, u"\u00a9 Studio");
    PutText(bytes, 537, u"Liberation Sans");
    PutInt32(bytes, 1057, 24);
    PutInt32(bytes, 1061, 0x80FF8000);
    PutInt32(bytes, 1065, 0xFF102030);
    PutText(bytes, 1069, u"C:\\pics\\logo.png");
    PutInt32(bytes, 1589, 2);
    PutInt32(bytes, 1593, 12);
    PutInt32(bytes, 1597, 34);

    CLogoFile logo;
    EXPECT_TRUE(logo.Load(bytes));
    EXPECT_EQ(logo.logoKind, CLogoFile::kTextLogo);
    EXPECT_EQ(logo.logoText.View(), u"\u00a9 Studio");
    EXPECT_EQ(logo.fontFace.View(), u"Liberation Sans");
    EXPECT_EQ(logo.fontSize, 24);
    EXPECT_EQ(logo.fillColor, 0x80FF8000u);
    EXPECT_EQ(logo.outlineColor, 0xFF102030u);
    EXPECT_EQ(logo.imagePath.View(), u"C:\\pics\\logo.png");
    EXPECT_EQ(logo.corner, CLogoFile::kBottomRight);
    EXPECT_EQ(logo.marginX, 12);
    EXPECT_EQ(logo.marginY, 34);
}

TEST(LogoFile, SerialisesThirteenZeroBytesThenTheFields)
{
    CLogoFile logo;
    logo.logoKind = CLogoFile::kImageLogo;
    logo.logoText.Assign(u"kept while the image is in force");
    logo.fontFace.Assign(u"Verdana");
    logo.fontSize = 32;
    logo.fillColor = 0x80112233; // half transparent
    logo.outlineColor = 0x00FFFFFF;
    logo.imagePath.Assign(u"C:\\a.bmp");
    logo.corner = CLogoFile::kBottomLeft;
    logo.marginX = 0;
    logo.marginY = 999;

    const Bytes bytes = logo.Serialise();
    ASSERT_EQ(bytes.size(), 1601u);
    for (std::size_t i = 0; i < 13; ++i)
        EXPECT_EQ(bytes[i], 0) << "reserved byte " << i;
    EXPECT_EQ(GetInt32(bytes, 13), 2u);
    EXPECT_EQ(GetText(bytes, 17), u"kept while the image is in force");
    EXPECT_EQ(GetText(bytes, 537), u"Verdana");
    EXPECT_EQ(GetInt32(bytes, 1057), 32u);
    EXPECT_EQ(GetInt32(bytes, 1061), 0x80112233u);
    EXPECT_EQ(bytes[1064], 0x80) << "alpha is the high byte of the little-endian word";
    EXPECT_EQ(GetInt32(bytes, 1065), 0x00FFFFFFu);
    EXPECT_EQ(GetText(bytes, 1069), u"C:\\a.bmp");
    EXPECT_EQ(GetInt32(bytes, 1589), 3u);
    EXPECT_EQ(GetInt32(bytes, 1593), 0u);
    EXPECT_EQ(GetInt32(bytes, 1597), 999u);

    CLogoFile reloaded;
    reloaded.Load(bytes);
    EXPECT_EQ(reloaded, logo);
    EXPECT_EQ(reloaded.fillColor >> 24, 128u) << "alpha 128 must round-trip unchanged";
}

TEST(LogoFile, ShortFilesKeepTheDefaultOfEveryFieldTheyDoNotHoldWhole)
{
    CLogoFile stored;
    stored.logoKind = CLogoFile::kTextLogo;
    stored.logoText.Assign(u"T");
    stored.fontFace.Assign(u"F");
    stored.fontSize = 10;
    stored.fillColor = 1;
    stored.outlineColor = 2;
    stored.imagePath.Assign(u"P");
    stored.corner = 1;
    stored.marginX = 7;
    stored.marginY = 8;
    const Bytes full = stored.Serialise();

    const std::size_t fieldEnds[] = {17, 537, 1057, 1061, 1065, 1069, 1589, 1593, 1597, 1601};
    const std::size_t lengths[] = {0,    12,   13,   16,   17,   536,  537,  1056, 1057, 1060, 1061, 1064,
                                   1065, 1068, 1069, 1588, 1589, 1592, 1593, 1596, 1597, 1600, 1601};
    for (std::size_t length : lengths) {
        SCOPED_TRACE("length " + std::to_string(length));
        auto held = [&](int field) { return length >= fieldEnds[field]; };
        CLogoFile logo;
        EXPECT_EQ(logo.Load(full.data(), length), length == full.size());
        EXPECT_EQ(logo.logoKind, held(0) ? 1 : 0);
        EXPECT_EQ(logo.logoText.View(), held(1) ? u"T" : u"");
        EXPECT_EQ(logo.fontFace.View(), held(2) ? u"F" : u"Arial");
        EXPECT_EQ(logo.fontSize, held(3) ? 10 : 18);
        EXPECT_EQ(logo.fillColor, held(4) ? 1u : 0xFFFFFFFFu);
        EXPECT_EQ(logo.outlineColor, held(5) ? 2u : 0xFF000000u);
        EXPECT_EQ(logo.imagePath.View(), held(6) ? u"P" : u"");
        EXPECT_EQ(logo.corner, held(7) ? 1 : 0);
        EXPECT_EQ(logo.marginX, held(8) ? 7 : 5);
        EXPECT_EQ(logo.marginY, held(9) ? 8 : 5);
    }
}

TEST(LogoFile, StringsFilledToTheLastUnitAreCutInsideTheirBuffers)
{
    Bytes bytes = CLogoFile().Serialise();
    const std::u16string full(260, u'z');
    PutText(bytes, 17, full);
    PutText(bytes, 537, full);
    PutText(bytes, 1069, full);
    CLogoFile logo;
    logo.Load(bytes);
    for (const CFixedText* text : {&logo.logoText, &logo.fontFace, &logo.imagePath}) {
        EXPECT_EQ(text->Length(), 259u);
        EXPECT_EQ(text->Units()[259], 0);
    }
    EXPECT_EQ(logo.fontSize, 18) << "the neighbouring field must not be disturbed";
}

TEST(LogoFile, FontSizesOutsideTheListLoadAsTheFirstSize)
{
    EXPECT_EQ(CLogoFile::FontSizeIndex(8), 0u);
    EXPECT_EQ(CLogoFile::FontSizeIndex(18), 5u);
    EXPECT_EQ(CLogoFile::FontSizeIndex(32), 9u);
    EXPECT_EQ(CLogoFile::FontSizeIndex(15), 0u);

    Bytes bytes = CLogoFile().Serialise();
    PutInt32(bytes, 1057, 15);
    CLogoFile logo;
    logo.Load(bytes);
    EXPECT_EQ(logo.fontSize, 8);
}

TEST(LogoFile, KindCornerAndMarginsOutsideWhatTheWindowShowsAreBroughtIntoRange)
{
    Bytes bytes = CLogoFile().Serialise();
    PutInt32(bytes, 13, 3);
    PutInt32(bytes, 1589, 4);
    PutInt32(bytes, 1593, static_cast<std::uint32_t>(-20));
    PutInt32(bytes, 1597, 100000);
    CLogoFile logo;
    logo.Load(bytes);
    EXPECT_EQ(logo.logoKind, CLogoFile::kNoLogo);
    EXPECT_EQ(logo.corner, CLogoFile::kTopLeft);
    EXPECT_EQ(logo.marginX, 0);
    EXPECT_EQ(logo.marginY, CLogoFile::kMaxMargin);

    PutInt32(bytes, 13, static_cast<std::uint32_t>(-1));
    PutInt32(bytes, 1589, static_cast<std::uint32_t>(-1));
    logo.Load(bytes);
    EXPECT_EQ(logo.logoKind, CLogoFile::kNoLogo);
    EXPECT_EQ(logo.corner, CLogoFile::kTopLeft);
}

// --- which logo controls take input -------------------------------------

TEST(LogoEnableRule, EachKindEnablesOnlyItsOwnControls)
{
    const CLogoEnableRule text = CLogoEnableRule::ForKind(CLogoFile::kTextLogo);
    EXPECT_TRUE(text.fontControls);
    EXPECT_TRUE(text.textEditShown);
    EXPECT_FALSE(text.browseButton);
    EXPECT_TRUE(text.placement);

    const CLogoEnableRule image = CLogoEnableRule::ForKind(CLogoFile::kImageLogo);
    EXPECT_FALSE(image.fontControls);
    EXPECT_FALSE(image.textEditShown);
    EXPECT_TRUE(image.browseButton);
    EXPECT_TRUE(image.placement);

    for (int kind : {0, 3, -1}) {
        const CLogoEnableRule none = CLogoEnableRule::ForKind(kind);
        EXPECT_FALSE(none.fontControls || none.textEditShown || none.browseButton || none.placement) << "kind " << kind;
    }
}

} // namespace

} // namespace pelidore
