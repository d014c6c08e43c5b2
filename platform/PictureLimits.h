#pragma once

// Checks shared by the picture decoders, so that a stream never makes us allocate more than it could carry.

#include "platform/Bitmap.h"
#include "platform/Errors.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace lv::picture {

// Refuses sizes the bitmap cannot hold, and pixel counts far beyond what `streamBytes` of compressed data
// could describe at `pixelsPerByte` (a generous bound for the format's best compression).
inline void checkClaimedSize(const char* format, int64_t width, int64_t height, size_t streamBytes,
                             int64_t pixelsPerByte) {
    const auto sizeText = [&] { return std::to_string(width) + " x " + std::to_string(height); };
    if (!Bitmap::validSize(width, height))
        throw PictureError(std::string(format) + " picture size " + sizeText() + " is not supported");
    constexpr int64_t kAlwaysAllowed = int64_t{4} << 20;
    const int64_t carried = static_cast<int64_t>(streamBytes) * pixelsPerByte + kAlwaysAllowed;
    if (width * height > carried)
        throw PictureError(std::string(format) + " picture size " + sizeText() +
                           " is far larger than its data can hold");
}

} // namespace lv::picture
