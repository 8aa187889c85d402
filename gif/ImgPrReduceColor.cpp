#include "gif/ImgPrReduceColor.h"

#include <cstddef>
#include <cstring>

bool ImgPrReduceColor(const std::uint8_t* src, int width, int height, std::uint8_t* dst)
{
    if (src == nullptr || dst == nullptr || width <= 0 || height <= 0) {
        return false;
    }
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u;
    if (src != dst) {
        std::memmove(dst, src, bytes);
    }
    return true;
}
