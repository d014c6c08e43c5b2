#include "platform/Bitmap.h"

#include "platform/Errors.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace lv {
namespace {

TEST(BitmapTest, NewBitmapIsBlackAndRowsAreTopDownWithoutPadding) {
    Bitmap bitmap(3, 2);
    EXPECT_EQ(bitmap.pixels().size(), 6u);
    for (const uint32_t p : bitmap.pixels()) EXPECT_EQ(p, 0u);
    bitmap.at(2, 0) = 0xAA;
    bitmap.at(0, 1) = 0xBB;
    EXPECT_EQ(bitmap.pixels()[2], 0xAAu);
    EXPECT_EQ(bitmap.pixels()[3], 0xBBu);
    EXPECT_EQ(bitmap.row(1), bitmap.pixels().data() + 3);
}

TEST(BitmapTest, SizeLimits) {
    EXPECT_TRUE(Bitmap::validSize(0, 0));
    EXPECT_TRUE(Bitmap::validSize(Bitmap::kMaxSide, Bitmap::kMaxPixels / Bitmap::kMaxSide));
    EXPECT_FALSE(Bitmap::validSize(Bitmap::kMaxSide, Bitmap::kMaxPixels / Bitmap::kMaxSide + 1));
    EXPECT_FALSE(Bitmap::validSize(Bitmap::kMaxSide + 1, 1));
    EXPECT_FALSE(Bitmap::validSize(-1, 5));
    EXPECT_FALSE(Bitmap::validSize(int64_t{1} << 40, int64_t{1} << 40));
    EXPECT_THROW(Bitmap(-1, 1), Error);
    EXPECT_THROW(Bitmap(1, Bitmap::kMaxSide + 1), Error);
}

TEST(BitmapTest, SetSizeGivesAFreshBlackBitmap) {
    Bitmap bitmap(2, 2);
    bitmap.fill(0x123456);
    bitmap.setSize(1, 3);
    EXPECT_EQ(bitmap.width(), 1);
    EXPECT_EQ(bitmap.height(), 3);
    EXPECT_EQ(bitmap, Bitmap(1, 3));
    EXPECT_TRUE(Bitmap(0, 5).empty());
}

TEST(BitmapTest, DrawClipsOnEverySide) {
    Bitmap source(2, 2);
    source.at(0, 0) = 1, source.at(1, 0) = 2, source.at(0, 1) = 3, source.at(1, 1) = 4;
    struct Case {
        int32_t x, y;
        uint32_t expected[9]; // 3 x 3 target, row by row
    };
    const Case cases[] = {
        {0, 0, {1, 2, 0, 3, 4, 0, 0, 0, 0}},          {-1, -1, {4, 0, 0, 0, 0, 0, 0, 0, 0}},
        {2, 2, {0, 0, 0, 0, 0, 0, 0, 0, 1}},          {2, -1, {0, 0, 3, 0, 0, 0, 0, 0, 0}},
        {3, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0}},          {0, -5, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {2147483647, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0}}, {0, 2147483647, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Bitmap target(3, 3);
        target.draw(source, c.x, c.y);
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(target.pixels()[i], c.expected[i]) << c.x << "," << c.y << " #" << i;
    }
}

} // namespace
} // namespace lv
