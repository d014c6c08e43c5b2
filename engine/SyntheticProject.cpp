#include "engine/SyntheticProject.h"

#include <algorithm>
#include <cmath>

namespace lv {
namespace {

// A cheap, repeatable hash for picture noise.
uint32_t noise(uint32_t x, uint32_t y) {
    uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ (h >> 12);
}

void fillPicture(Bitmap& picture) {
    for (int32_t y = 0; y < picture.height(); ++y) {
        uint32_t* row = picture.row(y);
        for (int32_t x = 0; x < picture.width(); ++x) row[x] = noise(x, y) & 0xFFFFFF;
    }
}

// Land above a wavy horizon; below it four areas side by side with wavy borders.
void paintFourAreas(Bitmap& mask) {
    const int32_t w = mask.width(), h = mask.height();
    for (int32_t y = 0; y < h; ++y) {
        uint32_t* row = mask.row(y);
        const double horizon = h * 0.3 + h * 0.03 * std::sin(y * 0.05);
        for (int32_t x = 0; x < w; ++x) {
            if (y < horizon + h * 0.02 * std::sin(x * 0.02)) {
                row[x] = 0;
                continue;
            }
            const double border = w * 0.04 * std::sin(y * 0.03);
            const int32_t area = std::clamp(static_cast<int32_t>((x + border) * 4 / w), 0, 3);
            row[x] = AreaColors[static_cast<size_t>(area)];
        }
    }
}

} // namespace

std::string_view syntheticCaseName(SyntheticCase which) {
    switch (which) {
    case SyntheticCase::VerticalOnly:
        return "vertical-only";
    case SyntheticCase::FourAreas:
        return "four-areas";
    case SyntheticCase::FourAreasRain:
        return "four-areas+rain";
    case SyntheticCase::FourAreasSnow:
        return "four-areas+snow";
    }
    return "?";
}

void makeSyntheticProject(ProjectData& project, int32_t width, int32_t height, SyntheticCase which) {
    project.Picture.setSize(width, height);
    project.Mask.setSize(width, height);
    fillPicture(project.Picture);
    project.Weather = {};
    project.SpeedPercent = 100;
    if (which == SyntheticCase::VerticalOnly) {
        project.Mask.fill(AreaColors[0]);
        TWaveParam& a = project.Area(0);
        a = kDefaultWaveParam;
        a.Perspective = 0;
        for (int k = 1; k < kAreaCount; ++k) project.Area(k) = kDefaultWaveParam;
    } else {
        paintFourAreas(project.Mask);
        for (int k = 0; k < kAreaCount; ++k) {
            TWaveParam& a = project.Area(k);
            a = kDefaultWaveParam;
            a.Amplitude = 6 + 2 * k;
            a.Frequency = 10 + 5 * k;
            a.Horizontal = 1;
            a.Ripple = 360 - 45 * k;
            a.Distortion = 5 + 10 * k;
        }
    }
    if (which == SyntheticCase::FourAreasRain)
        project.Weather = {
            .Kind = kWeatherRain, .ParticleCount = 1000, .Speed = 10, .Wind = 70, .Length = 10};
    if (which == SyntheticCase::FourAreasSnow)
        project.Weather = {.Kind = kWeatherSnow, .ParticleCount = 1000, .Speed = 10};
    project.Loaded = true;
}

} // namespace lv
