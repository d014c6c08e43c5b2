#pragma once

// Made-up projects for timing the wave generator (bench/ and `lvtool bench`): a noisy picture,
// a mask and wave settings that exercise the frame paths the players see.

#include "engine/ProjectData.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace lv {

enum class SyntheticCase {
    VerticalOnly,  // one area over the whole picture, vertical waves only
    FourAreas,     // four areas with horizontal, vertical, perspective and distortion
    FourAreasRain, // as FourAreas, with 1000 rain drops
    FourAreasSnow, // as FourAreas, with 1000 snow flakes
};

inline constexpr std::array<SyntheticCase, 4> kSyntheticCases{
    SyntheticCase::VerticalOnly, SyntheticCase::FourAreas, SyntheticCase::FourAreasRain,
    SyntheticCase::FourAreasSnow};

std::string_view syntheticCaseName(SyntheticCase which);

// Fills the project's picture, mask, areas and weather; the same input always gives the same project.
void makeSyntheticProject(ProjectData& project, int32_t width, int32_t height, SyntheticCase which);

} // namespace lv
