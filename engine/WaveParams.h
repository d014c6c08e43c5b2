#pragma once

// The shared vocabulary of a water project: area colours, wave and weather records, speeds.

#include <array>
#include <cstdint>

namespace lv {

inline constexpr int kAreaCount = 4;

// One water area's wave parameters; field order and widths are also its 32-byte file record.
struct TWaveParam {
    int32_t Amplitude = 0;
    int32_t Frequency = 0;
    int32_t Speed = 0;
    int32_t Direction = 0; // 0 = up, anything else = down
    uint8_t Horizontal = 0;
    uint8_t Vertical = 0;
    uint8_t Perspective = 0;
    uint8_t Pad = 0;
    int32_t Ripple = 0; // must not be 0: it is a divisor and a modulus
    int32_t Distortion = 0;
    int32_t Reserved = 0;

    bool operator==(const TWaveParam&) const = default;
};

enum WeatherKind : int32_t { kWeatherNone = 0, kWeatherSnow = 1, kWeatherRain = 2 };

// The project's weather; field order is also its 24-byte file record.
struct TWeatherParam {
    int32_t Kind = 0;
    int32_t ParticleCount = 0;
    int32_t Speed = 0; // index into SpeedTable
    int32_t Wind = 0;
    int32_t Length = 0;
    int32_t Reserved = 0;

    bool operator==(const TWeatherParam&) const = default;
};

inline constexpr int kWaveParamBytes = 32;
inline constexpr int kWeatherParamBytes = 24;

// The wave set the editor gives every area of a new project.
inline constexpr TWaveParam kDefaultWaveParam{.Amplitude = 6,
                                              .Frequency = 17,
                                              .Speed = 15,
                                              .Direction = 1,
                                              .Horizontal = 0,
                                              .Vertical = 1,
                                              .Perspective = 1,
                                              .Pad = 0,
                                              .Ripple = 360,
                                              .Distortion = 0,
                                              .Reserved = 0};

// Mask pixel values (0x00RRGGBB) of areas 0..3: blue, fuchsia, red, yellow. Everything else is land.
inline constexpr std::array<uint32_t, kAreaCount> AreaColors{0x0000FF, 0xFF00FF, 0xFF0000, 0xFFFF00};

// Colour number 1..4 (area index + 1) of a mask pixel, or 0 when it is no water.
constexpr int32_t areaColorNumber(uint32_t pixel) {
    for (int32_t i = 0; i < kAreaCount; ++i)
        if (AreaColors[i] == pixel) return i + 1;
    return 0;
}

// Mask pixel value of a colour number; 0 (black) for 0 and for numbers that name no area.
constexpr uint32_t areaColorOf(int32_t colorNumber) {
    return colorNumber >= 1 && colorNumber <= kAreaCount ? AreaColors[colorNumber - 1] : 0;
}

// Speed percentages; the weather Speed indexes it, index 10 is 100 percent.
inline constexpr std::array<int32_t, 21> SpeedTable{10,  20,  30,  45,  50,  60,  70,  75,  80,  90, 100,
                                                    120, 140, 160, 180, 200, 220, 240, 360, 480, 500};

// SpeedTable[index] with the index clamped into the table, so a hostile record cannot read past it.
constexpr int32_t speedTableAt(int32_t index) {
    return SpeedTable[index < 0 ? 0 : (index > 20 ? 20 : index)];
}

// Editor defaults for weather kinds switched on from none.
inline constexpr int32_t kSnowDefaultParticles = 300;
inline constexpr int32_t kRainDefaultParticles = 200;
inline constexpr int32_t kWeatherDefaultSpeed = 10;
inline constexpr int32_t kRainDefaultWind = 70;
inline constexpr int32_t kRainDefaultLength = 10;
inline constexpr int32_t kMaxParticles = 1000;

} // namespace lv
