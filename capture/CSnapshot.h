#pragma once
// A snapshot: the region inside the frame copied from the display as it is
// (no cursor, no logo, no scaling) and saved as a JPEG picture.
#include "ScreenRect.h"

#include <filesystem>

namespace pelidore {

class CSnapshot {
public:
    // False when the region is empty, the display cannot be read or the
    // picture cannot be written.
    static bool Take(const ScreenRect& frame, const std::filesystem::path& jpegPath);
};

} // namespace pelidore
