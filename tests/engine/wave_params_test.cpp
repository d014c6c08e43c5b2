// Area colours, the speed table and the default wave set.

#include "engine/WaveParams.h"

#include <gtest/gtest.h>

namespace lv {
namespace {

TEST(AreaColors, LookUpBothWays) {
    const std::pair<uint32_t, int32_t> cases[] = {
        {0x0000FF, 1}, {0xFF00FF, 2}, {0xFF0000, 3},   {0xFFFF00, 4},
        {0x000000, 0}, {0xFFFFFF, 0}, {0x010000FF, 0}, // an area colour with a fourth byte is land
        {0x0000FE, 0},
    };
    for (const auto& [pixel, number] : cases) EXPECT_EQ(areaColorNumber(pixel), number) << std::hex << pixel;
    for (int32_t n = 1; n <= 4; ++n) EXPECT_EQ(areaColorNumber(areaColorOf(n)), n);
    for (int32_t n : {0, 5, 9, -1}) EXPECT_EQ(areaColorOf(n), 0u);
}

TEST(WaveRecords, DefaultsAndSpeedTable) {
    EXPECT_EQ(TWaveParam{}, (TWaveParam{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(kDefaultWaveParam, (TWaveParam{6, 17, 15, 1, 0, 1, 1, 0, 360, 0, 0}));
    EXPECT_EQ(SpeedTable[10], 100);
    EXPECT_EQ(speedTableAt(-3), 10);
    EXPECT_EQ(speedTableAt(20), 500);
    EXPECT_EQ(speedTableAt(1000), 500);
}

} // namespace
} // namespace lv
