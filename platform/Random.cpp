#include "platform/Random.h"

#include <chrono>

namespace lv {
namespace {

// PCG-XSH-RR 32: small, fast, and the same sequence on every machine.
struct Pcg32 {
    uint64_t state = 0x853c49e6748fea9bULL;
    static constexpr uint64_t kIncrement = 0xda3e39cb94b95bdbULL;

    void seed(uint64_t s) {
        state = 0;
        next();
        state += s;
        next();
    }
    uint32_t next() {
        const uint64_t old = state;
        state = old * 6364136223846793005ULL + kIncrement;
        const auto xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rot = static_cast<uint32_t>(old >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((-rot) & 31u));
    }
};

Pcg32 generator;
std::optional<uint64_t> fixedSeed;

} // namespace

int32_t Random(int32_t n) {
    if (n <= 0) return 0;
    return static_cast<int32_t>((static_cast<uint64_t>(generator.next()) * static_cast<uint64_t>(n)) >> 32);
}

void Randomize() {
    if (fixedSeed) {
        generator.seed(*fixedSeed);
        return;
    }
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    generator.seed(static_cast<uint64_t>(now));
}

void setRandomSeed(uint64_t seed) {
    generator.seed(seed);
}

void setFixedRandomSeed(std::optional<uint64_t> seed) {
    fixedSeed = seed;
}

} // namespace lv
