#include "platform/Canvas.h"

#include <algorithm>
#include <cstdlib>

namespace lv {
namespace {

// The minor coordinate after `step` of `steps` major steps: start + delta * step / steps rounded
// to nearest, a tie (exactly half way) going to the smaller coordinate.
int64_t minorAt(int64_t start, int64_t delta, int64_t step, int64_t steps) {
    // ceil(v - 1/2) with v = delta * step / steps, in integers: ceil((2*delta*step - steps) / (2*steps)).
    // 128-bit: delta and step may both be near 2^32 on lines with far-away end points.
    const __int128 numerator = __int128{2} * delta * step - steps;
    const __int128 denominator = __int128{2} * steps;
    const __int128 negated = -numerator;
    __int128 q = negated / denominator;
    if (negated % denominator != 0 && negated < 0) --q;
    return start - static_cast<int64_t>(q);
}

// The range of step indices i in [0, steps) for which start + sign * i lies in [0, limit).
bool clipSteps(int64_t start, int64_t sign, int64_t steps, int64_t limit, int64_t& first, int64_t& last) {
    int64_t lo = 0, hi = steps - 1;
    if (sign > 0) {
        lo = std::max(lo, -start);
        hi = std::min(hi, limit - 1 - start);
    } else {
        lo = std::max(lo, start - (limit - 1));
        hi = std::min(hi, start);
    }
    first = lo;
    last = hi;
    return lo <= hi;
}

} // namespace

void Canvas::lineTo(int32_t x, int32_t y) {
    const int64_t x0 = position_.x, y0 = position_.y;
    const int64_t dx = int64_t{x} - x0, dy = int64_t{y} - y0;
    position_ = {x, y};
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (steps == 0) return;
    // Walk only the part of the major axis that lies inside the bitmap, so a line with far-away
    // end points costs no more than the bitmap is wide or high.
    const int64_t majorStart = xMajor ? x0 : y0;
    const int64_t majorSign = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const int64_t limit = xMajor ? target_.width() : target_.height();
    int64_t first = 0, last = 0;
    if (!clipSteps(majorStart, majorSign, steps, limit, first, last)) return;
    for (int64_t i = first; i <= last; ++i) {
        const int64_t major = majorStart + majorSign * i;
        if (xMajor)
            plot(major, minorAt(y0, dy, i, steps), pen_);
        else
            plot(minorAt(x0, dx, i, steps), major, pen_);
    }
}

void Canvas::ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const int64_t w = int64_t{right} - left, h = int64_t{bottom} - top;
    if (w <= 0 || h <= 0) return;
    // Pixel (x, y) belongs to the ellipse when its centre (x + 1/2, y + 1/2) lies inside the
    // ellipse that touches the box edges. Exact in integers (doubled coordinates, 128-bit products)
    // for any box up to 2^28 a side; larger boxes, which only hostile input makes, use doubles.
    using Wide = __int128;
    constexpr int64_t kExactSide = int64_t{1} << 28;
    const bool exact = w <= kExactSide && h <= kExactSide;
    const int64_t sumX = int64_t{left} + right, sumY = int64_t{top} + bottom;
    const Wide limit = exact ? Wide{w} * w * h * h : 0;
    auto inside = [&](int64_t px, int64_t py) {
        if (px < left || px >= right || py < top || py >= bottom) return false;
        const int64_t ex = 2 * px + 1 - sumX, ey = 2 * py + 1 - sumY;
        if (!exact) {
            const double nx = static_cast<double>(ex) / static_cast<double>(w);
            const double ny = static_cast<double>(ey) / static_cast<double>(h);
            return nx * nx + ny * ny <= 1.0;
        }
        return Wide{ex} * ex * h * h + Wide{ey} * ey * w * w <= limit;
    };
    const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(right, target_.width());
    const int64_t y0 = std::max<int64_t>(top, 0), y1 = std::min<int64_t>(bottom, target_.height());
    for (int64_t py = y0; py < y1; ++py) {
        for (int64_t px = x0; px < x1; ++px) {
            if (!inside(px, py)) continue;
            const bool edge =
                !inside(px - 1, py) || !inside(px + 1, py) || !inside(px, py - 1) || !inside(px, py + 1);
            plot(px, py, edge ? pen_ : brush_);
        }
    }
}

} // namespace lv
