#include "platform/Numeric.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace lv {
namespace {

TEST(NumericTest, NearestRoundsHalfToEven) {
    struct Case {
        double value;
        int32_t expected;
    };
    const Case cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0},  {-1.5, -2},
                          {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-7.6, -8}, {0.0, 0}};
    for (const Case& c : cases) EXPECT_EQ(nearest(c.value), c.expected) << c.value;
}

TEST(NumericTest, NearestSaturatesAndMapsNanToZero) {
    constexpr auto kMax = std::numeric_limits<int32_t>::max();
    constexpr auto kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(nearest(1e12), kMax);
    EXPECT_EQ(nearest(-1e12), kMin);
    EXPECT_EQ(nearest(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(nearest(std::nan("")), 0);
    EXPECT_EQ(nearest(2147483646.5), 2147483646);
}

TEST(NumericTest, WrappingArithmeticWrapsAt32Bits) {
    constexpr auto kMax = std::numeric_limits<int32_t>::max();
    constexpr auto kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(wrapAdd(kMax, 1), kMin);
    EXPECT_EQ(wrapSub(kMin, 1), kMax);
    EXPECT_EQ(wrapSub(5, 7), -2);
    EXPECT_EQ(wrapAdd(-1, -1), -2);
}

TEST(NumericTest, DivisionTruncatesTowardZero) {
    EXPECT_EQ(truncDiv(-7, 2), -3);
    EXPECT_EQ(truncMod(-7, 2), -1);
    EXPECT_EQ(truncDiv(7, -2), -3);
    EXPECT_EQ(truncMod(7, -2), 1);
}

TEST(NumericTest, CosdAndClamp) {
    EXPECT_NEAR(cosd(60), 0.5, 1e-15);
    EXPECT_NEAR(cosd(180), -1.0, 1e-15);
    EXPECT_EQ(clampInt(-3, 0, 10), 0);
    EXPECT_EQ(clampInt(13, 0, 10), 10);
    EXPECT_EQ(clampInt(4, 0, 10), 4);
}

} // namespace
} // namespace lv
