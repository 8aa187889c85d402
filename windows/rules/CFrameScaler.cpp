#include "CFrameScaler.h"

#include "CNAreaTaps.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace pelidore {

namespace {

constexpr int kChannels = 3;

bool Usable(CFrameScaler::Size size)
{
    return size.width > 0 && size.height > 0 && size.width <= CFrameScaler::kMaxSide &&
           size.height <= CFrameScaler::kMaxSide;
}

// One row of the frame reduced across: `width` colours of 3 floats.
void ReduceRow(const std::uint8_t* row, const CNAreaTaps& across, int width, float* out)
{
    for (int x = 0; x < width; ++x) {
        float sum[kChannels] = {0.0f, 0.0f, 0.0f};
        for (std::size_t t = across.First(x); t < across.First(x + 1); ++t) {
            const std::uint8_t* pixel = row + static_cast<std::size_t>(across.Source(t)) * kChannels;
            const float share = across.Share(t);
            for (int c = 0; c < kChannels; ++c)
                sum[c] += pixel[c] * share;
        }
        std::copy(sum, sum + kChannels, out + static_cast<std::size_t>(x) * kChannels);
    }
}

std::uint32_t Channel(float value)
{
    return static_cast<std::uint32_t>(std::clamp(std::lround(value), 0L, 255L));
}

} // namespace

CFrameScaler::Size CFrameScaler::Fit(Size frame, Size box)
{
    if (!Usable(frame) || box.width <= 0 || box.height <= 0)
        return {};
    if (frame.width <= box.width && frame.height <= box.height)
        return frame;
    const std::int64_t width = frame.width;
    const std::int64_t height = frame.height;
    Size fitted;
    if (width * box.height >= height * box.width) { // the width reaches the box first
        fitted.width = box.width;
        fitted.height = static_cast<int>((height * box.width + width / 2) / width);
    } else {
        fitted.height = box.height;
        fitted.width = static_cast<int>((width * box.height + height / 2) / height);
    }
    fitted.width = std::clamp(fitted.width, 1, box.width);
    fitted.height = std::clamp(fitted.height, 1, box.height);
    return fitted;
}

std::vector<std::uint32_t> CFrameScaler::Scale(const std::uint8_t* bgr, Size frame, Size to)
{
    if (bgr == nullptr || !Usable(frame) || !Usable(to))
        return {};
    const CNAreaTaps across(frame.width, to.width);
    const CNAreaTaps down(frame.height, to.height);
    const std::size_t stride = static_cast<std::size_t>(frame.width) * kChannels;
    const std::size_t rowFloats = static_cast<std::size_t>(to.width) * kChannels;

    // Row by row of the result, each from the frame's rows it covers
    // reduced across; a row shared by two rows of the result is reduced
    // once. The frame's rows are stored bottom first.
    std::vector<float> reduced(rowFloats);
    int reducedRow = -1;
    std::vector<float> sum(rowFloats);
    std::vector<std::uint32_t> result(static_cast<std::size_t>(to.width) * static_cast<std::size_t>(to.height));
    for (int y = 0; y < to.height; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (std::size_t t = down.First(y); t < down.First(y + 1); ++t) {
            if (down.Source(t) != reducedRow) {
                reducedRow = down.Source(t);
                ReduceRow(bgr + static_cast<std::size_t>(frame.height - 1 - reducedRow) * stride, across, to.width,
                          reduced.data());
            }
            const float share = down.Share(t);
            for (std::size_t i = 0; i < rowFloats; ++i)
                sum[i] += reduced[i] * share;
        }
        std::uint32_t* out = result.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(to.width);
        for (int x = 0; x < to.width; ++x) {
            const float* colour = sum.data() + static_cast<std::size_t>(x) * kChannels;
            out[x] = 0xFF000000u | Channel(colour[2]) << 16 | Channel(colour[1]) << 8 | Channel(colour[0]);
        }
    }
    return result;
}

} // namespace pelidore
