#pragma once

// What the two weather overlays share: the per-frame step and the particle count cap.

#include "engine/WaveParams.h"

#include <algorithm>
#include <cstdint>

namespace lv {

// SpeedTable[index] / 100 x percent / 100, evaluated left to right.
inline double weatherStep(int32_t speedIndex, int32_t speedPercent) {
    return static_cast<double>(speedTableAt(speedIndex)) / 100.0 * static_cast<double>(speedPercent) / 100.0;
}

inline int32_t cappedParticleCount(int32_t count) {
    return std::clamp(count, 0, kMaxParticles);
}

// A box corner computed in 64 bits and brought back into int32 range, so that positions driven far
// away by hostile speeds cannot overflow.
inline int32_t saturate32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace lv
