#pragma once

// The in-memory content of a water project that the engine animates and fits.
// TProject (formats) adds its file, names and loading; the engine sees only this.

#include "engine/WaveParams.h"
#include "platform/Bitmap.h"

#include <array>
#include <cstdint>

namespace lv {

class ProjectData {
  public:
    bool Loaded = false;
    Bitmap Picture;
    Bitmap Thumbnail;
    Bitmap Mask;
    std::array<TWaveParam, kAreaCount> Areas{};
    TWeatherParam Weather{};
    int32_t SpeedPercent = 100;
    std::array<int32_t, kAreaCount> LoadedSpeeds{};

    TWaveParam& Area(int index) { return Areas.at(static_cast<size_t>(index)); }
    const TWaveParam& Area(int index) const { return Areas.at(static_cast<size_t>(index)); }
    void SetSpeed(int32_t percent) { SpeedPercent = percent; }

  protected:
    // Fresh, empty bitmaps and zeroed records; Loaded off.
    void recreateObjects();
};

} // namespace lv
