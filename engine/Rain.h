#pragma once

// Falling rain drawn over the wave generator's weather frame: each drop is a grey streak.

#include "platform/Bitmap.h"

#include <cstdint>
#include <span>
#include <vector>

namespace lv {

struct TDrop {
    double X = 0;
    double Y = 0;
    int32_t DropSpeed = 2;  // 2..4
    int32_t DropLength = 1; // 1..4
};

class TRain {
  public:
    Bitmap* Target = nullptr; // drawn on, not owned
    int32_t SpeedIndex = 2;   // index into SpeedTable; set every frame
    int32_t Angle = 90;       // fall angle in degrees, 180 - Wind; set every frame
    int32_t SpeedPercent = 100;
    int32_t LengthFactor = 10; // in tenths; set every frame

    int32_t Count() const { return static_cast<int32_t>(Drops.size()); }
    // Capped at 1000 (a negative count gives none); new drops wait for Scatter.
    void SetCount(int32_t count);
    std::span<TDrop> drops() { return Drops; }
    std::span<const TDrop> drops() const { return Drops; }

    void Scatter();
    // Moves every drop, then draws every drop onto the target.
    void Step();

  private:
    void Move(double step, int32_t width, int32_t height);
    void Draw() const;

    std::vector<TDrop> Drops;
};

} // namespace lv
