#include "platform/Resample.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace lv {
namespace {

constexpr int kFractionBits = 15;
constexpr int32_t kFractionMask = (1 << kFractionBits) - 1;

// Where each target column (or row) samples the source: left index, right index, fraction.
struct Taps {
    std::vector<int32_t> first;
    std::vector<int32_t> second;
    std::vector<int32_t> fraction;
};

Taps makeTaps(int32_t sourceSize, int32_t targetSize) {
    Taps taps;
    taps.first.resize(static_cast<size_t>(targetSize));
    taps.second.resize(static_cast<size_t>(targetSize));
    taps.fraction.resize(static_cast<size_t>(targetSize));
    const int64_t step = (int64_t{sourceSize - 1} << kFractionBits) / targetSize;
    for (int32_t i = 0; i < targetSize; ++i) {
        const int64_t position = i * step;
        const auto index = static_cast<int32_t>(position >> kFractionBits);
        taps.first[i] = index;
        taps.second[i] = std::min(index + 1, sourceSize - 1);
        taps.fraction[i] = static_cast<int32_t>(position & kFractionMask);
    }
    return taps;
}

// One source row interpolated along x into 4 channel values per target pixel.
void horizontalPass(const uint32_t* source, const Taps& taps, int32_t* out) {
    const size_t width = taps.first.size();
    for (size_t x = 0; x < width; ++x) {
        const uint32_t a = source[taps.first[x]];
        const uint32_t b = source[taps.second[x]];
        const int32_t f = taps.fraction[x];
        for (int c = 0; c < 4; ++c) {
            const auto ca = static_cast<int32_t>((a >> (8 * c)) & 0xFF);
            const auto cb = static_cast<int32_t>((b >> (8 * c)) & 0xFF);
            out[x * 4 + c] = ca + (((cb - ca) * f) >> kFractionBits);
        }
    }
}

// Two interpolated rows blended along y into target pixels; a plain loop the compiler vectorises.
void verticalPass(const int32_t* top, const int32_t* bottom, int32_t fraction, size_t width, uint32_t* out) {
    for (size_t x = 0; x < width; ++x) {
        uint32_t pixel = 0;
        for (int c = 0; c < 4; ++c) {
            const int32_t t = top[x * 4 + c];
            const int32_t v = t + (((bottom[x * 4 + c] - t) * fraction) >> kFractionBits);
            pixel |= static_cast<uint32_t>(v) << (8 * c);
        }
        out[x] = pixel;
    }
}

} // namespace

void smoothResize(const Bitmap& source, Bitmap& target) {
    if (source.empty() || target.empty()) return;
    const Taps columns = makeTaps(source.width(), target.width());
    const Taps rows = makeTaps(source.height(), target.height());
    const auto width = static_cast<size_t>(target.width());
    std::vector<int32_t> top(width * 4), bottom(width * 4);
    int32_t topRow = -1, bottomRow = -1;
    for (int32_t y = 0; y < target.height(); ++y) {
        const int32_t wantTop = rows.first[y], wantBottom = rows.second[y];
        // Consecutive target rows mostly share their source rows when enlarging: reuse them.
        if (wantTop == bottomRow) {
            std::swap(top, bottom);
            std::swap(topRow, bottomRow);
        }
        if (wantTop != topRow) horizontalPass(source.row(wantTop), columns, top.data());
        topRow = wantTop;
        if (wantBottom != bottomRow) horizontalPass(source.row(wantBottom), columns, bottom.data());
        bottomRow = wantBottom;
        verticalPass(top.data(), bottom.data(), rows.fraction[y], width, target.row(y));
    }
}

void nearestStretch(const Bitmap& source, Bitmap& target) {
    if (source.empty() || target.empty()) return;
    std::vector<int32_t> columns(static_cast<size_t>(target.width()));
    for (int32_t x = 0; x < target.width(); ++x)
        columns[x] = static_cast<int32_t>(int64_t{x} * source.width() / target.width());
    for (int32_t y = 0; y < target.height(); ++y) {
        const uint32_t* from =
            source.row(static_cast<int32_t>(int64_t{y} * source.height() / target.height()));
        uint32_t* to = target.row(y);
        for (int32_t x = 0; x < target.width(); ++x) to[x] = from[columns[x]];
    }
}

void blendInto(std::span<uint32_t> into, std::span<const uint32_t> newer, int32_t alpha) {
    const size_t count = std::min(into.size(), newer.size());
    const int32_t a = std::clamp(alpha, 0, 256);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t o = into[i], n = newer[i];
        uint32_t pixel = 0;
        for (int c = 0; c < 4; ++c) {
            const auto co = static_cast<int32_t>((o >> (8 * c)) & 0xFF);
            const auto cn = static_cast<int32_t>((n >> (8 * c)) & 0xFF);
            pixel |= static_cast<uint32_t>(co + (((cn - co) * a) >> 8)) << (8 * c);
        }
        into[i] = pixel;
    }
}

} // namespace lv
