#include "engine/WaveGenerator.h"

#include "platform/Numeric.h"
#include "platform/Random.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <random>

namespace lv {
namespace {

// A project whose picture pixels are all different (value = index + 1), so that any output pixel
// tells where it was copied from.
struct TestProject : ProjectData {
    TestProject(int w, int h) {
        Picture.setSize(w, h);
        Mask.setSize(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Picture.at(x, y) = static_cast<uint32_t>(y * w + x + 1);
        Loaded = true;
    }
    void paint(int area, int x0, int y0, int x1, int y1) { // inclusive rectangle
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) Mask.at(x, y) = AreaColors[static_cast<size_t>(area)];
    }
    int areaOf(int x, int y) const { return areaColorNumber(Mask.at(x, y)) - 1; }
};

TWaveParam wave(int amplitude, int frequency, int ripple) {
    TWaveParam p;
    p.Amplitude = amplitude;
    p.Frequency = frequency;
    p.Ripple = ripple;
    p.Vertical = 1;
    p.Direction = 1;
    return p;
}

// ---- The plain reference: the documented per-row and per-pixel rules, written out directly. ----

struct RefWaves {
    std::vector<std::array<int32_t, kAreaCount>> vert, horz;
};

int32_t clampTo(int64_t v, int64_t hi) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, 0, hi));
}

RefWaves referenceWaves(const TestProject& p, const std::array<int32_t, kAreaCount>& phase) {
    const int h = p.Picture.height(), w = p.Picture.width();
    std::array<int32_t, kAreaCount> top{50000, 50000, 50000, 50000}, bottom{};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (int k = p.areaOf(x, y); k >= 0) {
                top[k] = std::min(top[k], y);
                bottom[k] = std::max(bottom[k], y);
            }
    RefWaves out{std::vector<std::array<int32_t, kAreaCount>>(h),
                 std::vector<std::array<int32_t, kAreaCount>>(h)};
    for (int k = 0; k < kAreaCount; ++k) {
        const TWaveParam& a = p.Areas[k];
        if (a.Ripple == 0) continue; // such an area stays still
        double amp = a.Amplitude, freq = a.Frequency / (360.0 / a.Ripple), dAmp = 0, dFreq = 0;
        if (a.Perspective) {
            amp = 0;
            const int span = bottom[k] - top[k];
            dAmp = span != 0 ? double(a.Amplitude) / span : a.Amplitude;
            dFreq = span != 0 ? freq / span : freq;
        }
        for (int y = top[k]; y <= bottom[k] && y < h; ++y) {
            if (a.Perspective) {
                amp = amp + dAmp;
                freq = freq - dFreq / 10;
            }
            const double t = (h - y) * freq * 360 / h + phase[k];
            const auto n = static_cast<int64_t>(std::nearbyint(t));
            out.vert[y][k] = nearest(amp * std::cos(double(n % a.Ripple) * std::numbers::pi / 180));
            out.horz[y][k] = nearest(amp * std::cos(double(n % 360) * std::numbers::pi / 180));
        }
    }
    return out;
}

// Output[ty][x] = Picture[sy][sx] when the target, the shifted target and the source all lie in area k.
void referencePixels(const TestProject& p, const TWaveGenerator& g, const RefWaves& waves, Bitmap& out) {
    const int h = p.Picture.height(), w = p.Picture.width();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int k = p.areaOf(x, y);
            if (k < 0) continue;
            const TWaveParam& a = p.Areas[k];
            if (a.Ripple == 0) continue;
            const int64_t r = g.distortionOffsets(k)[x];
            const int ty = clampTo(y - r, h - 1);
            const int sy = clampTo(y - r + (a.Vertical ? waves.vert[y][k] : 0), h - 1);
            const int sx = a.Horizontal ? clampTo(int64_t{x} + waves.horz[y][k], w - 1) : x;
            if (p.areaOf(x, ty) == k && p.areaOf(sx, ty) == k && p.areaOf(sx, sy) == k)
                out.at(x, ty) = p.Picture.at(sx, sy);
        }
    }
}

std::array<int32_t, kAreaCount> phasesOf(const TWaveGenerator& g) {
    return {g.phase(0), g.phase(1), g.phase(2), g.phase(3)};
}

// Runs `frames` frames, checking each against the reference.
void expectMatchesReference(TestProject& p, TWaveGenerator& g, int frames, const std::string& what) {
    Bitmap expected = g.output();
    for (int f = 0; f < frames; ++f) {
        const RefWaves waves = referenceWaves(p, phasesOf(g));
        referencePixels(p, g, waves, expected);
        g.NextFrame();
        for (int y = 0; y < p.Picture.height(); ++y) {
            for (int k = 0; k < kAreaCount; ++k) {
                ASSERT_EQ(g.rowWaves()[y].Vert[k], waves.vert[y][k])
                    << what << " frame " << f << " row " << y;
                ASSERT_EQ(g.rowWaves()[y].Horz[k], waves.horz[y][k])
                    << what << " frame " << f << " row " << y;
            }
        }
        ASSERT_TRUE(g.output() == expected) << what << " frame " << f;
    }
}

TWaveGenerator prepared(TestProject& p) {
    TWaveGenerator g;
    g.SetProject(p);
    g.Prepare();
    return g;
}

// ---- Worked examples ----

struct RowCase {
    int ripple;
    int row;
    int vert;
    int horz;
};

TEST(WaveRows, WorkedExamplesOnAHundredRowPicture) {
    // Height 100, one area over every row, amplitude 10, frequency 1, phase 0.
    const RowCase cases[] = {
        {360, 0, 10, 10}, {360, 25, 0, 0}, {360, 50, -10, -10}, {180, 0, 10, -10}, {180, 50, 0, 0}};
    for (const RowCase& c : cases) {
        TestProject p(3, 100);
        p.paint(0, 0, 0, 2, 99);
        p.Areas[0] = wave(10, 1, c.ripple);
        TWaveGenerator g;
        g.SetProject(p);
        g.Prepare(); // its one frame ran at phase 0
        EXPECT_EQ(g.rowWaves()[c.row].Vert[0], c.vert) << "ripple " << c.ripple << " row " << c.row;
        EXPECT_EQ(g.rowWaves()[c.row].Horz[0], c.horz) << "ripple " << c.ripple << " row " << c.row;
    }
}

TEST(WaveFrame, RowFiftyCopiesRowForty) {
    TestProject p(3, 100);
    p.paint(0, 0, 0, 2, 99);
    p.Areas[0] = wave(10, 1, 360); // speed 0: the phase stays 0
    TWaveGenerator g = prepared(p);
    EXPECT_TRUE(g.output() == p.Picture); // Prepare leaves the still picture
    g.NextFrame();
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(g.output().at(x, 50), p.Picture.at(x, 40));
        EXPECT_EQ(g.output().at(x, 0), p.Picture.at(x, 10));
        EXPECT_EQ(g.output().at(x, 99), p.Picture.at(x, 99)); // clamped source row
    }
}

TEST(WaveFrame, StillCases) {
    // Amplitude 0: the area shows the still picture however the phase moves.
    TestProject p(6, 20);
    p.paint(0, 0, 5, 5, 19);
    p.Areas[0] = wave(0, 17, 360);
    p.Areas[0].Speed = 33;
    p.Areas[0].Horizontal = 1;
    TWaveGenerator g = prepared(p);
    for (int f = 0; f < 10; ++f) g.NextFrame();
    EXPECT_TRUE(g.output() == p.Picture);
    // Distortion 0 gives all-zero offsets (Random(0) is 0); a positive one stays below its bound.
    for (int r : g.distortionOffsets(0)) EXPECT_EQ(r, 0);
    p.Areas[0].Distortion = 5;
    g.RandomizeDistortion();
    const auto offsets = g.distortionOffsets(0);
    EXPECT_EQ(offsets.size(), 6u);
    for (int r : offsets) EXPECT_TRUE(r >= 0 && r < 5);
}

TEST(WaveRows, FrequencyZeroSwaysTheWholeAreaAsOne) {
    TestProject p(4, 50);
    p.paint(1, 0, 3, 3, 40);
    p.Areas[1] = wave(8, 0, 360);
    p.Areas[1].Speed = 45;
    TWaveGenerator g = prepared(p);
    g.NextFrame(); // phase 45
    for (int y = 3; y <= 40; ++y) EXPECT_EQ(g.rowWaves()[y].Vert[1], nearest(8 * cosd(45))) << y;
    EXPECT_EQ(g.rowWaves()[2].Vert[1], 0);
}

TEST(WaveRows, PerspectiveGrowsBeforeUse) {
    // A single-row area gets the full amplitude and 0.9 x the frequency: t = 50 x 0.9 x 360 / 100.
    TestProject single(2, 100);
    single.paint(0, 0, 50, 1, 50);
    single.Areas[0] = wave(20, 1, 360);
    single.Areas[0].Perspective = 1;
    TWaveGenerator g = prepared(single);
    EXPECT_EQ(g.rowWaves()[50].Vert[0], nearest(20 * cosd(nearest(50 * (1 - 0.1) * 360 / 100.0))));
    EXPECT_EQ(g.rowWaves()[50].Vert[0], -19);

    // An area painted in rows 10..20 only: the ramp spans those rows (frequency 0 keeps cos at 1).
    TestProject band(2, 60);
    band.paint(2, 0, 10, 1, 20);
    band.Areas[2] = wave(10, 0, 360);
    band.Areas[2].Perspective = 1;
    TWaveGenerator b = prepared(band);
    EXPECT_EQ(b.areaTop(2), 10);
    EXPECT_EQ(b.areaBottom(2), 20);
    EXPECT_EQ(b.rowWaves()[9].Vert[2], 0);
    EXPECT_EQ(b.rowWaves()[10].Vert[2], 1);
    EXPECT_EQ(b.rowWaves()[15].Vert[2], 6);
    EXPECT_EQ(b.rowWaves()[20].Vert[2], 11);
    EXPECT_EQ(b.rowWaves()[21].Vert[2], 0);
}

TEST(WavePhase, DirectionAndWrapByOverflow) {
    TestProject p(8, 30);
    p.paint(0, 0, 0, 7, 29);
    p.Areas[0] = wave(5, 3, 270);
    p.Areas[0].Speed = 100;
    p.Areas[0].Direction = 0; // up: the phase falls below zero
    p.Areas[1].Speed = 15;
    p.Areas[1].Direction = 7; // anything but 0 is down
    p.SpeedPercent = 150;
    TWaveGenerator g = prepared(p);
    EXPECT_EQ(g.phase(0), -150);
    EXPECT_EQ(g.phase(1), 22); // 15 x 1.5 = 22.5 rounds to even
    expectMatchesReference(p, g, 40, "up");
    EXPECT_EQ(g.phase(0), -150 * 41);

    // A phase step of 2^30 wraps the int32 phase after a few frames, as 32-bit arithmetic does.
    p.Areas[0].Speed = 1 << 30;
    g.SetSpeed(100);
    g.Prepare();
    expectMatchesReference(p, g, 2, "wrap");
    EXPECT_EQ(g.phase(0), 1 << 30); // -3 x 2^30 modulo 2^32
}

TEST(WaveFrame, HorizontalAmplitudeWiderThanThePicture) {
    // Columns 0..3 are water, 4..7 land. Frequency 0 makes horz = 50 cos(phase).
    TestProject p(8, 4);
    p.paint(0, 0, 0, 3, 3);
    p.Areas[0] = wave(50, 0, 360);
    p.Areas[0].Vertical = 0;
    p.Areas[0].Horizontal = 1;
    TWaveGenerator g = prepared(p);
    g.NextFrame(); // horz +50: every source column clamps to 7, which is land: nothing is written
    EXPECT_TRUE(g.output() == p.Picture);
    p.Areas[0].Speed = 180;
    g.NextFrame(); // still phase 0 for this frame; the phase moves to 180 after it
    g.NextFrame(); // horz -50: sources clamp to column 0, inside the area
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(g.output().at(x, y), p.Picture.at(x < 4 ? 0 : x, y)) << x << "," << y;
}

TEST(WaveFrame, ShiftedTargetMustLieInTheAreaToo) {
    // Horizontal waves with distortion: pixel (y, x) writes row y - r of its own column. That
    // pixel may be land even where the shifted column is water; land must keep the picture.
    TestProject p(10, 12);
    p.paint(0, 3, 4, 9, 11); // water below row 4 from column 3; land left of it and above
    p.paint(0, 0, 8, 2, 11);
    p.Areas[0] = wave(3, 2, 360);
    p.Areas[0].Horizontal = 1;
    p.Areas[0].Distortion = 4;
    p.Areas[0].Speed = 40;
    TWaveGenerator g = prepared(p);
    for (int f = 0; f < 30; ++f) {
        g.NextFrame();
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 10; ++x)
                if (p.areaOf(x, y) < 0) {
                    ASSERT_EQ(g.output().at(x, y), p.Picture.at(x, y)) << x << "," << y;
                }
    }
}

// ---- Random projects ----

std::unique_ptr<TestProject> randomProject(std::mt19937& rng, bool hostile) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int w = pick(1, 40), h = pick(1, 80);
    auto p = std::make_unique<TestProject>(w, h);
    for (int blobs = pick(0, 8); blobs > 0; --blobs) {
        const int x0 = pick(0, w - 1), y0 = pick(0, h - 1);
        p->paint(pick(0, 3), x0, y0, std::min(w - 1, x0 + pick(0, 15)), std::min(h - 1, y0 + pick(0, 15)));
    }
    for (int specks = pick(0, 20); specks > 0; --specks) // lone pixels, land included
        p->Mask.at(pick(0, w - 1), pick(0, h - 1)) = pick(0, 4) == 4 ? 0 : AreaColors[pick(0, 3)];
    for (TWaveParam& a : p->Areas) {
        a.Amplitude = pick(0, 60);
        a.Frequency = pick(0, 100);
        a.Speed = pick(0, 100);
        a.Direction = pick(0, 1);
        a.Horizontal = pick(0, 1);
        a.Vertical = pick(0, 1);
        a.Perspective = pick(0, 1);
        a.Ripple = pick(180, 360);
        a.Distortion = pick(0, 3) == 0 ? 0 : pick(1, 50);
        if (hostile) {
            const int32_t extremes[] = {INT32_MIN, -1000000, -7, 0, 1, 1000000, INT32_MAX};
            a.Amplitude = extremes[pick(0, 6)];
            a.Frequency = extremes[pick(0, 6)];
            a.Speed = extremes[pick(0, 6)];
            a.Ripple = extremes[pick(0, 6)];
            a.Distortion = extremes[pick(0, 6)];
        }
    }
    p->SpeedPercent = hostile ? pick(-1000, 1000000) : pick(10, 500);
    return p;
}

TEST(WaveFrame, RandomProjectsMatchThePlainRuleAndKeepAreasApart) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 150; ++round) {
        const bool hostile = round % 5 == 4;
        auto p = randomProject(rng, hostile);
        setRandomSeed(static_cast<uint64_t>(round));
        TWaveGenerator g = prepared(*p);
        const std::string what = (hostile ? "hostile round " : "round ") + std::to_string(round);
        expectMatchesReference(*p, g, 6, what);
        const int w = p->Picture.width(), h = p->Picture.height();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int k = p->areaOf(x, y);
                const uint32_t v = g.output().at(x, y);
                if (k < 0) {
                    ASSERT_EQ(v, p->Picture.at(x, y)) << what << ": land changed at " << x << "," << y;
                    continue;
                }
                const int from = static_cast<int>(v) - 1;
                ASSERT_EQ(p->areaOf(from % w, from / w), k) << what << ": foreign pixel at " << x << "," << y;
            }
        }
    }
}

// ---- Caller faults and set-up ----

TEST(WaveGuards, RippleZeroLeavesThatAreaStill) {
    TestProject p(5, 20);
    p.paint(0, 0, 0, 4, 9);
    p.paint(1, 0, 10, 4, 19);
    p.Areas[0] = wave(6, 5, 0);
    p.Areas[1] = wave(6, 5, 360);
    p.Areas[0].Speed = p.Areas[1].Speed = 30;
    TWaveGenerator g = prepared(p);
    for (int f = 0; f < 5; ++f) g.NextFrame();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(g.output().at(x, y), p.Picture.at(x, y));
    EXPECT_NE(g.phase(0), 0); // the phase still moves
}

TEST(WaveGuards, MaskOfAnotherSizeMeansAllLand) {
    TestProject p(6, 6);
    p.Areas[0] = wave(3, 2, 360);
    p.Areas[0].Speed = 50;
    p.Mask.setSize(5, 6);
    p.Mask.fill(AreaColors[0]);
    TWaveGenerator g = prepared(p);
    for (int f = 0; f < 4; ++f) g.NextFrame();
    EXPECT_TRUE(g.output() == p.Picture);
    EXPECT_EQ(g.areaTop(0), TWaveGenerator::kNoTop);
    EXPECT_EQ(g.areaAt(0, 0), -1);
}

TEST(WaveGuards, PictureChangedWithoutPrepareIsNotRead) {
    TestProject p(6, 6);
    p.paint(0, 0, 0, 5, 5);
    p.Areas[0] = wave(3, 2, 360);
    TWaveGenerator g = prepared(p);
    const Bitmap before = g.output();
    p.Picture.setSize(3, 3); // a reload the caller forgot to announce
    g.NextFrame();
    EXPECT_TRUE(g.output() == before);
    TWaveGenerator unprepared;
    unprepared.NextFrame(); // nothing set: nothing happens
    EXPECT_TRUE(unprepared.output().empty());
}

TEST(WaveAreaMap, SpansAndMaskEdits) {
    TestProject p(7, 9);
    p.paint(3, 2, 2, 4, 5);
    p.Mask.at(0, 8) = AreaColors[3] | 0x01000000; // a fourth byte makes it land
    TWaveGenerator g = prepared(p);
    EXPECT_EQ(g.areaTop(3), 2);
    EXPECT_EQ(g.areaBottom(3), 5);
    EXPECT_EQ(g.areaAt(0, 8), -1);
    EXPECT_EQ(g.areaTop(0), TWaveGenerator::kNoTop);
    EXPECT_EQ(g.areaBottom(0), 0);
    p.paint(3, 6, 7, 6, 7);
    g.BuildAreaMap();
    EXPECT_EQ(g.areaBottom(3), 7);
    EXPECT_EQ(g.areaAt(6, 7), 3);
}

TEST(WaveOutput, ResetOutputWipesDrawings) {
    TestProject p(4, 4);
    TWaveGenerator g = prepared(p);
    g.output().fill(0xABCDEF);
    g.ResetOutput();
    EXPECT_TRUE(g.output() == p.Picture);
}

// ---- Weather ----

TEST(WaveWeather, SetWeatherCreatesTheOverlayOfTheCurrentKind) {
    TestProject p(30, 20);
    p.Weather = {.Kind = kWeatherSnow, .ParticleCount = 4000, .Speed = 10};
    TWaveGenerator g = prepared(p);
    g.SetWeather(true);
    ASSERT_NE(g.weatherFrame(), nullptr);
    ASSERT_NE(g.snow(), nullptr);
    EXPECT_EQ(g.snow()->Count(), 1000);
    EXPECT_EQ(g.rain(), nullptr);
    EXPECT_EQ(&g.FrameOnShow(), g.weatherFrame());

    p.Weather = {.Kind = kWeatherRain, .ParticleCount = 250, .Speed = 3, .Wind = 30, .Length = 20};
    g.SetWeather(true);
    ASSERT_NE(g.rain(), nullptr);
    EXPECT_EQ(g.snow(), nullptr);
    EXPECT_EQ(g.rain()->Count(), 250);
    EXPECT_EQ(g.rain()->LengthFactor, 10);
    g.SetSpeed(200);
    EXPECT_EQ(g.rain()->SpeedPercent, 200);
    g.NextFrame();
    EXPECT_EQ(g.rain()->Angle, 150);
    EXPECT_EQ(g.rain()->LengthFactor, 20);
    EXPECT_EQ(g.rain()->SpeedIndex, 3);
    p.Weather.ParticleCount = 60;
    g.RestartWeather();
    EXPECT_EQ(g.rain()->Count(), 60);

    p.Weather.Kind = kWeatherNone;
    g.SetWeather(true); // a frame but no overlay
    EXPECT_NE(g.weatherFrame(), nullptr);
    EXPECT_EQ(g.rain(), nullptr);
    g.NextFrame();
    EXPECT_TRUE(*g.weatherFrame() == g.output());

    g.SetWeather(false);
    EXPECT_EQ(g.weatherFrame(), nullptr);
    EXPECT_EQ(&g.FrameOnShow(), &g.output());
}

TEST(WaveWeather, FramesRepeatToTheBitUnderAFixedSeed) {
    auto run = [](uint64_t seed) {
        TestProject p(64, 48);
        p.paint(0, 0, 20, 63, 47);
        p.Areas[0] = kDefaultWaveParam;
        p.Areas[0].Distortion = 9;
        p.Areas[0].Horizontal = 1;
        p.Weather = {.Kind = kWeatherRain, .ParticleCount = 300, .Speed = 12, .Wind = 70, .Length = 15};
        setFixedRandomSeed(seed);
        TWaveGenerator g;
        g.SetProject(p);
        g.Prepare();
        g.SetWeather(true);
        for (int f = 0; f < 20; ++f) g.NextFrame();
        setFixedRandomSeed(std::nullopt);
        return g.FrameOnShow();
    };
    EXPECT_TRUE(run(5) == run(5));
    EXPECT_FALSE(run(5) == run(6));
}

} // namespace
} // namespace lv
