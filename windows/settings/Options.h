#pragma once

#include "CHotkey.h"

#include <array>

namespace pelidore {

// The settings options.ini holds, at their built-in defaults. With every
// member at its default the program behaves as it did before the file
// existed. COptionsFile's key table names each member's key and its values.
struct Options {
    static constexpr std::array<int, 4> kCountdownChoices = {0, 3, 5, 10};
    static constexpr int kMaxFitToMb = 999; // 0 is off

    CHotkey recordHotkey{CHotkey::kCtrl | CHotkey::kShift, CHotkey::kKeyF1 + 8};
    CHotkey pauseHotkey{CHotkey::kCtrl | CHotkey::kShift, CHotkey::kKeyF1 + 9};
    CHotkey snapshotHotkey{CHotkey::kCtrl | CHotkey::kShift, CHotkey::kKeyF1 + 10};
    int countdownSeconds = 0;
    bool highlightClicks = false;
    bool copyAfterSave = false;
    bool showAfterSave = false;
    bool reviewBeforeSaving = false;
    bool smallerFiles = false;
    int fitToMb = 0;
};

} // namespace pelidore
