#include "CLogoFile.h"

#include "CFieldReader.h"
#include "CFieldWriter.h"

#include <algorithm>

namespace pelidore {

bool CLogoFile::Load(const std::uint8_t* bytes, std::size_t count)
{
    CFieldReader reader(bytes, count);
    reader.Skip(kReservedBytes);
    reader.ReadInt32(logoKind);
    reader.ReadText(logoText);
    reader.ReadText(fontFace);
    reader.ReadInt32(fontSize);
    reader.ReadUInt32(fillColor);
    reader.ReadUInt32(outlineColor);
    reader.ReadText(imagePath);
    reader.ReadInt32(corner);
    reader.ReadInt32(marginX);
    reader.ReadInt32(marginY);
    BringIntoRange();
    return reader.HeldEverything();
}

std::vector<std::uint8_t> CLogoFile::Serialise() const
{
    CFieldWriter writer;
    writer.WriteZeros(kReservedBytes);
    writer.WriteInt32(logoKind);
    writer.WriteText(logoText);
    writer.WriteText(fontFace);
    writer.WriteInt32(fontSize);
    writer.WriteUInt32(fillColor);
    writer.WriteUInt32(outlineColor);
    writer.WriteText(imagePath);
    writer.WriteInt32(corner);
    writer.WriteInt32(marginX);
    writer.WriteInt32(marginY);
    return writer.Bytes();
}

std::size_t CLogoFile::FontSizeIndex(std::int32_t size)
{
    const auto found = std::find(kFontSizes.begin(), kFontSizes.end(), size);
    return found == kFontSizes.end() ? 0 : static_cast<std::size_t>(found - kFontSizes.begin());
}

std::int32_t CLogoFile::ClampMargin(std::int32_t margin)
{
    return std::clamp<std::int32_t>(margin, 0, kMaxMargin);
}

void CLogoFile::BringIntoRange()
{
    if (logoKind < kNoLogo || logoKind > kImageLogo)
        logoKind = kNoLogo;
    if (corner < kTopLeft || corner > kBottomLeft)
        corner = kTopLeft;
    fontSize = kFontSizes[FontSizeIndex(fontSize)];
    marginX = ClampMargin(marginX);
    marginY = ClampMargin(marginY);
}

bool CLogoFile::operator==(const CLogoFile& other) const
{
    return logoKind == other.logoKind && logoText == other.logoText && fontFace == other.fontFace &&
           fontSize == other.fontSize && fillColor == other.fillColor && outlineColor == other.outlineColor &&
           imagePath == other.imagePath && corner == other.corner && marginX == other.marginX &&
           marginY == other.marginY;
}

} // namespace pelidore
