// Building a screensaver whose media total 200 MB, against `cp` of the same bytes in the same run.
// Counters: ratio_to_cp = cp time / build time (1.0: as fast as cp); ratio_to_cp_sync compares with
// `cp` followed by `sync`, since every file the build writes reaches the disk (fsync) before it
// replaces anything. The build writes the media twice (the media package in the work folder, then
// the screensaver) and reads them twice.

#include "bench/BenchSupport.h"
#include "creator/uBuildSaver.h"
#include "creator/uCreatorProject.h"
#include "saver/IconSlot.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using lv::bench::Clock;
using lv::bench::run;
using lv::bench::seconds;

constexpr size_t kPictureCount = 20;
constexpr size_t kPictureBytes = size_t{10} << 20; // 20 x 10 MiB

void writeFile(const fs::path& path, size_t size, uint32_t seed) {
    std::vector<char> bytes(size);
    for (char& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<char>(seed >> 16);
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Setup {
    fs::path root;
    lv::TLVCProject project;
    std::vector<std::string> media;
    lv::BuildFolders folders;

    Setup() {
        std::string pattern = (fs::temp_directory_path() / "lvbench-build-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root = pattern;
        ::setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
        for (const char* sub : {"creator", "media", "out", "work", "cp"}) fs::create_directories(root / sub);
        std::vector<uint8_t> program(1 << 20, 0x90);
        const std::vector<uint8_t> slot = lv::emptyIconSlot();
        program.insert(program.begin() + 4096, slot.begin(), slot.end());
        std::ofstream(root / "creator" / "LVCreatorPro.dat", std::ios::binary)
            .write(reinterpret_cast<const char*>(program.data()),
                   static_cast<std::streamsize>(program.size()));
        for (size_t i = 0; i < kPictureCount; ++i) {
            std::string name = "p";
            name += std::to_string(i);
            name += ".jpg";
            const fs::path picture = root / "media" / name;
            writeFile(picture, kPictureBytes, static_cast<uint32_t>(i + 1));
            project.FileList.Add(picture.string(), "TRUE");
            media.push_back(picture.string());
        }
        writeFile(root / "media" / "skin.lui", 4096, 99);
        project.UISetting.UIFile = (root / "media" / "skin.lui").string();
        folders = {root / "creator", root / "work", root / "studio"};
    }
    ~Setup() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

void BM_BuildSaver200MB(benchmark::State& state) {
    static Setup setup;
    double cpTotal = 0, cpSyncTotal = 0, buildTotal = 0;
    for (auto _ : state) {
        run({"sync"});
        auto start = Clock::now();
        std::vector<std::string> cp{"cp"};
        cp.insert(cp.end(), setup.media.begin(), setup.media.end());
        cp.push_back((setup.root / "cp").string());
        run(cp);
        const double cpTime = seconds(start);
        run({"sync"});
        cpSyncTotal += seconds(start);
        cpTotal += cpTime;
        fs::remove_all(setup.root / "cp");
        fs::create_directories(setup.root / "cp");
        // A first build: replacing an earlier screensaver also flushes it to disk to keep the old one safe.
        fs::remove(setup.root / "out" / "Sea.scr");
        run({"sync"});

        start = Clock::now();
        lv::TLVCProject copy = setup.project;
        lv::BuildSaver(copy, setup.root / "out" / "Sea.scr", {}, setup.folders);
        const double buildTime = seconds(start);
        buildTotal += buildTime;
        state.SetIterationTime(buildTime);
    }
    state.counters["cp_s"] = cpTotal / static_cast<double>(state.iterations());
    state.counters["build_s"] = buildTotal / static_cast<double>(state.iterations());
    state.counters["ratio_to_cp"] = cpTotal / buildTotal;
    state.counters["ratio_to_cp_sync"] = cpSyncTotal / buildTotal;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPictureCount * kPictureBytes));
}
BENCHMARK(BM_BuildSaver200MB)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
