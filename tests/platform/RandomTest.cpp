#include "platform/Random.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace lv {
namespace {

std::vector<int32_t> draw(int count, int32_t n) {
    std::vector<int32_t> values;
    for (int i = 0; i < count; ++i) values.push_back(Random(n));
    return values;
}

class RandomTest : public ::testing::Test {
  protected:
    void TearDown() override { setFixedRandomSeed(std::nullopt); }
};

TEST_F(RandomTest, NonPositiveRangeYieldsZero) {
    setRandomSeed(7);
    for (const int32_t n : {0, -1, -1000, 1}) EXPECT_EQ(Random(n), 0) << n;
}

TEST_F(RandomTest, StaysInRangeAndReachesBothEnds) {
    setRandomSeed(12345);
    const std::vector<int32_t> values = draw(2000, 6);
    const std::set<int32_t> seen(values.begin(), values.end());
    EXPECT_EQ(seen, (std::set<int32_t>{0, 1, 2, 3, 4, 5}));
    setRandomSeed(99);
    for (const int32_t v : draw(1000, 2147483647)) EXPECT_GE(v, 0);
}

TEST_F(RandomTest, FixedSeedReproducesTheSequence) {
    setFixedRandomSeed(42);
    Randomize();
    const std::vector<int32_t> first = draw(50, 1000);
    Randomize();
    EXPECT_EQ(draw(50, 1000), first);

    setRandomSeed(42);
    EXPECT_EQ(draw(50, 1000), first);
    setRandomSeed(43);
    EXPECT_NE(draw(50, 1000), first);
}

} // namespace
} // namespace lv
