#pragma once

// The area and weather records as the bytes the project file holds (little-endian, no padding).

#include "engine/WaveParams.h"

#include <array>
#include <cstdint>
#include <span>

namespace lv {

std::array<uint8_t, kWaveParamBytes> waveParamBytes(const TWaveParam& param);
TWaveParam waveParamFromBytes(std::span<const uint8_t, kWaveParamBytes> bytes);

std::array<uint8_t, kWeatherParamBytes> weatherParamBytes(const TWeatherParam& param);
TWeatherParam weatherParamFromBytes(std::span<const uint8_t, kWeatherParamBytes> bytes);

} // namespace lv
