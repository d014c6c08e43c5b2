#pragma once

// Small helpers shared by the picture codec tests.

#include "platform/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lv::test {

// A bitmap with a different colour at every pixel (and the given fourth byte), so that a pixel that lands
// in the wrong place or a channel that is swapped shows.
inline Bitmap patternBitmap(int32_t width, int32_t height, uint32_t fourthByte = 0) {
    Bitmap bitmap(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            bitmap.at(x, y) =
                fourthByte << 24 | rgb((x * 40 + 10) & 0xFF, (y * 30 + 20) & 0xFF, (x * y * 7 + 5) & 0xFF);
    return bitmap;
}

// A smooth picture (up to 64 x 64) that lossy coding keeps close.
inline Bitmap gradientBitmap(int32_t width, int32_t height, uint32_t fourthByte = 0) {
    Bitmap bitmap(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            bitmap.at(x, y) = fourthByte << 24 | rgb(40 + x * 3, 60 + y * 3, 200 - x - y);
    return bitmap;
}

// The largest difference of one colour channel between two bitmaps of the same size.
inline int maxChannelDifference(const Bitmap& a, const Bitmap& b) {
    int worst = 0;
    for (size_t i = 0; i < a.pixels().size(); ++i) {
        const uint32_t p = a.pixels()[i], q = b.pixels()[i];
        for (const int shift : {0, 8, 16}) {
            const int d = static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF);
            worst = std::max(worst, d < 0 ? -d : d);
        }
    }
    return worst;
}

inline bool allFourthBytesZero(const Bitmap& bitmap) {
    for (const uint32_t p : bitmap.pixels())
        if (p >> 24) return false;
    return true;
}

} // namespace lv::test
