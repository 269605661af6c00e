#include "app/detail/ResidentPhoto.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

int ScaledHeight(int width, int height, int toWidth) {
    if (width <= 0)
        return 1;
    const auto h = static_cast<std::uint64_t>(height) * static_cast<std::uint64_t>(toWidth) /
                   static_cast<std::uint64_t>(width);
    return std::max<int>(1, static_cast<int>(h));
}

RgbImage ScaleByDropping(const RgbImage& image, int width) {
    RgbImage out;
    if (image.IsNull() || width <= 0)
        return out;
    out.width = width;
    out.height = ScaledHeight(image.width, image.height, width);
    out.pixels.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height) * 3);
    for (int y = 0; y < out.height; ++y) {
        const int sy = static_cast<int>(static_cast<std::int64_t>(y) * image.height / out.height);
        const unsigned char* from = image.pixels.data() + static_cast<size_t>(sy) * image.width * 3;
        unsigned char* to = out.pixels.data() + static_cast<size_t>(y) * out.width * 3;
        for (int x = 0; x < out.width; ++x) {
            const int sx = static_cast<int>(static_cast<std::int64_t>(x) * image.width / out.width);
            std::memcpy(to + x * 3, from + static_cast<size_t>(sx) * 3, 3);
        }
    }
    return out;
}
