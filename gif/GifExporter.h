// The GIF export worker: turns a stream of 24-bit frames into an
// animated GIF. The pushing thread prepares each frame (optional colour
// reduction, optional marking of unchanged pixels) and queues it; a worker
// thread quantizes and writes the frames in order.
// Portable: no Windows header.
#pragma once

#include "gif/FrameDelay.h"
#include "gif/GifWriter.h"
#include "gif/ImgPrReduceColor.h"
#include "gif/QColorQuantizer.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

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
    bool IsStarted() const { return started_; }
    // Live-mode bound of the queue in frames; 0 restores the default of
    // 128 MiB of frames (at least 2). Takes effect at once.
    void SetQueueLimit(std::size_t frames);
    std::size_t QueueLimit() const;
    // Largest queue length seen since Start (for tests and diagnostics).
    std::size_t QueuePeak() const;

private:
    struct FrameItem {
        std::unique_ptr<std::uint8_t[]> pixels;
        float delay = 0.0f;
        int centiseconds = 0;
    };

    void Worker();
    void ProcessFrame(const FrameItem& item);
    void ReleaseBuffers();

    // Fixed for one export.
    int width_ = 0;
    int height_ = 0;
    std::size_t frameBytes_ = 0;
    bool dithering_ = false;
    bool transparency_ = false;
    int quality_ = -1;
    bool started_ = false;

    // Pushing thread only.
    std::vector<std::uint8_t> previous_;
    bool firstFrame_ = true;
    float totalDuration_ = 0.0f;
    DelayClock delays_;    // hundredths with the remainder carried (issue 10)
    ImgPrReducer reducer_; // "Dithering": the palette kept across the export
    bool workerRunning_ = false;

    // The queue and its lock (the only lock).
    mutable std::mutex mutex_;
    std::condition_variable work_;  // worker: an item or stop
    std::condition_variable taken_; // pushers: an item was taken
    std::deque<std::unique_ptr<FrameItem>> queue_;
    bool stopRequested_ = false;
    std::size_t queueLimit_ = 2;
    std::size_t queueLimitSet_ = 0;
    std::size_t queuePeak_ = 0;
    std::thread worker_;

    // Worker only (and Start/Stop while no worker runs).
    GifWriter writer_;
    QColorQuantizer octree_;
    std::vector<std::uint8_t> rgba_;
    std::vector<std::uint8_t> indices_;
    bool writeFailed_ = false;
};
