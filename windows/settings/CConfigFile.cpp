#include "CConfigFile.h"

#include "CFieldReader.h"
#include "CFieldWriter.h"

namespace pelidore {

bool CConfigFile::Load(const std::uint8_t* bytes, std::size_t count)
{
    CFieldReader reader(bytes, count);
    if (reader.ReadInt32(fpsStep))
        fpsStep = ClampStep(fpsStep, kMaxFpsStep);
    if (reader.ReadInt32(scaleStep))
        scaleStep = ClampStep(scaleStep, kMaxScaleStep);
    if (reader.ReadInt32(speedStep))
        speedStep = ClampStep(speedStep, kMaxSpeedStep);

    std::uint8_t flag = 0;
    if (reader.ReadByte(flag))
        dithering = flag != 0;
    if (reader.ReadByte(flag))
        cursorCapture = flag != 0;
    if (reader.ReadByte(flag))
        transparent = flag != 0;
    reader.ReadInt32(qualityIndex);

    // A zeroed folder would send every recording to whatever the current
    // directory happens to be; the default folder is the safer reading.
    CFixedText folder;
    if (reader.ReadText(folder) && !folder.Empty())
        workFolder = folder;
    return reader.HeldEverything();
}

std::vector<std::uint8_t> CConfigFile::Serialise() const
{
    CFieldWriter writer;
    writer.WriteInt32(fpsStep);
    writer.WriteInt32(scaleStep);
    writer.WriteInt32(speedStep);
    writer.WriteByte(dithering ? 1 : 0);
    writer.WriteByte(cursorCapture ? 1 : 0);
    writer.WriteByte(transparent ? 1 : 0);
    writer.WriteInt32(qualityIndex);
    writer.WriteText(workFolder);
    return writer.Bytes();
}

bool CConfigFile::operator==(const CConfigFile& other) const
{
    return fpsStep == other.fpsStep && scaleStep == other.scaleStep && speedStep == other.speedStep &&
           dithering == other.dithering && cursorCapture == other.cursorCapture && transparent == other.transparent &&
           qualityIndex == other.qualityIndex && workFolder == other.workFolder;
}

std::int32_t CConfigFile::ClampStep(std::int32_t step, int maximum)
{
    if (step < 0)
        return 0;
    if (step > maximum)
        return maximum;
    return step;
}

} // namespace pelidore
