#include "engine/Snow.h"

#include "engine/WeatherStep.h"
#include "platform/Canvas.h"
#include "platform/Numeric.h"
#include "platform/Random.h"

namespace lv {

void TSnow::SetCount(int32_t count) {
    Flakes.resize(static_cast<size_t>(cappedParticleCount(count)));
}

void TSnow::Scatter() {
    const int32_t width = Target ? Target->width() : 0;
    const int32_t height = Target ? Target->height() : 0;
    for (TFlake& flake : Flakes) {
        flake.X = Random(width);
        flake.Y = Random(height);
        flake.Drift = 1 - Random(3);
        flake.FlakeSize = Random(3) + 2;
    }
}

void TSnow::Step() {
    if (!Target) return;
    Move(weatherStep(SpeedIndex, SpeedPercent), Target->width(), Target->height());
    Draw();
}

void TSnow::Move(double step, int32_t width, int32_t height) {
    for (TFlake& flake : Flakes) {
        flake.Y = flake.Y + flake.FlakeSize * step; // big flakes fall faster
        flake.X = flake.X + flake.Drift * step;
        if (Random(20) == 0) flake.FlakeSize = flake.FlakeSize + Random(3) - 1;
        if (flake.X < 0)
            flake.X = width;
        else if (flake.X > width)
            flake.X = 0;
        flake.FlakeSize = clampInt(flake.FlakeSize, 2, 4);
        if (flake.Y > height - 1) flake.Y = 0; // starts again at the top, same column
    }
}

void TSnow::Draw() const {
    Canvas canvas(*Target);
    canvas.setPenColor(kOutlineColor);
    canvas.setBrushColor(kFillColor);
    for (const TFlake& flake : Flakes) {
        const int64_t x = nearest(flake.X), y = nearest(flake.Y);
        canvas.ellipse(saturate32(x), saturate32(y), saturate32(x + flake.FlakeSize),
                       saturate32(y + flake.FlakeSize));
    }
}

} // namespace lv
