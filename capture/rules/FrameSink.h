#pragma once
// Where the capture thread hands its frames: the GIF exporter while a live
// recording runs, the frame store in deferred mode. Called on the capture
// thread only.
#include "CRecordingLimits.h"

#include <cstdint>
#include <functional>

namespace pelidore {

struct FrameSink {
    // Takes one frame of the recording's output size (B, G, R, bottom-up).
    // False when the output can take no more (a write failed, the disk is
    // full): the capture thread then asks for the stop and hands over nothing more.
    std::function<bool(const std::uint8_t* bgr, float delaySeconds)> take;
    // What the recording has amounted to so far, for the read-outs and locks.
    std::function<RecordingProgress()> progress;

    bool IsComplete() const { return take && progress; }
};

} // namespace pelidore
