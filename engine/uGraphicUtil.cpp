#include "engine/uGraphicUtil.h"

#include "platform/DesktopWallpaper.h"
#include "platform/FileIo.h"
#include "platform/Picture.h"
#include "platform/Resample.h"

#include <algorithm>
#include <array>

namespace lv {
namespace {

constexpr TColor bgr(uint32_t r, uint32_t g, uint32_t b) {
    return (b << 16) | (g << 8) | r;
}

// Current values of the system colours; the defaults are those of a stock Windows desktop.
std::array<TColor, 31>& systemColors() {
    static std::array<TColor, 31> colors{
        bgr(200, 200, 200), bgr(0, 0, 0),       bgr(153, 180, 209), bgr(191, 205, 219), bgr(240, 240, 240),
        bgr(255, 255, 255), bgr(100, 100, 100), bgr(0, 0, 0),       bgr(0, 0, 0),       bgr(0, 0, 0),
        bgr(180, 180, 180), bgr(244, 247, 252), bgr(171, 171, 171), bgr(51, 153, 255),  bgr(255, 255, 255),
        bgr(240, 240, 240), bgr(160, 160, 160), bgr(109, 109, 109), bgr(0, 0, 0),       bgr(67, 78, 84),
        bgr(255, 255, 255), bgr(105, 105, 105), bgr(227, 227, 227), bgr(0, 0, 0),       bgr(255, 255, 225),
        bgr(0, 0, 0),       bgr(0, 102, 204),   bgr(185, 209, 234), bgr(215, 228, 242), bgr(51, 153, 255),
        bgr(240, 240, 240)};
    return colors;
}

int32_t shadeChannel(uint32_t a, uint32_t b, int32_t percent) {
    const int64_t v = int64_t{b} - (int64_t{percent} * (255 - int64_t{a})) / 100;
    return static_cast<int32_t>(std::clamp<int64_t>(v, 0, 255));
}

} // namespace

TColor ColorToRGB(TColor color) {
    if ((color & kSystemColorFlag) == 0) return color & 0x00FFFFFF;
    const uint32_t index = color & 0xFF;
    return index < systemColors().size() ? systemColors()[index] : clBlack;
}

void SetSystemColor(int index, TColor value) {
    if (index >= 0 && index < static_cast<int>(systemColors().size()))
        systemColors()[static_cast<size_t>(index)] = value & 0x00FFFFFF;
}

TColor Shade(TColor color1, TColor color2, int32_t percent) {
    const TColor a = ColorToRGB(color1), b = ColorToRGB(color2);
    TColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        result |= static_cast<TColor>(shadeChannel((a >> shift) & 0xFF, (b >> shift) & 0xFF, percent))
                  << shift;
    return result;
}

void TintBitmap(Bitmap& bitmap, TColor color, int32_t percent) {
    if (bitmap.empty()) return;
    const uint32_t key = bitmap.at(0, bitmap.height() - 1);
    const TColor tint = ColorToRGB(color);
    for (uint32_t& pixel : bitmap.pixels())
        if (pixel != key) pixel = colorToPixel(Shade(tint, pixelToColor(pixel), percent));
}

void SmoothResizeInto(const Bitmap& source, Bitmap& target) {
    if (source.empty() || target.empty()) return;
    Bitmap opaque = source;
    for (uint32_t& pixel : opaque.pixels()) pixel &= 0x00FFFFFF;
    Bitmap resized(target.width(), target.height());
    smoothResize(opaque, resized);
    target.draw(resized, 0, 0);
}

bool SetWallpaper(const Bitmap& bitmap, const std::filesystem::path& path) {
    writeFileAtomic(path, encodeBmp(bitmap));
    recordWallpaperNotTiled();
    return showDesktopWallpaper(path);
}

} // namespace lv
