#include "platform/Canvas.h"

#include <climits>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace lv {
namespace {

constexpr uint32_t kPen = 0x112233;
constexpr uint32_t kBrush = 0xAABBCC;

using Points = std::set<std::pair<int, int>>;

Points painted(const Bitmap& bitmap, uint32_t color) {
    Points points;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            if (bitmap.at(x, y) == color) points.insert({x, y});
    return points;
}

struct LineCase {
    const char* name;
    int x0, y0, x1, y1;
    Points expected;
};

// Expected pixels worked out by hand from the raster rule: first pixel in, end point out, a tie
// half way between two pixels going to the upper (x-major) or left (y-major) one.
TEST(CanvasLine, FollowsTheRasterRule) {
    const std::vector<LineCase> cases{
        {"horizontal", 1, 1, 5, 1, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {"leftwards", 5, 1, 1, 1, {{5, 1}, {4, 1}, {3, 1}, {2, 1}}},
        {"vertical", 2, 0, 2, 3, {{2, 0}, {2, 1}, {2, 2}}},
        {"shallow ties go up", 0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {"shallow reversed", 4, 2, 0, 0, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        {"steep ties go left", 0, 0, 2, 4, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        {"diagonal", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        {"single step", 3, 3, 4, 4, {{3, 3}}},
        {"zero length", 3, 3, 3, 3, {}},
    };
    for (const LineCase& c : cases) {
        Bitmap bitmap(8, 8);
        Canvas canvas(bitmap);
        canvas.setPenColor(kPen);
        canvas.moveTo(c.x0, c.y0);
        canvas.lineTo(c.x1, c.y1);
        EXPECT_EQ(painted(bitmap, kPen), c.expected) << c.name;
        EXPECT_EQ(canvas.penPosition(), (CanvasPoint{c.x1, c.y1})) << c.name;
    }
}

TEST(CanvasLine, ContinuesFromThePenPositionAndOwnsTheJoint) {
    Bitmap bitmap(8, 8);
    Canvas canvas(bitmap);
    canvas.moveTo(0, 2);
    canvas.setPenColor(1);
    canvas.lineTo(3, 2);
    canvas.setPenColor(2);
    canvas.lineTo(6, 2);
    EXPECT_EQ(painted(bitmap, 1), (Points{{0, 2}, {1, 2}, {2, 2}}));
    EXPECT_EQ(painted(bitmap, 2), (Points{{3, 2}, {4, 2}, {5, 2}}));
}

TEST(CanvasLine, ClipsFarAwayEndPointsWithoutWalkingThem) {
    Bitmap bitmap(6, 4);
    Canvas canvas(bitmap);
    canvas.setPenColor(kPen);
    canvas.moveTo(-2000000000, 1);
    canvas.lineTo(2000000000, 1);
    EXPECT_EQ(painted(bitmap, kPen).size(), 6u);
    canvas.moveTo(INT_MIN, INT_MIN);
    canvas.lineTo(INT_MAX, INT_MAX); // the diagonal through the bitmap, clipped
    EXPECT_TRUE(painted(bitmap, kPen).count({2, 2}));
    bitmap.fill(0);
    canvas.moveTo(INT_MAX, 0);
    canvas.lineTo(INT_MAX - 5, 3); // wholly outside
    EXPECT_TRUE(painted(bitmap, kPen).empty());
}

struct EllipseCase {
    const char* name;
    int left, top, right, bottom;
    Points outline;
    Points inside;
};

TEST(CanvasEllipse, FillsItsBoxLessTheRightAndBottomEdge) {
    const std::vector<EllipseCase> cases{
        {"2x2 is all outline", 1, 1, 3, 3, {{1, 1}, {2, 1}, {1, 2}, {2, 2}}, {}},
        {"3x3 keeps its corners",
         0,
         0,
         3,
         3,
         {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}},
         {{1, 1}}},
        {"4x4 drops its corners",
         0,
         0,
         4,
         4,
         {{1, 0}, {2, 0}, {0, 1}, {3, 1}, {0, 2}, {3, 2}, {1, 3}, {2, 3}},
         {{1, 1}, {2, 1}, {1, 2}, {2, 2}}},
        {"empty box", 2, 2, 2, 5, {}, {}},
        {"inverted box", 4, 4, 1, 1, {}, {}},
        {"clipped at the corner", -1, -1, 1, 1, {{0, 0}}, {}},
    };
    for (const EllipseCase& c : cases) {
        Bitmap bitmap(6, 6);
        Canvas canvas(bitmap);
        canvas.setPenColor(kPen);
        canvas.setBrushColor(kBrush);
        canvas.ellipse(c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(painted(bitmap, kPen), c.outline) << c.name;
        EXPECT_EQ(painted(bitmap, kBrush), c.inside) << c.name;
    }
}

TEST(CanvasEllipse, HugeBoxesStayInsideTheBitmap) {
    Bitmap bitmap(5, 5);
    Canvas canvas(bitmap);
    canvas.setPenColor(kPen);
    canvas.setBrushColor(kBrush);
    canvas.ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(painted(bitmap, kBrush).size(), 25u); // the bitmap sits deep inside the ellipse
}

// Plain per-pixel versions of both rules, to check the incremental line walk and the span-based
// ellipse fill against on many random shapes.
Bitmap plainLine(int w, int h, int x0, int y0, int x1, int y1) {
    Bitmap bitmap(w, h);
    const int64_t dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    for (int64_t i = 0; i < steps; ++i) {
        const int64_t delta = xMajor ? dy : dx, start = xMajor ? y0 : x0;
        const int64_t major = (xMajor ? x0 : y0) + ((xMajor ? dx : dy) > 0 ? i : -i);
        // nearest(start + delta * i / steps), ties to the smaller value
        const int64_t minor = static_cast<int64_t>(std::ceil(start + double(delta * i) / steps - 0.5));
        const int64_t px = xMajor ? major : minor, py = xMajor ? minor : major;
        if (px >= 0 && py >= 0 && px < w && py < h) bitmap.at(int(px), int(py)) = kPen;
    }
    return bitmap;
}

Bitmap plainEllipse(int w, int h, int left, int top, int right, int bottom) {
    Bitmap bitmap(w, h);
    auto inside = [&](int x, int y) {
        if (x < left || x >= right || y < top || y >= bottom) return false;
        const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
        const double ex = (x + 0.5 - (left + rx)) / rx, ey = (y + 0.5 - (top + ry)) / ry;
        return ex * ex + ey * ey <= 1.0 + 1e-12;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (inside(x, y))
                bitmap.at(x, y) = inside(x - 1, y) && inside(x + 1, y) && inside(x, y - 1) && inside(x, y + 1)
                                      ? kBrush
                                      : kPen;
    return bitmap;
}

TEST(Canvas, MatchesThePlainPerPixelRulesOnRandomShapes) {
    std::mt19937 rng(99);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 3000; ++round) {
        const int w = pick(1, 20), h = pick(1, 20);
        const int x0 = pick(-30, 50), y0 = pick(-30, 50), x1 = pick(-30, 50), y1 = pick(-30, 50);
        Bitmap bitmap(w, h);
        Canvas canvas(bitmap);
        canvas.setPenColor(kPen);
        canvas.setBrushColor(kBrush);
        canvas.moveTo(x0, y0);
        canvas.lineTo(x1, y1);
        ASSERT_TRUE(bitmap == plainLine(w, h, x0, y0, x1, y1))
            << "line " << x0 << "," << y0 << " to " << x1 << "," << y1 << " on " << w << "x" << h;
    }
    for (int round = 0; round < 3000; ++round) {
        const int w = pick(1, 20), h = pick(1, 20);
        const int left = pick(-10, 20), top = pick(-10, 20), right = left + pick(-2, 25),
                  bottom = top + pick(-2, 25);
        Bitmap bitmap(w, h);
        Canvas canvas(bitmap);
        canvas.setPenColor(kPen);
        canvas.setBrushColor(kBrush);
        canvas.ellipse(left, top, right, bottom);
        ASSERT_TRUE(bitmap == plainEllipse(w, h, left, top, right, bottom))
            << "ellipse " << left << "," << top << "," << right << "," << bottom << " on " << w << "x" << h;
    }
}

} // namespace
} // namespace lv
