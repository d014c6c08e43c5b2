#pragma once

// The area mask as stored in a project file: width, height, then runs of equal pixels in row-major
// order, each run one value "colour number + 10 x run length".

#include "platform/Bitmap.h"

#include <cstdint>
#include <span>
#include <vector>

namespace lv {

std::vector<int32_t> encodeMaskRuns(const Bitmap& mask);

// Checks a stored run array without allocating the mask: width and height valid, no run of negative
// length, runs not covering more than width x height pixels. Throws lv::Error otherwise.
void validateMaskRuns(std::span<const int32_t> runs);

// Decodes checked runs into mask (which takes the stored size). Colour numbers that name no area
// (0 and 5..9) give black; pixels the runs do not reach stay black.
void decodeMaskRuns(std::span<const int32_t> runs, Bitmap& mask);

} // namespace lv
