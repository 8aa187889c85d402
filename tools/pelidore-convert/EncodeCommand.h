// pelidore-convert encode --size WxH [--delay SECONDS] [--quality N]
//                         [--dithering] [--transparency] IN.raw OUT.gif
#pragma once

namespace pelidore {

int RunEncodeCommand(int argc, char** argv);

} // namespace pelidore
