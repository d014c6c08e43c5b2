#include "platform/Bitmap.h"

#include "platform/Errors.h"

#include <algorithm>
#include <string>

namespace lv {

bool Bitmap::validSize(int64_t width, int64_t height) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide) return false;
    return width * height <= kMaxPixels;
}

Bitmap::Bitmap(int32_t width, int32_t height) {
    setSize(width, height);
}

void Bitmap::setSize(int32_t width, int32_t height) {
    if (!validSize(width, height))
        throw Error("Bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                    " is not valid");
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

void Bitmap::fill(uint32_t value) {
    std::fill(pixels_.begin(), pixels_.end(), value);
}

void Bitmap::draw(const Bitmap& source, int32_t x, int32_t y) {
    // 64-bit ends: an offset near the int32 limit must clip, not overflow.
    const int32_t x0 = std::max(0, x), y0 = std::max(0, y);
    const auto x1 = static_cast<int32_t>(std::min<int64_t>(width_, int64_t{x} + source.width()));
    const auto y1 = static_cast<int32_t>(std::min<int64_t>(height_, int64_t{y} + source.height()));
    if (x0 >= x1) return;
    for (int32_t ty = y0; ty < y1; ++ty) {
        const uint32_t* from = source.row(ty - y) + (x0 - x);
        std::copy(from, from + (x1 - x0), row(ty) + x0);
    }
}

} // namespace lv
