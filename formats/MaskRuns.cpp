#include "formats/MaskRuns.h"

#include "engine/WaveParams.h"
#include "platform/Errors.h"

#include <algorithm>

namespace lv {
namespace {

[[noreturn]] void refuse() {
    throw Error("Incorrect Project File!");
}

} // namespace

std::vector<int32_t> encodeMaskRuns(const Bitmap& mask) {
    std::vector<int32_t> runs{mask.width(), mask.height()};
    const auto pixels = mask.pixels();
    size_t i = 0;
    while (i < pixels.size()) {
        const uint32_t value = pixels[i];
        size_t end = i + 1;
        while (end < pixels.size() && pixels[end] == value) ++end;
        runs.push_back(areaColorNumber(value) + 10 * static_cast<int32_t>(end - i));
        i = end;
    }
    return runs;
}

void validateMaskRuns(std::span<const int32_t> runs) {
    if (runs.size() < 2) refuse();
    const int32_t width = runs[0], height = runs[1];
    if (width <= 0 || height <= 0 || !Bitmap::validSize(width, height)) refuse();
    const int64_t total = int64_t{width} * height;
    int64_t covered = 0;
    for (const int32_t v : runs.subspan(2)) {
        if (v < 0) refuse();
        covered += v / 10;
        if (covered > total) refuse();
    }
}

void decodeMaskRuns(std::span<const int32_t> runs, Bitmap& mask) {
    validateMaskRuns(runs);
    mask.setSize(runs[0], runs[1]);
    auto pixels = mask.pixels();
    size_t at = 0;
    for (const int32_t v : runs.subspan(2)) {
        const auto length = static_cast<size_t>(v / 10);
        std::fill_n(pixels.begin() + static_cast<std::ptrdiff_t>(at), length, areaColorOf(v % 10));
        at += length;
    }
}

} // namespace lv
