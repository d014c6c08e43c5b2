#pragma once

// The area and weather records by field name, for JSON output and for command-line settings.

#include "engine/WaveParams.h"

#include <nlohmann/json.hpp>
#include <string_view>

namespace lvtool {

nlohmann::ordered_json waveParamJson(const lv::TWaveParam& param);
nlohmann::ordered_json weatherParamJson(const lv::TWeatherParam& param);

// Applies "Field=V,Field=V" (field names without regard to case); throws UsageError on a bad item.
void applyWaveFields(lv::TWaveParam& param, std::string_view assignments);
void applyWeatherFields(lv::TWeatherParam& param, std::string_view assignments);

} // namespace lvtool
