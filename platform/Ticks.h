#pragma once

// The tick counter: monotonic milliseconds as a 32-bit value that wraps like the system's own.
// Differences are taken in uint32_t, so a wrap between two readings still gives the right span.

#include <cstdint>
#include <ctime>

namespace lv {

inline uint32_t tickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

// Milliseconds from earlier to later, correct across one wrap of the counter.
constexpr uint32_t ticksBetween(uint32_t earlier, uint32_t later) {
    return later - earlier;
}

} // namespace lv
