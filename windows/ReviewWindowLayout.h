#pragma once

#include "NWindows.h"

namespace pelidore {

// Where things stand in the Review window, in layout units: the stage the
// frame is shown on, the read-outs under it, the timeline and the bottom row
// of buttons (which the discard question takes over).
struct ReviewWindowLayout {
    static constexpr int kWidth = 672;
    static constexpr int kHeight = 584;

    static constexpr RECT kStage = {16, 44, 656, 444};
    static constexpr int kReadoutTop = 450;
    static constexpr int kReadoutBottom = 472;
    static constexpr int kTimelineTop = 474;
    static constexpr int kTimelineHeight = 44;

    static constexpr int kRowTop = 538;
    static constexpr int kRowBottom = 570;
    static constexpr RECT kPlayPlace = {16, kRowTop, 60, kRowBottom};
    static constexpr RECT kDeletePlace = {70, kRowTop, 166, kRowBottom};
    static constexpr RECT kUndoPlace = {174, kRowTop, 258, kRowBottom};
    static constexpr RECT kHintArea = {268, kRowTop, 444, kRowBottom};
    // Discard and Save; while the question stands, Keep and the confirming
    // Discard. Keep takes Discard's place, so a double click on Discard
    // lands on Keep.
    static constexpr RECT kLeftPlace = {448, kRowTop, 544, kRowBottom};
    static constexpr RECT kRightPlace = {552, kRowTop, 656, kRowBottom};
    static constexpr RECT kQuestionStrip = {12, kRowTop - 4, 660, kRowBottom + 4};
    static constexpr RECT kQuestionText = {38, kRowTop, 440, kRowBottom};
};

} // namespace pelidore
