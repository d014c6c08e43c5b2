// Writing and extracting a payload package of 200 MB of files, against `cp` of the same bytes measured
// in the same run. Counters: ratio_to_cp = cp time / package time (package speed / cp speed);
// ratio_to_cp_sync compares with `cp` followed by `sync` of the copies, since our outputs reach the
// disk (fsync) before they replace anything.

#include "bench/BenchSupport.h"
#include "formats/uProjectExtractor.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using lv::bench::Clock;
using lv::bench::run;
using lv::bench::seconds;

constexpr size_t kFileCount = 4;
constexpr size_t kFileBytes = size_t{50} << 20; // 4 x 50 MiB

// The input files, made once in a private folder under $TMPDIR (or /tmp).
struct Inputs {
    fs::path folder;
    std::vector<fs::path> files;
    Inputs() {
        std::string pattern = (fs::temp_directory_path() / "lvbench-package-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder = pattern;
        std::vector<char> block(1 << 20);
        uint32_t seed = 7;
        for (size_t i = 0; i < kFileCount; ++i) {
            files.push_back(folder / ("input" + std::to_string(i)));
            std::ofstream out(files.back(), std::ios::binary);
            for (size_t written = 0; written < kFileBytes; written += block.size()) {
                for (char& c : block) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
                out.write(block.data(), static_cast<std::streamsize>(block.size()));
            }
        }
    }
    ~Inputs() { fs::remove_all(folder); }
};

Inputs& inputs() {
    static Inputs made;
    return made;
}

// cp of the files into a fresh folder; with sync, the copies also reach the disk.
double timeCp(const std::vector<fs::path>& files, const fs::path& into, bool sync) {
    fs::remove_all(into);
    fs::create_directory(into);
    std::vector<std::string> args{"cp"};
    for (const fs::path& f : files) args.push_back(f.string());
    args.push_back(into.string());
    const auto start = Clock::now();
    run(args);
    if (sync) {
        std::vector<std::string> syncArgs{"sync"};
        for (const fs::path& f : files) syncArgs.push_back((into / f.filename()).string());
        run(syncArgs);
    }
    return seconds(start);
}

void report(benchmark::State& state, double package, double cp, double cpSync) {
    state.counters["ratio_to_cp"] = cp / package;
    state.counters["ratio_to_cp_sync"] = cpSync / package;
    state.counters["cp_s"] = cp / static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileCount * kFileBytes));
}

void BM_AppendPackage(benchmark::State& state) {
    Inputs& in = inputs();
    const fs::path target = in.folder / "package";
    double package = 0, cp = 0, cpSync = 0;
    for (auto _ : state) {
        cp += timeCp(in.files, in.folder / "copies", false);
        cpSync += timeCp(in.files, in.folder / "copies", true);
        fs::remove_all(in.folder / "copies");
        fs::remove(target);
        const auto start = Clock::now();
        lv::AppendPackageFresh("", target, in.files);
        const double took = seconds(start);
        package += took;
        state.SetIterationTime(took);
    }
    report(state, package, cp, cpSync);
}

void BM_ExtractPackage(benchmark::State& state) {
    Inputs& in = inputs();
    const fs::path source = in.folder / "package";
    lv::AppendPackageFresh("", source, in.files);
    std::vector<fs::path> names;
    for (size_t i = 0; i < kFileCount; ++i) names.push_back(in.folder / ("output" + std::to_string(i)));
    double package = 0, cp = 0, cpSync = 0;
    for (auto _ : state) {
        cp += timeCp(in.files, in.folder / "copies", false);
        cpSync += timeCp(in.files, in.folder / "copies", true);
        fs::remove_all(in.folder / "copies");
        for (const fs::path& name : names) fs::remove(name);
        const auto start = Clock::now();
        const lv::ExtractResult result = lv::ExtractPackage(source, names);
        const double took = seconds(start);
        if (!result.complete || result.written != static_cast<int32_t>(kFileCount)) std::abort();
        package += took;
        state.SetIterationTime(took);
    }
    for (const fs::path& name : names) fs::remove(name);
    report(state, package, cp, cpSync);
}

BENCHMARK(BM_AppendPackage)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractPackage)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
