#pragma once

#include <cstdint>
#include <optional>

namespace lv {

// The process-wide pseudo-random generator.
// Random(n) yields 0..n-1; Random(n) for n <= 0 yields 0.
int32_t Random(int32_t n);

// Reseeds from the clock, or from the fixed seed when one is set.
void Randomize();

// Seeds the generator directly.
void setRandomSeed(uint64_t seed);

// Tools and tests: make every Randomize use this seed (nullopt restores the clock).
void setFixedRandomSeed(std::optional<uint64_t> seed);

} // namespace lv
