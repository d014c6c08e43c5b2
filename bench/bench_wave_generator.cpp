// NextFrame against a plain copy of the bytes a frame touches (picture + area map + output).
// Counters: frame_ms (one NextFrame), copy_ms (memcpy of the same byte count), ratio = frame / copy.

#include "engine/SyntheticProject.h"
#include "engine/WaveGenerator.h"
#include "platform/Random.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

double copyMilliseconds(size_t bytes, int64_t rounds) {
    std::vector<uint8_t> from(bytes, 1), to(bytes, 0);
    const auto start = std::chrono::steady_clock::now();
    for (int64_t i = 0; i < rounds; ++i) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / static_cast<double>(rounds);
}

void BM_NextFrame(benchmark::State& state) {
    const auto width = static_cast<int32_t>(state.range(0));
    const auto height = static_cast<int32_t>(state.range(1));
    const auto which = lv::kSyntheticCases[static_cast<size_t>(state.range(2))];
    state.SetLabel(std::string(lv::syntheticCaseName(which)));
    lv::ProjectData project;
    lv::makeSyntheticProject(project, width, height, which);
    lv::setFixedRandomSeed(1);
    lv::TWaveGenerator generator;
    generator.SetProject(project);
    generator.Prepare();
    generator.SetWeather(project.Weather.Kind > 0);
    lv::setFixedRandomSeed(std::nullopt);

    int64_t frames = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        generator.NextFrame();
        benchmark::DoNotOptimize(generator.FrameOnShow().pixels().data());
        ++frames;
    }
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    const double frameMs = spent.count() / static_cast<double>(frames);
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) *
                         (sizeof(uint32_t) + sizeof(int16_t) + sizeof(uint32_t));
    const double copyMs = copyMilliseconds(bytes, std::max<int64_t>(frames, 20));
    state.counters["frame_ms"] = frameMs;
    state.counters["copy_ms"] = copyMs;
    state.counters["ratio"] = frameMs / copyMs;
}

void sizesAndCases(benchmark::internal::Benchmark* b) {
    for (int which = 0; which < 4; ++which) {
        b->Args({1024, 768, which});
        b->Args({1920, 1080, which});
    }
}

} // namespace

BENCHMARK(BM_NextFrame)->Apply(sizesAndCases)->Unit(benchmark::kMillisecond)->MinTime(1.0);
