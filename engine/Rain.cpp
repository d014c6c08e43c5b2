#include "engine/Rain.h"

#include "engine/WeatherStep.h"
#include "platform/Canvas.h"
#include "platform/Numeric.h"
#include "platform/Random.h"

namespace lv {
namespace {

uint32_t grey(int32_t level) {
    const auto v = static_cast<uint32_t>(level);
    return rgb(v, v, v);
}

} // namespace

void TRain::SetCount(int32_t count) {
    Drops.resize(static_cast<size_t>(cappedParticleCount(count)));
}

void TRain::Scatter() {
    const int32_t width = Target ? Target->width() : 0;
    const int32_t height = Target ? Target->height() : 0;
    for (TDrop& drop : Drops) {
        drop.X = Random(width);
        drop.Y = Random(height);
        drop.DropSpeed = Random(3) + 2;
        drop.DropLength = Random(4) + 1;
    }
}

void TRain::Step() {
    if (!Target) return;
    Move(weatherStep(SpeedIndex, SpeedPercent), Target->width(), Target->height());
    Draw();
}

void TRain::Move(double step, int32_t width, int32_t height) {
    const double drift = cosd(Angle);
    for (TDrop& drop : Drops) {
        const double y0 = drop.Y;
        drop.Y = drop.Y + step * drop.DropSpeed * 3;
        drop.X = drop.X + drift * (drop.Y - y0); // along the angle; 90 degrees is straight down
        if (drop.X < -20) drop.X = width;
        if (drop.X > width + 20.0) drop.X = -20;
        drop.DropSpeed = clampInt(drop.DropSpeed, 2, 4);
        if (drop.Y > height + 20.0) drop.Y = -20;
    }
}

void TRain::Draw() const {
    Canvas canvas(*Target);
    const double drift = cosd(Angle);
    const double length = LengthFactor / 10.0;
    for (const TDrop& drop : Drops) {
        // Faster drops are brighter (218, 227 or 255) and longer; the last third is brighter still.
        const int32_t g = 55 / (5 - drop.DropSpeed) + 200;
        const int32_t x0 = nearest(drop.X), y0 = nearest(drop.Y);
        const int32_t y1 = nearest(drop.DropSpeed * drop.DropLength * length + y0);
        // Differences in double: far-off (hostile) end points must not overflow int32.
        const double dy = static_cast<double>(y1) - y0;
        const int32_t x1 = nearest(drift * dy + x0);
        const double dx = static_cast<double>(x1) - x0;
        canvas.moveTo(x0, y0);
        canvas.setPenColor(grey(g - 60));
        canvas.lineTo(nearest(x0 + 2 * dx / 3), nearest(y0 + 2 * dy / 3));
        canvas.setPenColor(grey(g));
        canvas.lineTo(x1, y1);
    }
}

} // namespace lv
