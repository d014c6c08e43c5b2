#include "engine/Rain.h"
#include "engine/Snow.h"
#include "platform/Random.h"

#include <cmath>
#include <gtest/gtest.h>

namespace lv {
namespace {

constexpr uint32_t kGround = 0x123456;

Bitmap ground(int w, int h) {
    Bitmap bitmap(w, h);
    bitmap.fill(kGround);
    return bitmap;
}

int countNot(const Bitmap& bitmap, uint32_t value) {
    int n = 0;
    for (uint32_t p : bitmap.pixels()) n += p != value;
    return n;
}

TEST(Weather, CountIsCappedAndZeroDrawsNothing) {
    Bitmap target = ground(40, 30);
    TSnow snow;
    snow.Target = &target;
    snow.SetCount(5000);
    EXPECT_EQ(snow.Count(), 1000);
    snow.SetCount(-3);
    EXPECT_EQ(snow.Count(), 0);
    snow.Scatter();
    snow.Step();
    TRain rain;
    rain.Target = &target;
    rain.SetCount(0);
    rain.Scatter();
    rain.Step();
    EXPECT_EQ(countNot(target, kGround), 0);
    rain.SetCount(1001);
    EXPECT_EQ(rain.Count(), 1000);
}

TEST(Weather, ScatterPlacesParticlesInsideTheTargetWithValidSizes) {
    setRandomSeed(7);
    Bitmap target(50, 20);
    TSnow snow;
    snow.Target = &target;
    snow.SetCount(300);
    snow.Scatter();
    for (const TFlake& f : snow.flakes()) {
        EXPECT_TRUE(f.X >= 0 && f.X < 50 && f.Y >= 0 && f.Y < 20);
        EXPECT_TRUE(f.FlakeSize >= 2 && f.FlakeSize <= 4 && f.Drift >= -1 && f.Drift <= 1);
    }
    TRain rain;
    rain.Target = &target;
    rain.SetCount(300);
    rain.Scatter();
    for (const TDrop& d : rain.drops()) {
        EXPECT_TRUE(d.X >= 0 && d.X < 50 && d.Y >= 0 && d.Y < 20);
        EXPECT_TRUE(d.DropSpeed >= 2 && d.DropSpeed <= 4 && d.DropLength >= 1 && d.DropLength <= 4);
    }
}

// One flake placed by hand; returns it after one Step.
TFlake stepFlake(TFlake flake, int32_t speedIndex, int w = 40, int h = 30) {
    Bitmap target = ground(w, h);
    TSnow snow;
    snow.Target = &target;
    snow.SpeedIndex = speedIndex;
    snow.SpeedPercent = 100;
    snow.SetCount(1);
    snow.flakes()[0] = flake;
    snow.Step();
    return snow.flakes()[0];
}

TEST(Snow, SpeedIndexOneMovesASmallFlakeFourTenthsOfAPixel) {
    const TFlake moved = stepFlake({.X = 5, .Y = 5, .FlakeSize = 2, .Drift = 1}, 1);
    EXPECT_DOUBLE_EQ(moved.Y, 5.4);
    EXPECT_DOUBLE_EQ(moved.X, 5.2);
    // Big flakes fall faster: speed index 10 is 100 percent, a step of 1.
    EXPECT_DOUBLE_EQ(stepFlake({.X = 5, .Y = 5, .FlakeSize = 4, .Drift = 0}, 10).Y, 9.0);
}

TEST(Snow, WrapRules) {
    // 40 x 30 target, step 1 (speed index 10).
    EXPECT_DOUBLE_EQ(stepFlake({.X = 0.5, .Y = 5, .FlakeSize = 2, .Drift = -1}, 10).X, 40.0);
    EXPECT_DOUBLE_EQ(stepFlake({.X = 39.5, .Y = 5, .FlakeSize = 2, .Drift = 1}, 10).X, 0.0);
    EXPECT_DOUBLE_EQ(stepFlake({.X = 39, .Y = 5, .FlakeSize = 2, .Drift = 1}, 10).X, 40.0); // X = W stays
    EXPECT_DOUBLE_EQ(stepFlake({.X = 5, .Y = 27, .FlakeSize = 2, .Drift = 0}, 10).Y, 29.0); // H - 1 stays
    const TFlake wrapped = stepFlake({.X = 7, .Y = 27.5, .FlakeSize = 2, .Drift = 0}, 10);
    EXPECT_DOUBLE_EQ(wrapped.Y, 0.0);
    EXPECT_DOUBLE_EQ(wrapped.X, 7.0); // same column
}

TEST(Snow, HostileSpeedIndexIsClampedIntoTheTable) {
    EXPECT_DOUBLE_EQ(stepFlake({.X = 5, .Y = 5, .FlakeSize = 2, .Drift = 0}, -100).Y, 5.2);     // 10 percent
    EXPECT_DOUBLE_EQ(stepFlake({.X = 5, .Y = 5, .FlakeSize = 2, .Drift = 0}, 1 << 30).Y, 15.0); // 500 percent
}

TEST(Snow, DrawsEachFlakeAsAFilledEllipseAtItsRoundedPosition) {
    Bitmap target = ground(20, 20);
    TSnow snow;
    snow.Target = &target;
    snow.SpeedPercent = 0; // no motion
    snow.SetCount(1);
    snow.flakes()[0] = {.X = 4.5, .Y = 7.5, .FlakeSize = 4, .Drift = 0}; // rounds to (4, 8)
    setRandomSeed(1);
    snow.Step();
    const int size = snow.flakes()[0].FlakeSize; // may have changed by one after the move
    EXPECT_EQ(target.at(4, 8), size == 4 ? kGround : TSnow::kOutlineColor);
    EXPECT_EQ(target.at(5, 8), TSnow::kOutlineColor);
    EXPECT_EQ(target.at(5, 9), size == 2 ? TSnow::kOutlineColor : TSnow::kFillColor);
    EXPECT_EQ(target.at(4 + size, 8 + 1), kGround);
    EXPECT_EQ(countNot(target, kGround), size == 2 ? 4 : (size == 3 ? 9 : 12));
}

TDrop stepDrop(TDrop drop, int32_t angle, int w = 40, int h = 30) {
    Bitmap target = ground(w, h);
    TRain rain;
    rain.Target = &target;
    rain.SpeedIndex = 10;
    rain.Angle = angle;
    rain.SetCount(1);
    rain.drops()[0] = drop;
    rain.Step();
    return rain.drops()[0];
}

TEST(Rain, MovesAlongItsAngle) {
    // Step 1, speed 2: six pixels down per frame.
    const TDrop straight = stepDrop({.X = 10, .Y = 5, .DropSpeed = 2, .DropLength = 1}, 90);
    EXPECT_DOUBLE_EQ(straight.Y, 11.0);
    EXPECT_NEAR(straight.X, 10.0, 1e-12); // cosd(90) is 0 up to rounding
    EXPECT_GT(stepDrop({.X = 10, .Y = 5, .DropSpeed = 2, .DropLength = 1}, 60).X, 12.9);
    EXPECT_LT(stepDrop({.X = 10, .Y = 5, .DropSpeed = 2, .DropLength = 1}, 120).X, 7.1);
}

TEST(Rain, WrapRules) {
    // 40 x 30 target; angle 180 moves x by -(distance fallen) = -6.
    EXPECT_DOUBLE_EQ(stepDrop({.X = -15, .Y = 5, .DropSpeed = 2, .DropLength = 1}, 180).X, 40.0);
    EXPECT_DOUBLE_EQ(stepDrop({.X = -14, .Y = 5, .DropSpeed = 2, .DropLength = 1}, 180).X, -20.0);
    EXPECT_DOUBLE_EQ(stepDrop({.X = 55, .Y = 5, .DropSpeed = 2, .DropLength = 1}, 0).X, -20.0);
    EXPECT_DOUBLE_EQ(stepDrop({.X = 54, .Y = 5, .DropSpeed = 2, .DropLength = 1}, 0).X, 60.0);
    EXPECT_DOUBLE_EQ(stepDrop({.X = 5, .Y = 45, .DropSpeed = 2, .DropLength = 1}, 90).Y, -20.0);
    EXPECT_DOUBLE_EQ(stepDrop({.X = 5, .Y = 44, .DropSpeed = 2, .DropLength = 1}, 90).Y, 50.0);
}

struct StreakCase {
    int32_t dropSpeed;
    int32_t grey; // of the last third
};

TEST(Rain, DrawsATwoToneStreakBelowTheDrop) {
    for (const StreakCase c : {StreakCase{2, 218}, StreakCase{3, 227}, StreakCase{4, 255}}) {
        Bitmap target = ground(30, 40);
        TRain rain;
        rain.Target = &target;
        rain.SpeedPercent = 0; // no motion
        rain.Angle = 90;
        rain.LengthFactor = 10;
        rain.SetCount(1);
        rain.drops()[0] = {.X = 10, .Y = 10, .DropSpeed = c.dropSpeed, .DropLength = 3};
        rain.Step();
        const int length = c.dropSpeed * 3; // y1 = y0 + speed x length x 1.0
        const int joint = 10 + std::lround(2.0 * length / 3);
        const uint32_t dim = rgb(c.grey - 60, c.grey - 60, c.grey - 60);
        const uint32_t bright = rgb(c.grey, c.grey, c.grey);
        for (int y = 0; y < 40; ++y) {
            const uint32_t expected = y < 10 || y >= 10 + length ? kGround : (y < joint ? dim : bright);
            EXPECT_EQ(target.at(10, y), expected) << "speed " << c.dropSpeed << " row " << y;
        }
        EXPECT_EQ(countNot(target, kGround), length);
    }
}

TEST(Rain, HostileLengthFactorDoesNotOverflowOrHang) {
    Bitmap target = ground(30, 40);
    TRain rain;
    rain.Target = &target;
    rain.SpeedPercent = 0;
    rain.Angle = 45;
    rain.LengthFactor = INT32_MAX;
    rain.SetCount(3);
    rain.Scatter();
    rain.Step();
    EXPECT_GT(countNot(target, kGround), 0);
}

} // namespace
} // namespace lv
