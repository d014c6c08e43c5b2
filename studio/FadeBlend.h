#pragma once

// One step of the player's fade: out = old + floor(alpha x (new - old) / 256) for every byte, from two
// unchanged pictures, so that a step never needs a copy of the old screen first.

#include <cstdint>
#include <span>

namespace lv {

// The three spans have the same length (the shortest is used); alpha is clamped to 0..256.
void FadeBlend(std::span<uint32_t> out, std::span<const uint32_t> older, std::span<const uint32_t> newer,
               int32_t alpha);

} // namespace lv
