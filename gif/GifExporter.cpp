#include "GifExporter.h"

#include "FrameDelay.h"
#include "ImgPrReduceColor.h"
#include "LiqQuantizer.h"

#include <gif_lib.h>

#include <cstring>
#include <new>

namespace pelidore {

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

int Distance2(const std::uint8_t* a, const std::uint8_t* b)
{
    int sum = 0;
    for (int c = 0; c < 3; ++c) {
        const int d = a[c] - b[c];
        sum += d * d;
    }
    return sum;
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
    if (m_Started) {
        Stop();
    }
    ReleaseBuffers();
    m_Writer.ResetCounters();
    m_TotalDuration = 0.0f;
    m_Delays.Reset();
    m_Reducer.Reset();
    m_FirstFrame = true;
    m_WorkerRunning = false;
    m_WriteFailed.store(false);
    m_StopRequested = false;
    m_QueuePeak = 0;
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) {
        return false;
    }
    m_Width = width;
    m_Height = height;
    m_Dithering = dithering;
    m_Quality = quality;
    m_Transparency = transparency && quality == 0;
    m_Smaller = m_SmallerFilesSet;
    m_FrameBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_QueueLimit = m_QueueLimitSet != 0 ? m_QueueLimitSet : DefaultQueueLimit(m_FrameBytes);
    }
    try {
        if (m_Smaller && !m_Delta.Start(width, height, quality, dithering, m_Transparency)) {
            ReleaseBuffers();
            return false;
        }
    } catch (const std::bad_alloc&) {
        ReleaseBuffers();
        return false;
    }
    const bool fileTransparency = m_Smaller ? m_Delta.UsesTransparency() : m_Transparency;
    if (!m_Writer.Open(gifPath, width, height, fileTransparency)) {
        ReleaseBuffers();
        return false;
    }
    try {
        if (m_Transparency) {
            m_Previous.assign(m_FrameBytes, 0);
        }
        if (!m_Smaller) {
            m_Indices.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        }
    } catch (const std::bad_alloc&) {
        m_Writer.Close();
        ReleaseBuffers();
        return false;
    }
    m_Started = true;
    return true;
}

bool GifExporter::PushFrame(const std::uint8_t* bgrPixels, bool wait, float delaySeconds)
{
    if (!m_Started || bgrPixels == nullptr) {
        return false;
    }
    std::unique_ptr<FrameItem> item;
    try {
        item = std::make_unique<FrameItem>();
        item->pixels.reset(new std::uint8_t[m_FrameBytes]);
    } catch (const std::bad_alloc&) {
        return false; // out of memory: the frame is dropped
    }
    std::uint8_t* pixels = item->pixels.get();

    // 1: optional reduction, else a copy.
    if (m_Dithering) {
        ImgPrReduceColor(m_Reducer, bgrPixels, m_Width, m_Height, pixels);
    } else {
        std::memcpy(pixels, bgrPixels, m_FrameBytes);
    }
    // 2: mark unchanged pixels.
    if (m_Transparency) {
        MarkUnchanged(bgrPixels, pixels);
    }
    // 3: the delay.
    m_FirstFrame = false;
    item->delay = delaySeconds;
    item->centiseconds = m_Delays.Next(delaySeconds);

    // 4: append, waiting for room when the queue is full.
    {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Taken.wait(lock, [&] { return m_Queue.size() < m_QueueLimit || !m_WorkerRunning; });
        m_Queue.push_back(std::move(item));
        if (m_Queue.size() > m_QueuePeak) {
            m_QueuePeak = m_Queue.size();
        }
    }
    m_Work.notify_one();
    // 5: the total duration.
    m_TotalDuration += delaySeconds;
    // 6: the worker starts with the first push.
    if (!m_WorkerRunning) {
        m_WorkerRunning = true;
        m_Worker = std::thread(&GifExporter::Worker, this);
    }
    // 7: wait until the worker has taken the frame.
    if (wait) {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Taken.wait(lock, [&] { return m_Queue.empty(); });
    }
    return true;
}

// "Transparent": a pixel whose colour stays gets the key colour; the frame
// before marking becomes the reference for the next one. With "Smaller
// files" and "Dithering" a pixel whose reduced colour moved keeps what is
// shown too when that is at least as close to the recorded colour: as the
// recording's noise and the dither pattern move, a reduced colour goes to
// and fro between neighbouring palette entries. No pixel is then farther
// from the recording than without the option, and fewer are written.
void GifExporter::MarkUnchanged(const std::uint8_t* recorded, std::uint8_t* pixels)
{
    std::uint8_t* reference = m_Previous.data();
    if (m_FirstFrame) {
        std::memcpy(reference, pixels, m_FrameBytes);
        return;
    }
    const bool keepCloser = m_Smaller && m_Dithering;
    for (std::size_t i = 0; i < m_FrameBytes; i += 3) {
        const bool same =
            pixels[i] == reference[i] && pixels[i + 1] == reference[i + 1] && pixels[i + 2] == reference[i + 2];
        // With "Dithering" the reference is what the viewer shows.
        if (same || (keepCloser && Distance2(reference + i, recorded + i) <= Distance2(pixels + i, recorded + i))) {
            pixels[i] = 255;     // blue
            pixels[i + 1] = 0;   // green
            pixels[i + 2] = 255; // red
        } else {
            reference[i] = pixels[i];
            reference[i + 1] = pixels[i + 1];
            reference[i + 2] = pixels[i + 2];
        }
    }
}

void GifExporter::Worker()
{
    for (;;) {
        std::unique_ptr<FrameItem> item;
        {
            std::unique_lock<std::mutex> lock(m_Mutex);
            m_Work.wait(lock, [&] { return !m_Queue.empty() || m_StopRequested; });
            if (m_Queue.empty()) {
                return; // asked to stop and drained
            }
            item = std::move(m_Queue.front());
            m_Queue.pop_front();
        }
        m_Taken.notify_all();
        ProcessFrame(*item);
    }
}

void GifExporter::ProcessFrame(const FrameItem& item)
{
    // A frame the size forecast refuses is dropped before the quantizer
    // spends time on it; WriteFrame would refuse it all the same. After a
    // failed write nothing more is written: the file ends at its last whole frame.
    if (m_Writer.WouldRefuse() || m_WriteFailed.load()) {
        return;
    }
    if (m_Smaller) {
        if (!m_Delta.Write(m_Writer, item.pixels.get(), item.centiseconds) && m_Writer.HadWriteError()) {
            m_WriteFailed.store(true);
        }
        return;
    }
    GifColorType colors[256];
    std::uint8_t transparentIndex = 0;
    bool quantized;
    if (m_Quality == 0) {
        quantized = m_Octree.Quantize(m_Width, m_Height, item.pixels.get(), m_Indices.data(), colors, 256,
                                      &transparentIndex, m_Transparency);
    } else {
        quantized =
            LiqQuantize(m_Width, m_Height, item.pixels.get(), m_Quality, m_Dithering, m_Rgba, m_Indices.data(), colors);
        transparentIndex = 0;
    }
    if (!quantized) {
        return; // skipped
    }
    if (!m_Writer.WriteFrame(item.centiseconds, colors, m_Indices.data(), transparentIndex) &&
        m_Writer.HadWriteError()) {
        m_WriteFailed.store(true);
    }
}

bool GifExporter::Stop()
{
    if (!m_Started) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_StopRequested = true;
    }
    m_Work.notify_all();
    if (m_Worker.joinable()) {
        m_Worker.join();
    }
    const bool closed = m_Writer.Close();
    const bool ok = closed && !m_WriteFailed.load();
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Queue.clear();
        m_StopRequested = false;
    }
    m_WorkerRunning = false;
    ReleaseBuffers();
    m_TotalDuration = 0.0f;
    m_Writer.ResetCounters();
    m_Started = false;
    return ok;
}

void GifExporter::ReleaseBuffers()
{
    std::vector<std::uint8_t>().swap(m_Previous);
    std::vector<std::uint8_t>().swap(m_Rgba);
    std::vector<std::uint8_t>().swap(m_Indices);
    m_Delta.Release();
}

void GifExporter::SetSizeLimit(std::uint64_t bytes)
{
    m_Writer.SetSizeLimit(bytes);
}

float GifExporter::TotalDuration() const
{
    return m_TotalDuration;
}

std::uint64_t GifExporter::FileSize() const
{
    return m_Writer.FileSize();
}

int GifExporter::FramesWritten() const
{
    return m_Writer.FramesWritten();
}

std::uint64_t GifExporter::SizeLimit() const
{
    return m_Writer.SizeLimit();
}

void GifExporter::SetQueueLimit(std::size_t frames)
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_QueueLimitSet = frames;
        m_QueueLimit = frames != 0 ? frames : DefaultQueueLimit(m_FrameBytes);
    }
    m_Taken.notify_all();
}

std::size_t GifExporter::QueueLimit() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_QueueLimit;
}

std::size_t GifExporter::QueuePeak() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_QueuePeak;
}

} // namespace pelidore
