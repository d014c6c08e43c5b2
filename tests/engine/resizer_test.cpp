#include "engine/uResizer.h"
#include "platform/Errors.h"
#include "platform/Resample.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace lv {
namespace {

class FitProbe : public ProjectData {};

FitProbe project(int32_t w, int32_t h) {
    FitProbe p;
    p.Picture.setSize(w, h);
    p.Mask.setSize(w, h);
    return p;
}

Bitmap bitmapOf(int32_t w, int32_t h, std::vector<uint32_t> pixels) {
    Bitmap b(w, h);
    std::copy(pixels.begin(), pixels.end(), b.pixels().begin());
    return b;
}

TEST(FitProject, BoxOfTheTargetSize) {
    struct Case {
        int32_t w, h, W, H;
        bool proportional;
        int32_t expectW, expectH;
    };
    const Case cases[] = {
        {400, 300, 1024, 768, true, 1024, 768},  // same proportions: the box stays
        {400, 300, 1280, 1024, true, 1280, 960}, // wider target: height follows the width
        {300, 400, 1024, 768, true, 576, 768},   // taller picture: width follows the height
        {400, 300, 1280, 1024, false, 1280, 1024},
        {4000, 1, 100, 100, true, 100, 1}, // a sliver keeps at least one row
    };
    for (const Case& c : cases) {
        FitProbe p = project(c.w, c.h);
        FitProject(c.proportional, p, c.W, c.H);
        EXPECT_EQ(p.Picture.width(), c.expectW) << c.w << "x" << c.h << " into " << c.W << "x" << c.H;
        EXPECT_EQ(p.Picture.height(), c.expectH) << c.w << "x" << c.h << " into " << c.W << "x" << c.H;
        EXPECT_EQ(p.Mask.width(), c.expectW);
        EXPECT_EQ(p.Mask.height(), c.expectH);
    }
}

TEST(FitProject, ValuesScaleWithTiesToEven) {
    struct Case {
        int32_t W, H;        // from 400 x 300
        int32_t value;       // Amplitude, Distortion and loaded speed before
        int32_t amplitude;   // nearest(W / 400 * value)
        int32_t distortion;  // nearest(H / 300 * value)
        int32_t loadedSpeed; // nearest(W * H / 120000 * value)
    };
    const Case cases[] = {
        {200, 300, 1, 0, 1, 0},  // half the area: 0.5 rounds to 0
        {201, 300, 1, 1, 1, 1},  // just over half stays 1
        {200, 150, 1, 0, 0, 0},  // a quarter
        {200, 300, 3, 2, 3, 2},  // 1.5 rounds to 2
        {200, 300, 5, 2, 5, 2},  // 2.5 rounds to 2
        {200, 300, 7, 4, 7, 4},  // 3.5 rounds to 4
        {800, 600, 3, 6, 6, 12}, // growing
    };
    for (const Case& c : cases) {
        FitProbe p = project(400, 300);
        for (int i = 0; i < kAreaCount; ++i) {
            p.Area(i).Amplitude = c.value;
            p.Area(i).Distortion = c.value;
            p.LoadedSpeeds[static_cast<size_t>(i)] = c.value;
            p.Area(i).Speed = c.value;
        }
        FitProject(false, p, c.W, c.H);
        for (int i = 0; i < kAreaCount; ++i) {
            EXPECT_EQ(p.Area(i).Amplitude, c.amplitude) << c.W << "x" << c.H << " value " << c.value;
            EXPECT_EQ(p.Area(i).Distortion, c.distortion) << c.W << "x" << c.H << " value " << c.value;
            EXPECT_EQ(p.LoadedSpeeds[static_cast<size_t>(i)], c.loadedSpeed) << c.W << "x" << c.H;
            EXPECT_EQ(p.Area(i).Speed, c.value); // the live speed is not the fitted one
        }
    }
}

TEST(FitProject, MaskKeepsOnlyAreaColoursAndBlack) {
    FitProbe p = project(37, 23);
    uint32_t seed = 1;
    for (uint32_t& pixel : p.Mask.pixels()) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t pick = (seed >> 16) % 5;
        pixel = pick == 4 ? 0 : AreaColors[pick];
    }
    const std::set<uint32_t> allowed{0, AreaColors[0], AreaColors[1], AreaColors[2], AreaColors[3]};
    for (const auto& [W, H] : std::vector<std::pair<int, int>>{{101, 77}, {9, 5}, {37, 23}}) {
        FitProbe fitted = p;
        FitProject(false, fitted, W, H);
        for (const uint32_t pixel : fitted.Mask.pixels())
            ASSERT_TRUE(allowed.count(pixel)) << std::hex << pixel;
    }
}

TEST(FitProject, RefusesWhatCannotBeFitted) {
    FitProbe empty;
    EXPECT_THROW(FitProject(true, empty, 100, 100), Error);
    FitProbe p = project(4, 3);
    EXPECT_THROW(FitProject(false, p, 0, 100), Error);
    EXPECT_THROW(FitProject(true, p, 100, -1), Error);
    EXPECT_EQ(p.Picture.width(), 4); // untouched
}

// Expected values worked out by hand from the 15-bit rule: step = (size - 1) * 32768 / target.
TEST(SmoothResize, BilinearWithFifteenFractionBits) {
    Bitmap row(4, 1);
    smoothResize(bitmapOf(2, 1, {0x000000, 0xFFFFFF}), row);
    // fractions 0, 8192, 16384, 24576: 255 * f >> 15 = 0, 63, 127, 191
    EXPECT_EQ(std::vector<uint32_t>(row.pixels().begin(), row.pixels().end()),
              (std::vector<uint32_t>{0x000000, 0x3F3F3F, 0x7F7F7F, 0xBFBFBF}));

    // Corners black, blue, green, red; at (2, 2) both fractions are one half. Along the rows:
    // top blue 127; bottom green and red 255 + (-255 * 16384 >> 15) = 127 (the shift floors).
    // Between the rows: blue 127 + (-127 * 16384 >> 15) = 63; green and red 127 * 16384 >> 15 = 63.
    Bitmap square(4, 4);
    smoothResize(bitmapOf(2, 2, {0x000000, 0x0000FF, 0x00FF00, 0xFF0000}), square);
    EXPECT_EQ(square.at(2, 2), 0x3F3F3Fu);
    EXPECT_EQ(square.at(0, 0), 0x000000u);

    // A single source pixel fills everything.
    Bitmap wide(5, 3);
    smoothResize(bitmapOf(1, 1, {0x123456}), wide);
    for (const uint32_t pixel : wide.pixels()) EXPECT_EQ(pixel, 0x123456u);
}

TEST(NearestStretch, TakesWholeSourcePixels) {
    Bitmap out(7, 1);
    nearestStretch(bitmapOf(3, 1, {1, 2, 3}), out); // x * 3 / 7
    EXPECT_EQ(std::vector<uint32_t>(out.pixels().begin(), out.pixels().end()),
              (std::vector<uint32_t>{1, 1, 1, 2, 2, 3, 3}));
}

TEST(Blend, StepsTowardTheNewPicture) {
    struct Case {
        uint32_t old, newer;
        int32_t alpha;
        uint32_t expected;
    };
    const Case cases[] = {
        {0x00000000, 0xFFFFFFFF, 0, 0x00000000},   {0x00000000, 0xFFFFFFFF, 256, 0xFFFFFFFF},
        {0x00000000, 0x00FFFFFF, 128, 0x007F7F7F}, // 255 * 128 >> 8 = 127
        {0x00FFFFFF, 0x00000000, 128, 0x007F7F7F}, // 255 + (-255 * 128 >> 8) = 255 - 128
        {0x00102030, 0x00102030, 77, 0x00102030},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> into{c.old, c.old, c.old};
        const std::vector<uint32_t> newer{c.newer, c.newer, c.newer};
        blendInto(into, newer, c.alpha);
        for (const uint32_t pixel : into) EXPECT_EQ(pixel, c.expected) << std::hex << c.old << " " << c.newer;
    }
}

} // namespace
} // namespace lv
