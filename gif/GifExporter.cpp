#include "gif/GifExporter.h"

#include "gif/FrameDelay.h"
#include "gif/ImgPrReduceColor.h"
#include "gif/LiqQuantizer.h"

#include <gif_lib.h>

#include <cstring>
#include <new>

namespace {

constexpr std::size_t kQueueBudgetBytes = 128u << 20;
constexpr std::size_t kQueueMinFrames = 2;
constexpr std::size_t kQueueMaxFrames = 1024;

std::size_t DefaultQueueLimit(std::size_t frameBytes)
{
    std::size_t frames = frameBytes == 0 ? kQueueMaxFrames : kQueueBudgetBytes / frameBytes;
    if (frames < kQueueMinFrames) {
        frames = kQueueMinFrames;
    }
    if (frames > kQueueMaxFrames) {
        frames = kQueueMaxFrames;
    }
    return frames;
}

} // namespace

GifExporter::GifExporter() = default;

GifExporter::~GifExporter()
{
    Stop();
}

bool GifExporter::Start(int width, int height, bool dithering, bool transparency,
                        const std::filesystem::path& gifPath, int quality)
{
    if (started_) {
        Stop();
    }
    ReleaseBuffers();
    writer_.ResetCounters();
    totalDuration_ = 0.0f;
    delays_.Reset();
    reducer_.Reset();
    firstFrame_ = true;
    workerRunning_ = false;
    writeFailed_ = false;
    stopRequested_ = false;
    queuePeak_ = 0;
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) {
        return false;
    }
    width_ = width;
    height_ = height;
    dithering_ = dithering;
    quality_ = quality;
    transparency_ = transparency && quality == 0;
    frameBytes_ = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queueLimit_ = queueLimitSet_ != 0 ? queueLimitSet_ : DefaultQueueLimit(frameBytes_);
    }
    if (!writer_.Open(gifPath, width, height, transparency_)) {
        ReleaseBuffers();
        return false;
    }
    try {
        if (transparency_) {
            previous_.assign(frameBytes_, 0);
        }
        indices_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        writer_.Close();
        ReleaseBuffers();
        return false;
    }
    started_ = true;
    return true;
}

bool GifExporter::PushFrame(const std::uint8_t* bgrPixels, bool wait, float delaySeconds)
{
    if (!started_ || bgrPixels == nullptr) {
        return false;
    }
    std::unique_ptr<FrameItem> item;
    try {
        item = std::make_unique<FrameItem>();
        item->pixels.reset(new std::uint8_t[frameBytes_]);
    } catch (const std::bad_alloc&) {
        return false; // out of memory: the frame is dropped
    }
    std::uint8_t* pixels = item->pixels.get();

    // 1: optional reduction, else a copy.
    if (dithering_) {
        ImgPrReduceColor(reducer_, bgrPixels, width_, height_, pixels);
    } else {
        std::memcpy(pixels, bgrPixels, frameBytes_);
    }
    // 2: mark unchanged pixels; the frame before marking becomes the
    // reference for the next one.
    if (transparency_) {
        std::uint8_t* prev = previous_.data();
        if (firstFrame_) {
            std::memcpy(prev, pixels, frameBytes_);
        } else {
            for (std::size_t i = 0; i < frameBytes_; i += 3) {
                if (pixels[i] == prev[i] && pixels[i + 1] == prev[i + 1] && pixels[i + 2] == prev[i + 2]) {
                    pixels[i] = 255;     // blue
                    pixels[i + 1] = 0;   // green
                    pixels[i + 2] = 255; // red
                } else {
                    prev[i] = pixels[i];
                    prev[i + 1] = pixels[i + 1];
                    prev[i + 2] = pixels[i + 2];
                }
            }
        }
    }
    // 3: the delay.
    firstFrame_ = false;
    item->delay = delaySeconds;
    item->centiseconds = delays_.Next(delaySeconds);

    // 4: append, waiting for room when the queue is full.
    {
        std::unique_lock<std::mutex> lock(mutex_);
        taken_.wait(lock, [&] { return queue_.size() < queueLimit_ || !workerRunning_; });
        queue_.push_back(std::move(item));
        if (queue_.size() > queuePeak_) {
            queuePeak_ = queue_.size();
        }
    }
    work_.notify_one();
    // 5: the total duration.
    totalDuration_ += delaySeconds;
    // 6: the worker starts with the first push.
    if (!workerRunning_) {
        workerRunning_ = true;
        worker_ = std::thread(&GifExporter::Worker, this);
    }
    // 7: wait until the worker has taken the frame.
    if (wait) {
        std::unique_lock<std::mutex> lock(mutex_);
        taken_.wait(lock, [&] { return queue_.empty(); });
    }
    return true;
}

void GifExporter::Worker()
{
    for (;;) {
        std::unique_ptr<FrameItem> item;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            work_.wait(lock, [&] { return !queue_.empty() || stopRequested_; });
            if (queue_.empty()) {
                return; // asked to stop and drained
            }
            item = std::move(queue_.front());
            queue_.pop_front();
        }
        taken_.notify_all();
        ProcessFrame(*item);
    }
}

void GifExporter::ProcessFrame(const FrameItem& item)
{
    // A frame the size forecast refuses is dropped before the quantizer
    // spends time on it; WriteFrame would refuse it all the same.
    if (writer_.WouldRefuse()) {
        return;
    }
    GifColorType colors[256];
    std::uint8_t transparentIndex = 0;
    bool quantized;
    if (quality_ == 0) {
        quantized = octree_.Quantize(width_, height_, item.pixels.get(), indices_.data(), colors, 256,
                                     &transparentIndex, transparency_);
    } else {
        quantized = LiqQuantize(width_, height_, item.pixels.get(), quality_, dithering_, rgba_, indices_.data(),
                                colors);
        transparentIndex = 0;
    }
    if (!quantized) {
        return; // skipped
    }
    if (!writer_.WriteFrame(item.centiseconds, colors, indices_.data(), transparentIndex) &&
        writer_.HadWriteError()) {
        writeFailed_ = true;
    }
}

bool GifExporter::Stop()
{
    if (!started_) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopRequested_ = true;
    }
    work_.notify_all();
    if (worker_.joinable()) {
        worker_.join();
    }
    const bool closed = writer_.Close();
    const bool ok = closed && !writeFailed_;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.clear();
        stopRequested_ = false;
    }
    workerRunning_ = false;
    ReleaseBuffers();
    totalDuration_ = 0.0f;
    writer_.ResetCounters();
    started_ = false;
    return ok;
}

void GifExporter::ReleaseBuffers()
{
    std::vector<std::uint8_t>().swap(previous_);
    std::vector<std::uint8_t>().swap(rgba_);
    std::vector<std::uint8_t>().swap(indices_);
}

void GifExporter::SetSizeLimit(std::uint64_t bytes)
{
    writer_.SetSizeLimit(bytes);
}

float GifExporter::TotalDuration() const
{
    return totalDuration_;
}

std::uint64_t GifExporter::FileSize() const
{
    return writer_.FileSize();
}

int GifExporter::FramesWritten() const
{
    return writer_.FramesWritten();
}

std::uint64_t GifExporter::SizeLimit() const
{
    return writer_.SizeLimit();
}

void GifExporter::SetQueueLimit(std::size_t frames)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queueLimitSet_ = frames;
        queueLimit_ = frames != 0 ? frames : DefaultQueueLimit(frameBytes_);
    }
    taken_.notify_all();
}

std::size_t GifExporter::QueueLimit() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return queueLimit_;
}

std::size_t GifExporter::QueuePeak() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return queuePeak_;
}
