#pragma once

// The arithmetic rules every documented formula follows, stated once.

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace lv {

// Round half to even; values beyond int32 saturate, NaN gives 0.
inline int32_t nearest(double v) {
    if (std::isnan(v)) return 0;
    const double r = std::nearbyint(v);
    if (r <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (r >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

// Cosine of an angle in degrees, evaluated as cos(v * pi / 180).
inline double cosd(double degrees) {
    return std::cos(degrees * std::numbers::pi / 180.0);
}

// div and mod truncate toward zero; b must not be 0 and (INT32_MIN, -1) is excluded.
inline int32_t truncDiv(int32_t a, int32_t b) {
    return a / b;
}
inline int32_t truncMod(int32_t a, int32_t b) {
    return a % b;
}

// Values that wrap by 32-bit overflow are computed unsigned.
inline int32_t wrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t wrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

inline int32_t clampInt(int32_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

} // namespace lv
