#pragma once

// Falling snow drawn over the wave generator's weather frame.

#include "platform/Bitmap.h"

#include <cstdint>
#include <span>
#include <vector>

namespace lv {

struct TFlake {
    double X = 0;
    double Y = 0;
    int32_t FlakeSize = 2; // 2..4: diameter in pixels and fall speed factor
    int32_t Drift = 0;     // -1, 0 or +1: sideways direction
};

class TSnow {
  public:
    static constexpr uint32_t kOutlineColor = 0xE1E1E1; // RGB(225, 225, 225)
    static constexpr uint32_t kFillColor = 0xFFFFFF;

    Bitmap* Target = nullptr; // drawn on, not owned
    int32_t SpeedIndex = 2;   // index into SpeedTable; set every frame
    int32_t SpeedPercent = 100;

    int32_t Count() const { return static_cast<int32_t>(Flakes.size()); }
    // Capped at 1000 (a negative count gives none); new flakes wait for Scatter.
    void SetCount(int32_t count);
    std::span<TFlake> flakes() { return Flakes; }
    std::span<const TFlake> flakes() const { return Flakes; }

    // Places every flake anew at random over the target.
    void Scatter();
    // Moves every flake, then draws every flake onto the target.
    void Step();

  private:
    void Move(double step, int32_t width, int32_t height);
    void Draw() const;

    std::vector<TFlake> Flakes;
};

} // namespace lv
