#pragma once

// Picture resampling and blending on 32-bit bitmaps (0xXXRRGGBB words).

#include "platform/Bitmap.h"

#include <cstdint>
#include <span>

namespace lv {

// Bilinear resize of source into target at target's current size. Fixed point with 15 fractional bits:
// the source step is ((source size - 1) << 15) / target size (integer division), target pixel x samples
// source position x * step; with i = pos >> 15 and f = pos & 0x7FFF, each of the four bytes is
//   top = a + (((b - a) * fx) >> 15) along the row (pixels i and i + 1, clamped to the last one),
//   then top + (((bottom - top) * fy) >> 15) between the two rows (>> is an arithmetic shift, so floor).
// All four bytes are interpolated, so a fourth byte of 0 stays 0. An empty source or target does nothing.
void smoothResize(const Bitmap& source, Bitmap& target);

// Nearest-neighbour stretch of source into target at target's current size: target (x, y) takes source
// (x * sw / tw, y * sh / th) in integer division. Pixel words are copied whole, so mask colours stay exact.
void nearestStretch(const Bitmap& source, Bitmap& target);

// Fade step: every byte of into becomes old + (((new - old) * alpha) >> 8), alpha in 0..256
// (256 gives the new bytes; arithmetic shift, so the result never leaves [old, new]).
void blendInto(std::span<uint32_t> into, std::span<const uint32_t> newer, int32_t alpha);

} // namespace lv
