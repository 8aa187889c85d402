// The frame store subcommands of pelidore-convert:
//   store --size WxH [--delay SECONDS] [--zlib] IN.raw OUT.dat
//       raw frames (W x H x 3 bytes each, "-" for standard input) to a frame store
//   gif [--quality N] [--dithering] [--transparency] [--smaller] [--first N] [--last M] IN.dat OUT.gif
//       a frame store to a GIF exactly as the save thread does it: the store
//       read as the program reads it, one waiting push per frame, stop
//   raw [--first N] [--last M] IN.dat OUT.raw
//       the decoded frames back to back ("-" for standard output)
//   --first/--last: only frames N to M (counted from 1, both included), each
//       with its own delay
//   info IN.dat
//       the header, then one line per frame: index, key or delta, blob bytes,
//       delay; on a damaged file it names the first bad frame and exits 1
//   recover IN.dat
//       keeps every complete, decodable frame of a store left by a program that
//       died while recording (header count 0, torn tail), cuts the rest, writes
//       the true count into the header, says how many frames were saved
// Damaged stores: gif and raw keep (and write) the frames before the first bad
// one, name it and exit 1; a store whose header says 0 frames while frames
// follow is refused with a hint to run recover.
#pragma once

namespace pelidore {

int RunStoreCommand(int argc, char** argv);
int RunGifCommand(int argc, char** argv);
int RunRawCommand(int argc, char** argv);
int RunInfoCommand(int argc, char** argv);
int RunRecoverCommand(int argc, char** argv);

} // namespace pelidore
