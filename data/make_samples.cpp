// Makes the bundled sample water projects and the default water sound from procedural scenes.
// Usage: make_samples PROGRAM_FOLDER   (writes files/*.lvp and sounds/Default.wav below it)
//
// Every scene is a function of the pixel position that tells both its colour and which water
// area (if any) the pixel belongs to, so each mask covers exactly the water that is drawn.

#include "formats/uLVProject.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 960;
constexpr int kHeight = 640;

// ---- noise -------------------------------------------------------------------------------------

double hash2(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFFFF) / double(0xFFFFFF);
}

double smooth(double t) {
    return t * t * (3 - 2 * t);
}

double valueNoise(double x, double y, int seed) {
    const int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
    const double fx = smooth(x - xi), fy = smooth(y - yi);
    const double a = hash2(xi, yi, seed), b = hash2(xi + 1, yi, seed);
    const double c = hash2(xi, yi + 1, seed), d = hash2(xi + 1, yi + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

double fbm(double x, double y, int seed, int octaves = 5) {
    double sum = 0, amplitude = 0.5, scale = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(x * scale, y * scale, seed + i * 17);
        amplitude *= 0.5;
        scale *= 2.03;
    }
    return sum;
}

// ---- colours -----------------------------------------------------------------------------------

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scale(Rgb c, double k) {
    return {c.r * k, c.g * k, c.b * k};
}

uint32_t pack(Rgb c) {
    const auto channel = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0)); };
    return lv::rgb(channel(c.r), channel(c.g), channel(c.b));
}

struct Pixel {
    Rgb colour;
    int area; // -1 for land
};

using Scene = std::function<Pixel(double x, double y)>; // x, y in 0..1

// ---- scene 1: a mountain lake at dusk ----------------------------------------------------------

Rgb duskSky(double x, double y) {
    const Rgb top{38, 34, 92}, middle{196, 92, 110}, low{252, 170, 90};
    Rgb sky = y < 0.32 ? mix(top, middle, y / 0.32) : mix(middle, low, (y - 0.32) / 0.26);
    const double sun = std::hypot((x - 0.7) * 1.5, y - 0.3);
    sky = mix(sky, Rgb{255, 226, 160}, std::max(0.0, 1 - sun / 0.09));
    const double cloud = fbm(x * 6, y * 18, 3) - 0.5;
    if (cloud > 0.05) sky = mix(sky, Rgb{150, 70, 110}, (cloud - 0.05) * 3 * (1 - y));
    return sky;
}

// Ridge heights as fractions of the picture height (smaller is higher).
double farRidge(double x) {
    return 0.44 - 0.6 * (fbm(x * 2.6, 0.5, 11, 6) - 0.3) - 0.07 * (1 - std::fabs(std::sin(x * 7 + 1)));
}
double nearRidge(double x) {
    return 0.47 - 0.3 * (fbm(x * 4.5, 2.5, 23, 6) - 0.3);
}

Rgb mountainAbove(double x, double y, double horizon) {
    if (y >= nearRidge(x)) {
        const double shade = 0.55 + 0.3 * fbm(x * 30, y * 30, 31);
        return mix(scale(Rgb{58, 44, 70}, shade), Rgb{30, 24, 40},
                   (y - nearRidge(x)) / (horizon - nearRidge(x) + 1e-9));
    }
    if (y >= farRidge(x)) {
        const double depth = y - farRidge(x);
        const bool snow = y < 0.36 && depth < 0.015 + 0.05 * fbm(x * 40, y * 40, 41);
        const Rgb rock = mix(Rgb{120, 84, 118}, Rgb{86, 62, 96}, depth * 8);
        return snow ? Rgb{244, 200, 200} : rock;
    }
    return duskSky(x, y);
}

Pixel mountainLake(double x, double y) {
    constexpr double horizon = 0.58;
    // A pine tree line along the far shore.
    const double treeTop = horizon - 0.03 - 0.03 * std::fabs(std::sin(x * 140)) * fbm(x * 20, 1, 5);
    if (y < horizon) {
        if (y > treeTop) return {Rgb{22, 26, 30}, -1};
        return {mountainAbove(x, y, horizon), -1};
    }
    // Foreground shore with rocks at the lower left.
    const double shore = 0.8 + 0.45 * x - 0.08 * fbm(x * 8, 3, 7);
    if (y > shore) {
        const double rock = fbm(x * 25, y * 25, 13);
        return {mix(Rgb{48, 40, 44}, Rgb{96, 80, 76}, rock), -1};
    }
    // The lake mirrors the scene above the horizon, darker and bluer with depth.
    const double mirrored = 2 * horizon - y;
    Rgb reflected = mirrored > treeTop ? Rgb{20, 24, 30} : mountainAbove(x, std::max(0.0, mirrored), horizon);
    reflected = mix(scale(reflected, 0.8), Rgb{30, 40, 80}, (y - horizon) * 1.3);
    return {reflected, 0};
}

// ---- scene 2: a sea coast ----------------------------------------------------------------------

Pixel seaCoast(double x, double y) {
    constexpr double horizon = 0.42;
    const double cliffEdge = 0.30 - 0.12 * y + 0.05 * fbm(y * 10, 1, 51); // cliffs on the left
    const double beach = 0.78 - 0.30 * x + 0.03 * std::sin(x * 20);       // sand rises to the right
    if (x < cliffEdge && y > 0.22) {
        const double rock = fbm(x * 14, y * 14, 61);
        const Rgb stone = mix(Rgb{92, 84, 78}, Rgb{160, 146, 128}, rock);
        return {y < 0.26 ? Rgb{86, 120, 64} : scale(stone, 0.8 + 0.4 * (cliffEdge - x)), -1};
    }
    if (y < horizon) {
        Rgb sky = mix(Rgb{70, 130, 210}, Rgb{190, 220, 245}, y / horizon);
        const double cloud = fbm(x * 5, y * 12, 71);
        if (cloud > 0.52) sky = mix(sky, Rgb{250, 250, 252}, (cloud - 0.52) * 5);
        return {sky, -1};
    }
    if (y > beach) {
        const double grain = fbm(x * 120, y * 120, 81);
        const Rgb sand = mix(Rgb{214, 190, 140}, Rgb{236, 216, 170}, grain);
        const bool wet = y < beach + 0.025;
        return {wet ? mix(sand, Rgb{150, 130, 100}, 0.5) : sand, -1};
    }
    // Open sea (area 0) and the surf along the beach (area 1).
    const double depth = (y - horizon) / (beach - horizon);
    const Rgb sea = mix(Rgb{28, 70, 120}, Rgb{40, 130, 150}, depth);
    const double glint = fbm(x * 60, y * 200, 91);
    const Rgb water = mix(sea, Rgb{210, 230, 240}, std::max(0.0, glint - 0.62) * 2);
    if (y > beach - 0.05) {
        const double foam = fbm(x * 40, y * 90, 101);
        return {mix(water, Rgb{245, 248, 250}, std::max(0.0, foam - 0.35) * 1.6), 1};
    }
    return {water, 0};
}

// ---- scene 3: a forest river with a waterfall -------------------------------------------------

double riverCentre(double y) {
    return 0.5 + 0.16 * std::sin(y * 5.2 + 0.6) - 0.05 * y;
}
double riverHalfWidth(double y) {
    return 0.03 + 0.16 * y * y;
}

Pixel forestRiver(double x, double y) {
    constexpr double ledge = 0.36; // the waterfall drops from the ledge to the pool
    constexpr double pool = 0.48;
    const double hills = 0.22 + 0.08 * fbm(x * 3, 9, 111);
    if (y < hills) return {mix(Rgb{150, 165, 175}, Rgb{205, 210, 212}, y / hills), -1}; // overcast
    const bool inFall = y >= ledge && y < pool && std::fabs(x - riverCentre(y)) < 0.05;
    const bool inRiver = std::fabs(x - riverCentre(y)) < riverHalfWidth(y) && (y < ledge || y >= pool);
    if (inFall) {
        const double streak = fbm(x * 200, y * 6, 121);
        return {mix(Rgb{170, 190, 196}, Rgb{242, 246, 248}, streak), 1};
    }
    if (inRiver && y > hills + 0.04) {
        const double ripple = fbm(x * 50, y * 140, 131);
        const Rgb water = mix(Rgb{40, 70, 66}, Rgb{120, 150, 150}, ripple * (0.4 + y));
        return {y >= pool && y < pool + 0.04 ? mix(water, Rgb{235, 240, 240}, 0.6) : water, 0};
    }
    // Forest: dark canopy with lighter crowns, rocks near the fall.
    const double canopy = fbm(x * 28, y * 28, 141);
    Rgb forest = mix(Rgb{22, 52, 26}, Rgb{74, 118, 52}, canopy);
    const double rockRadius = 0.08 + 0.04 * fbm(x * 12, y * 12, 161);
    if (std::hypot(x - riverCentre(ledge), (y - (ledge + pool) / 2) * 1.5) < rockRadius + 0.04)
        forest = mix(Rgb{70, 68, 64}, Rgb{120, 116, 108}, fbm(x * 30, y * 30, 151));
    return {scale(forest, 0.75 + 0.5 * y), -1};
}

// ---- making projects ---------------------------------------------------------------------------

struct Sample {
    const char* file;
    const char* title;
    const char* description;
    Scene scene;
    std::vector<std::pair<int, lv::TWaveParam>> areas;
    lv::TWeatherParam weather;
};

lv::TWaveParam wave(int amplitude, int frequency, int speed, int direction, bool horizontal, bool vertical,
                    bool perspective, int ripple, int distortion) {
    return {.Amplitude = amplitude,
            .Frequency = frequency,
            .Speed = speed,
            .Direction = direction,
            .Horizontal = horizontal,
            .Vertical = vertical,
            .Perspective = perspective,
            .Pad = 0,
            .Ripple = ripple,
            .Distortion = distortion,
            .Reserved = 0};
}

void renderScene(const Scene& scene, lv::Bitmap& picture, lv::Bitmap& mask) {
    picture.setSize(kWidth, kHeight);
    mask.setSize(kWidth, kHeight);
    for (int py = 0; py < kHeight; ++py)
        for (int px = 0; px < kWidth; ++px) {
            const Pixel p = scene((px + 0.5) / kWidth, (py + 0.5) / kHeight);
            picture.at(px, py) = pack(p.colour);
            mask.at(px, py) = p.area >= 0 ? lv::AreaColors[static_cast<size_t>(p.area)] : 0;
        }
}

void makeProject(const Sample& sample, const fs::path& folder) {
    lv::TProject project;
    renderScene(sample.scene, project.Picture, project.Mask);
    project.Areas.fill(lv::kDefaultWaveParam);
    for (const auto& [index, param] : sample.areas) project.Areas[static_cast<size_t>(index)] = param;
    project.Weather = sample.weather;
    project.Title = sample.title;
    project.Description = sample.description;
    project.Sound = "Default.wav";
    project.SaveToFile(folder / sample.file);
}

// ---- the water sound ---------------------------------------------------------------------------

void putLe(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Four seconds of lapping water: low-passed noise that swells and falls, with small bubbles.
void makeWaterSound(const fs::path& path) {
    constexpr int rate = 22050, seconds = 4, count = rate * seconds;
    std::vector<double> samples(count, 0.0);
    uint32_t state = 12345;
    const auto noise = [&state] {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / double(1 << 24) * 2 - 1;
    };
    double low = 0, lower = 0;
    for (int i = 0; i < count; ++i) {
        low += 0.08 * (noise() - low);
        lower += 0.02 * (low - lower);
        const double swell = 0.55 + 0.45 * std::sin(2 * std::numbers::pi * i / count * 2); // loops cleanly
        samples[static_cast<size_t>(i)] = (low - lower) * 2.2 * swell;
    }
    for (int bubble = 0; bubble < 26; ++bubble) {
        const int start = static_cast<int>((noise() * 0.5 + 0.5) * (count - rate / 4));
        const double f0 = 500 + 700 * (noise() * 0.5 + 0.5), gain = 0.08 + 0.08 * (noise() * 0.5 + 0.5);
        double phase = 0;
        for (int k = 0; k < rate / 8; ++k) {
            const double t = double(k) / rate;
            phase += 2 * std::numbers::pi * f0 * (1 + 6 * t) / rate;
            samples[static_cast<size_t>(start + k)] += gain * std::exp(-t * 40) * std::sin(phase);
        }
    }
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    putLe(out, 36 + count * 2, 4);
    out.write("WAVEfmt ", 8);
    putLe(out, 16, 4);
    putLe(out, 1, 2); // PCM
    putLe(out, 1, 2); // mono
    putLe(out, rate, 4);
    putLe(out, rate * 2, 4);
    putLe(out, 2, 2);
    putLe(out, 16, 2);
    out.write("data", 4);
    putLe(out, count * 2, 4);
    for (double s : samples)
        putLe(out, static_cast<uint16_t>(static_cast<int16_t>(std::clamp(s, -1.0, 1.0) * 30000)), 2);
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_samples PROGRAM_FOLDER\n";
        return 2;
    }
    const fs::path root = argv[1];
    try {
        fs::create_directories(root / "files");
        fs::create_directories(root / "sounds");
        const Sample samples[] = {
            {"Mountain Lake.lvp",
             "Mountain Lake",
             "A still lake under snowy peaks at dusk, with falling snow.",
             mountainLake,
             {{0, wave(3, 28, 8, 1, false, true, true, 360, 1)}},
             {.Kind = lv::kWeatherSnow,
              .ParticleCount = 300,
              .Speed = 8,
              .Wind = 0,
              .Length = 0,
              .Reserved = 0}},
            {"Sea Coast.lvp",
             "Sea Coast",
             "Open sea below the cliffs and surf running up a sandy beach.",
             seaCoast,
             {{0, wave(5, 22, 12, 1, false, true, true, 360, 0)},
              {1, wave(4, 40, 20, 1, true, true, false, 270, 2)}},
             {}},
            {"Forest River.lvp",
             "Forest River",
             "A waterfall and a winding river in the forest, in the rain.",
             forestRiver,
             {{0, wave(4, 30, 18, 1, true, true, true, 300, 1)},
              {1, wave(6, 60, 40, 1, false, true, false, 360, 3)}},
             {.Kind = lv::kWeatherRain,
              .ParticleCount = 250,
              .Speed = 10,
              .Wind = 80,
              .Length = 12,
              .Reserved = 0}},
        };
        for (const Sample& sample : samples) makeProject(sample, root / "files");
        makeWaterSound(root / "sounds" / "Default.wav");
    } catch (const std::exception& e) {
        std::cerr << "make_samples: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
