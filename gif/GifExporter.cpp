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

bool GifExporter::Start(int width, int height, bool dithering, bool transparency, const std::filesystem::path& gifPath,
                        int quality)
{
    if (m_started) {
        Stop();
    }
    ReleaseBuffers();
    m_writer.ResetCounters();
    m_totalDuration = 0.0f;
    m_delays.Reset();
    m_reducer.Reset();
    m_firstFrame = true;
    m_workerRunning = false;
    m_writeFailed = false;
    m_stopRequested = false;
    m_queuePeak = 0;
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) {
        return false;
    }
    m_width = width;
    m_height = height;
    m_dithering = dithering;
    m_quality = quality;
    m_transparency = transparency && quality == 0;
    m_frameBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queueLimit = m_queueLimitSet != 0 ? m_queueLimitSet : DefaultQueueLimit(m_frameBytes);
    }
    if (!m_writer.Open(gifPath, width, height, m_transparency)) {
        ReleaseBuffers();
        return false;
    }
    try {
        if (m_transparency) {
            m_previous.assign(m_frameBytes, 0);
        }
        m_indices.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        m_writer.Close();
        ReleaseBuffers();
        return false;
    }
    m_started = true;
    return true;
}

bool GifExporter::PushFrame(const std::uint8_t* bgrPixels, bool wait, float delaySeconds)
{
    if (!m_started || bgrPixels == nullptr) {
        return false;
    }
    std::unique_ptr<FrameItem> item;
    try {
        item = std::make_unique<FrameItem>();
        item->pixels.reset(new std::uint8_t[m_frameBytes]);
    } catch (const std::bad_alloc&) {
        return false; // out of memory: the frame is dropped
    }
    std::uint8_t* pixels = item->pixels.get();

    // 1: optional reduction, else a copy.
    if (m_dithering) {
        ImgPrReduceColor(m_reducer, bgrPixels, m_width, m_height, pixels);
    } else {
        std::memcpy(pixels, bgrPixels, m_frameBytes);
    }
    // 2: mark unchanged pixels; the frame before marking becomes the
    // reference for the next one.
    if (m_transparency) {
        std::uint8_t* prev = m_previous.data();
        if (m_firstFrame) {
            std::memcpy(prev, pixels, m_frameBytes);
        } else {
            for (std::size_t i = 0; i < m_frameBytes; i += 3) {
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
    m_firstFrame = false;
    item->delay = delaySeconds;
    item->centiseconds = m_delays.Next(delaySeconds);

    // 4: append, waiting for room when the queue is full.
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_taken.wait(lock, [&] { return m_queue.size() < m_queueLimit || !m_workerRunning; });
        m_queue.push_back(std::move(item));
        if (m_queue.size() > m_queuePeak) {
            m_queuePeak = m_queue.size();
        }
    }
    m_work.notify_one();
    // 5: the total duration.
    m_totalDuration += delaySeconds;
    // 6: the worker starts with the first push.
    if (!m_workerRunning) {
        m_workerRunning = true;
        m_worker = std::thread(&GifExporter::Worker, this);
    }
    // 7: wait until the worker has taken the frame.
    if (wait) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_taken.wait(lock, [&] { return m_queue.empty(); });
    }
    return true;
}

void GifExporter::Worker()
{
    for (;;) {
        std::unique_ptr<FrameItem> item;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_work.wait(lock, [&] { return !m_queue.empty() || m_stopRequested; });
            if (m_queue.empty()) {
                return; // asked to stop and drained
            }
            item = std::move(m_queue.front());
            m_queue.pop_front();
        }
        m_taken.notify_all();
        ProcessFrame(*item);
    }
}

void GifExporter::ProcessFrame(const FrameItem& item)
{
    // A frame the size forecast refuses is dropped before the quantizer
    // spends time on it; WriteFrame would refuse it all the same.
    if (m_writer.WouldRefuse()) {
        return;
    }
    GifColorType colors[256];
    std::uint8_t transparentIndex = 0;
    bool quantized;
    if (m_quality == 0) {
        quantized = m_octree.Quantize(m_width, m_height, item.pixels.get(), m_indices.data(), colors, 256,
                                      &transparentIndex, m_transparency);
    } else {
        quantized =
            LiqQuantize(m_width, m_height, item.pixels.get(), m_quality, m_dithering, m_rgba, m_indices.data(), colors);
        transparentIndex = 0;
    }
    if (!quantized) {
        return; // skipped
    }
    if (!m_writer.WriteFrame(item.centiseconds, colors, m_indices.data(), transparentIndex) &&
        m_writer.HadWriteError()) {
        m_writeFailed = true;
    }
}

bool GifExporter::Stop()
{
    if (!m_started) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopRequested = true;
    }
    m_work.notify_all();
    if (m_worker.joinable()) {
        m_worker.join();
    }
    const bool closed = m_writer.Close();
    const bool ok = closed && !m_writeFailed;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.clear();
        m_stopRequested = false;
    }
    m_workerRunning = false;
    ReleaseBuffers();
    m_totalDuration = 0.0f;
    m_writer.ResetCounters();
    m_started = false;
    return ok;
}

void GifExporter::ReleaseBuffers()
{
    std::vector<std::uint8_t>().swap(m_previous);
    std::vector<std::uint8_t>().swap(m_rgba);
    std::vector<std::uint8_t>().swap(m_indices);
}

void GifExporter::SetSizeLimit(std::uint64_t bytes)
{
    m_writer.SetSizeLimit(bytes);
}

float GifExporter::TotalDuration() const
{
    return m_totalDuration;
}

std::uint64_t GifExporter::FileSize() const
{
    return m_writer.FileSize();
}

int GifExporter::FramesWritten() const
{
    return m_writer.FramesWritten();
}

std::uint64_t GifExporter::SizeLimit() const
{
    return m_writer.SizeLimit();
}

void GifExporter::SetQueueLimit(std::size_t frames)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queueLimitSet = frames;
        m_queueLimit = frames != 0 ? frames : DefaultQueueLimit(m_frameBytes);
    }
    m_taken.notify_all();
}

std::size_t GifExporter::QueueLimit() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_queueLimit;
}

std::size_t GifExporter::QueuePeak() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_queuePeak;
}
