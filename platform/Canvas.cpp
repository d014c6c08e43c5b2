#include "platform/Canvas.h"

#include <algorithm>
#include <cstdlib>

namespace lv {
namespace {

// The minor coordinate along a line of `steps` major steps: at step i it is
// start + delta * i / steps rounded to nearest, a tie (exactly half way) going to the smaller
// coordinate, i.e. start - floor((steps - 2 * delta * i) / (2 * steps)). Walked incrementally:
// the quotient q and remainder r of that division change by at most one per step.
class MinorWalk {
  public:
    MinorWalk(int64_t start, int64_t delta, int64_t steps, int64_t firstStep)
        : start_(start), twiceDelta_(2 * delta), divisor_(2 * steps) {
        // 128-bit once: delta and the first step may both be near 2^32 on far-away lines.
        const __int128 numerator = __int128{steps} - __int128{2} * delta * firstStep;
        __int128 q = numerator / divisor_;
        if (numerator % divisor_ != 0 && numerator < 0) --q;
        q_ = static_cast<int64_t>(q);
        r_ = static_cast<int64_t>(numerator - q * divisor_);
    }
    int64_t value() const { return start_ - q_; }
    void next() {
        r_ -= twiceDelta_; // |2 delta| <= divisor: one correction at most
        if (r_ < 0) {
            r_ += divisor_;
            --q_;
        } else if (r_ >= divisor_) {
            r_ -= divisor_;
            ++q_;
        }
    }

  private:
    int64_t start_, twiceDelta_, divisor_;
    int64_t q_ = 0, r_ = 0;
};

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
    MinorWalk minor(xMajor ? y0 : x0, xMajor ? dy : dx, steps, first);
    for (int64_t i = first; i <= last; ++i, minor.next()) {
        const int64_t major = majorStart + majorSign * i;
        if (xMajor)
            plot(major, minor.value(), pen_);
        else
            plot(minor.value(), major, pen_);
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
    // Each row's pixels form one span, symmetric about the box centre; find its right end by
    // bisection (the test is monotone in the distance from the centre) and mirror it.
    const int64_t centre = (sumX - 1) >> 1; // the pixel whose centre is nearest the box centre, left on a tie
    struct Span {
        int64_t from = 1, to = 0; // empty unless from <= to
        bool has(int64_t px) const { return px >= from && px <= to; }
    };
    auto spanOf = [&](int64_t py) {
        Span span;
        if (py < top || py >= bottom || !inside(centre, py)) return span;
        int64_t lo = centre, hi = int64_t{right} - 1;
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo + 1) / 2;
            if (inside(mid, py))
                lo = mid;
            else
                hi = mid - 1;
        }
        span.to = lo;
        span.from = sumX - 1 - lo;
        return span;
    };
    const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(right, target_.width());
    const int64_t y0 = std::max<int64_t>(top, 0), y1 = std::min<int64_t>(bottom, target_.height());
    if (x0 >= x1 || y0 >= y1) return;
    Span above = spanOf(y0 - 1), here = spanOf(y0);
    for (int64_t py = y0; py < y1; ++py) {
        const Span below = spanOf(py + 1);
        const int64_t from = std::max(here.from, x0), to = std::min(here.to, x1 - 1);
        uint32_t* row = target_.row(static_cast<int32_t>(py));
        for (int64_t px = from; px <= to; ++px) {
            const bool edge = px == here.from || px == here.to || !above.has(px) || !below.has(px);
            row[px] = edge ? pen_ : brush_;
        }
        above = here;
        here = below;
    }
}

} // namespace lv
