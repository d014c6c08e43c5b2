// lvtool bench: milliseconds per NextFrame on made-up projects, for comparing machines.

#include "engine/SyntheticProject.h"
#include "engine/WaveGenerator.h"
#include "platform/Random.h"
#include "tools/lvtool/Commands.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lvtool {
namespace {

std::pair<int32_t, int32_t> parseBenchSize(const std::string& text) {
    int width = 0, height = 0;
    char x = 0, rest = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c", &width, &x, &height, &rest) != 3 || (x != 'x' && x != 'X') ||
        !lv::Bitmap::validSize(width, height) || width <= 0 || height <= 0)
        throw UsageError("the size must look like 1024x768, not \"" + text + "\"");
    return {width, height};
}

// Frames for at least half a second (and at least 10), after a few to warm the caches.
double millisecondsPerFrame(lv::TWaveGenerator& generator) {
    for (int i = 0; i < 3; ++i) generator.NextFrame();
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    int64_t frames = 0;
    while (frames < 10 || Clock::now() - start < std::chrono::milliseconds(500)) {
        generator.NextFrame();
        ++frames;
    }
    const std::chrono::duration<double, std::milli> spent = Clock::now() - start;
    return spent.count() / static_cast<double>(frames);
}

void bench(const std::string& size) {
    std::vector<std::pair<int32_t, int32_t>> sizes{{1024, 768}, {1920, 1080}};
    if (!size.empty()) sizes = {parseBenchSize(size)};
    lv::setFixedRandomSeed(1);
    for (const auto& [width, height] : sizes) {
        for (const lv::SyntheticCase which : lv::kSyntheticCases) {
            lv::ProjectData project;
            lv::makeSyntheticProject(project, width, height, which);
            lv::TWaveGenerator generator;
            generator.SetProject(project);
            generator.Prepare();
            generator.SetWeather(project.Weather.Kind > 0);
            std::printf("%-16s %5dx%-5d %8.3f ms per frame\n",
                        std::string(lv::syntheticCaseName(which)).c_str(), width, height,
                        millisecondsPerFrame(generator));
            std::fflush(stdout);
        }
    }
    lv::setFixedRandomSeed(std::nullopt);
}

} // namespace

void addBenchCommand(CLI::App& app) {
    auto* command = app.add_subcommand("bench", "Time the wave generator on made-up projects");
    auto size = std::make_shared<std::string>();
    command->add_option("--size", *size, "WxH instead of 1024x768 and 1920x1080");
    command->callback([size] { bench(*size); });
}

} // namespace lvtool
