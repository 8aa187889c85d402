// The GIF export worker: turns a stream of 24-bit frames into an
// animated GIF. The pushing thread prepares each frame (optional colour
// reduction, optional marking of unchanged pixels) and queues it; a worker
// thread quantizes and writes the frames in order.
// Portable: no Windows header.
#pragma once

#include "FrameDelay.h"
#include "GifDeltaWriter.h"
#include "GifWriter.h"
#include "ImgPrReduceColor.h"
#include "QColorQuantizer.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace pelidore {

class GifExporter {
public:
    GifExporter();
    ~GifExporter();
    GifExporter(const GifExporter&) = delete;
    GifExporter& operator=(const GifExporter&) = delete;

    // quality: 0 "High Speed" (octree), 1 "Low Quality", 2 "Medium Quality",
    // 3 "High Quality", -1 none (libimagequant). transparency is forced off
    // unless quality is 0. False when the size is not 1..65535 or the file
    // cannot be created; frames pushed then are dropped. A Start while
    // started first stops (drains and closes) the export in progress.
    bool Start(int width, int height, bool dithering, bool transparency, const std::filesystem::path& gifPath,
               int quality);

    // "Smaller files": each frame after the first is cropped to what changes
    // the picture (see GifDeltaWriter); the libimagequant qualities, and
    // "High Speed" with "Dithering" and "Transparent", also leave pixels the
    // viewer already shows closely enough transparent; the libimagequant
    // qualities keep their palette across frames. Off by default, which leaves every
    // file as it was. Takes effect at the next Start.
    void SetSmallerFiles(bool on) { m_SmallerFilesSet = on; }
    bool SmallerFiles() const { return m_SmallerFilesSet; }

    // bgrPixels: width x height x 3 bytes, blue, green, red, bottom row
    // first. wait: return only once the worker has taken the frame (deferred
    // mode). Without wait (live mode) a push that finds the queue full waits
    // for room (see QueueLimit); nothing is dropped. False (frame dropped)
    // when not started or bgrPixels is null.
    bool PushFrame(const std::uint8_t* bgrPixels, bool wait, float delaySeconds);

    // Drains the queue, writes the trailer, closes the file, frees the
    // buffers and resets the counters. True when a complete file was written
    // without error (frames refused by the size limit are no error); false
    // and harmless without Start or twice.
    bool Stop();

    void SetSizeLimit(std::uint64_t bytes);
    float TotalDuration() const;    // pushing thread only
    std::uint64_t FileSize() const; // atomic, read by the capture thread
    int FramesWritten() const;      // atomic
    std::uint64_t SizeLimit() const;

    // Extensions for tests and diagnostics.
    bool IsStarted() const { return m_Started; }
    // Live-mode bound of the queue in frames; 0 restores the default of
    // 128 MiB of frames (at least 2). Takes effect at once.
    void SetQueueLimit(std::size_t frames);
    std::size_t QueueLimit() const;
    // Largest queue length seen since Start (for tests and diagnostics).
    std::size_t QueuePeak() const;
    // A write of the file failed (a full disk): no frame is written after
    // it, and Stop keeps the frames before it as a complete GIF. Any thread.
    bool HasWriteFailed() const { return m_WriteFailed.load(); }

private:
    struct FrameItem {
        std::unique_ptr<std::uint8_t[]> pixels;
        float delay = 0.0f;
        int centiseconds = 0;
    };

    void Worker();
    void MarkUnchanged(const std::uint8_t* recorded, std::uint8_t* pixels);
    void ProcessFrame(const FrameItem& item);
    void ReleaseBuffers();

    // Fixed for one export.
    int m_Width = 0;
    int m_Height = 0;
    std::size_t m_FrameBytes = 0;
    bool m_Dithering = false;
    bool m_Transparency = false;
    int m_Quality = -1;
    bool m_Smaller = false;
    bool m_SmallerFilesSet = false;
    bool m_Started = false;

    // Pushing thread only.
    std::vector<std::uint8_t> m_Previous; // "Transparent": the last colours marked changed
    bool m_FirstFrame = true;
    float m_TotalDuration = 0.0f;
    DelayClock m_Delays;    // hundredths with the remainder carried
    ImgPrReducer m_Reducer; // "Dithering": the palette kept across the export
    bool m_WorkerRunning = false;

    // The queue and its lock (the only lock).
    mutable std::mutex m_Mutex;
    std::condition_variable m_Work;  // worker: an item or stop
    std::condition_variable m_Taken; // pushers: an item was taken
    std::deque<std::unique_ptr<FrameItem>> m_Queue;
    bool m_StopRequested = false;
    std::size_t m_QueueLimit = 2;
    std::size_t m_QueueLimitSet = 0;
    std::size_t m_QueuePeak = 0;
    std::thread m_Worker;

    // Worker only (and Start/Stop while no worker runs).
    GifWriter m_Writer;
    QColorQuantizer m_Octree;
    GifDeltaWriter m_Delta; // "Smaller files"
    std::vector<std::uint8_t> m_Rgba;
    std::vector<std::uint8_t> m_Indices;
    // Set by the worker when a write failed; read by the pushing thread.
    std::atomic<bool> m_WriteFailed{false};
};

} // namespace pelidore
