#include "formats/RecordBytes.h"

namespace lv {
namespace {

void putInt(uint8_t* at, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
    at[2] = static_cast<uint8_t>(v >> 16);
    at[3] = static_cast<uint8_t>(v >> 24);
}

int32_t getInt(const uint8_t* at) {
    return static_cast<int32_t>(uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 |
                                uint32_t{at[3]} << 24);
}

} // namespace

std::array<uint8_t, kWaveParamBytes> waveParamBytes(const TWaveParam& p) {
    std::array<uint8_t, kWaveParamBytes> b{};
    putInt(&b[0], p.Amplitude);
    putInt(&b[4], p.Frequency);
    putInt(&b[8], p.Speed);
    putInt(&b[12], p.Direction);
    b[16] = p.Horizontal;
    b[17] = p.Vertical;
    b[18] = p.Perspective;
    b[19] = p.Pad;
    putInt(&b[20], p.Ripple);
    putInt(&b[24], p.Distortion);
    putInt(&b[28], p.Reserved);
    return b;
}

TWaveParam waveParamFromBytes(std::span<const uint8_t, kWaveParamBytes> b) {
    TWaveParam p;
    p.Amplitude = getInt(&b[0]);
    p.Frequency = getInt(&b[4]);
    p.Speed = getInt(&b[8]);
    p.Direction = getInt(&b[12]);
    p.Horizontal = b[16];
    p.Vertical = b[17];
    p.Perspective = b[18];
    p.Pad = b[19];
    p.Ripple = getInt(&b[20]);
    p.Distortion = getInt(&b[24]);
    p.Reserved = getInt(&b[28]);
    return p;
}

std::array<uint8_t, kWeatherParamBytes> weatherParamBytes(const TWeatherParam& p) {
    std::array<uint8_t, kWeatherParamBytes> b{};
    putInt(&b[0], p.Kind);
    putInt(&b[4], p.ParticleCount);
    putInt(&b[8], p.Speed);
    putInt(&b[12], p.Wind);
    putInt(&b[16], p.Length);
    putInt(&b[20], p.Reserved);
    return b;
}

TWeatherParam weatherParamFromBytes(std::span<const uint8_t, kWeatherParamBytes> b) {
    return {getInt(&b[0]), getInt(&b[4]), getInt(&b[8]), getInt(&b[12]), getInt(&b[16]), getInt(&b[20])};
}

} // namespace lv
