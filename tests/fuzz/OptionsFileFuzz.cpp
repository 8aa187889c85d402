// libFuzzer target for the options.ini reader: whatever the bytes, loading
// must stay inside them and leave every option at one of its values; what is
// written must read back the same and, written again, come out byte for byte
// as before. The same bytes as a hotkey must parse to a combination that is
// spelt back to itself.
#include "CHotkey.h"
#include "COptionsFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace pelidore {

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void RequireValid(const CHotkey& hotkey)
{
    CHotkey read(CHotkey::kAlt, 'Q');
    Require(CHotkey::Parse(hotkey.Text(), read) && read == hotkey);
}

void CheckOptions(const std::uint8_t* data, std::size_t size)
{
    COptionsFile file;
    file.Load(data, size);
    const Options& options = file.options;
    RequireValid(options.recordHotkey);
    RequireValid(options.pauseHotkey);
    RequireValid(options.snapshotHotkey);
    const auto& choices = Options::kCountdownChoices;
    Require(std::find(choices.begin(), choices.end(), options.countdownSeconds) != choices.end());
    Require(options.fitToMb >= 0 && options.fitToMb <= Options::kMaxFitToMb);

    const auto written = file.Serialise();
    COptionsFile again;
    again.Load(written);
    Require(COptionsFile::Same(again.options, options));
    if (written.size() <= COptionsFile::kMaxBytes)
        Require(again.Serialise() == written);
}

void CheckHotkey(const std::uint8_t* data, std::size_t size)
{
    CHotkey hotkey;
    if (CHotkey::Parse(std::string_view(reinterpret_cast<const char*>(data), size), hotkey))
        RequireValid(hotkey);
}

} // namespace

} // namespace pelidore

using namespace pelidore;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckOptions(data, size);
    CheckHotkey(data, size);
    return 0;
}
