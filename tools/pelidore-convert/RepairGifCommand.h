// pelidore-convert repair-gif FILE
//     gives a GIF that a crash left without its trailer its trailer back, cut
//     after its last whole frame (see GifRepair); says how many frames it kept.
//     A complete GIF is left as it is (exit 0); anything it cannot repair (not
//     a GIF, no whole frame, damaged, unwritable) is left as it is (exit 1).
#pragma once

namespace pelidore {

int RunRepairGifCommand(int argc, char** argv);

} // namespace pelidore
