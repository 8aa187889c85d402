// libFuzzer target for the two settings file readers: whatever the bytes,
// loading must stay inside them, leave every string terminated inside its
// buffer and every value inside the range the windows can show, and what is
// loaded must survive its own write and read unchanged.
#include "CConfigFile.h"
#include "CFixedText.h"
#include "CLogoFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace pelidore {

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void RequireTerminated(const CFixedText& text)
{
    Require(text.Units()[CFixedText::kUnits - 1] == 0);
    Require(text.Length() <= CFixedText::kMaxLength);
}

void CheckConfig(const std::uint8_t* data, std::size_t size)
{
    CConfigFile config;
    config.workFolder.Assign(u"C:\\default");
    const bool whole = config.Load(data, size);
    Require(whole == (size >= CConfigFile::kSize));
    Require(config.fpsStep >= 0 && config.fpsStep <= CConfigFile::kMaxFpsStep);
    Require(config.scaleStep >= 0 && config.scaleStep <= CConfigFile::kMaxScaleStep);
    Require(config.speedStep >= 0 && config.speedStep <= CConfigFile::kMaxSpeedStep);
    RequireTerminated(config.workFolder);
    Require(!config.workFolder.Empty());

    const auto bytes = config.Serialise();
    Require(bytes.size() == CConfigFile::kSize);
    CConfigFile again;
    Require(again.Load(bytes));
    Require(again == config);
}

void CheckLogo(const std::uint8_t* data, std::size_t size)
{
    CLogoFile logo;
    const bool whole = logo.Load(data, size);
    Require(whole == (size >= CLogoFile::kSize));
    Require(logo.logoKind >= CLogoFile::kNoLogo && logo.logoKind <= CLogoFile::kImageLogo);
    Require(logo.corner >= CLogoFile::kTopLeft && logo.corner <= CLogoFile::kBottomLeft);
    Require(logo.marginX >= 0 && logo.marginX <= CLogoFile::kMaxMargin);
    Require(logo.marginY >= 0 && logo.marginY <= CLogoFile::kMaxMargin);
    Require(CLogoFile::kFontSizes[CLogoFile::FontSizeIndex(logo.fontSize)] == logo.fontSize);
    RequireTerminated(logo.logoText);
    RequireTerminated(logo.fontFace);
    RequireTerminated(logo.imagePath);

    const auto bytes = logo.Serialise();
    Require(bytes.size() == CLogoFile::kSize);
    for (std::size_t i = 0; i < CLogoFile::kReservedBytes; ++i)
        Require(bytes[i] == 0);
    CLogoFile again;
    Require(again.Load(bytes));
    Require(again == logo);
}

} // namespace

} // namespace pelidore

using namespace pelidore;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckConfig(data, size);
    CheckLogo(data, size);
    return 0;
}
