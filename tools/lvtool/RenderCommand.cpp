// lvtool render: plays a project the way the player does and writes the frames on show.

#include "engine/WaveGenerator.h"
#include "engine/uResizer.h"
#include "formats/uLVProject.h"
#include "platform/Picture.h"
#include "platform/Random.h"
#include "tools/lvtool/Commands.h"
#include "tools/lvtool/SizeArgument.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lvtool {
namespace {

struct RenderOptions {
    std::string file;
    int64_t frames = 0;
    std::string output;
    std::optional<uint64_t> seed;
    int32_t speed = 100;
    std::string size;
    bool proportional = false;
    std::string format = "ppm";
};

std::filesystem::path framePath(const std::filesystem::path& folder, int64_t index,
                                const std::string& format) {
    char name[48];
    std::snprintf(name, sizeof name, "frame-%06lld.%s", static_cast<long long>(index), format.c_str());
    return folder / name;
}

void render(const RenderOptions& options) {
    if (options.format != "none" && options.output.empty())
        throw UsageError("--output DIR is needed unless --format is none");
    lv::setFixedRandomSeed(options.seed); // every reseed (Prepare) then starts from S
    lv::TProject project;
    project.LoadFromFile(options.file);
    project.SetSpeed(options.speed);
    lv::TWaveGenerator generator;
    generator.SetProject(project);
    if (!options.size.empty()) {
        const auto [width, height] = parseSizeArgument(options.size);
        lv::FitProject(options.proportional, project, width, height);
    }
    generator.Prepare();
    generator.SetWeather(project.Weather.Kind > 0);

    const std::filesystem::path folder(options.output);
    if (options.format != "none") std::filesystem::create_directories(folder);
    const auto start = std::chrono::steady_clock::now();
    for (int64_t k = 1; k <= options.frames; ++k) {
        generator.NextFrame();
        if (options.format != "none")
            lv::savePicture(generator.FrameOnShow(), framePath(folder, k, options.format));
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    const double fps = spent.count() > 0 ? static_cast<double>(options.frames) / spent.count() : 0.0;
    std::cerr << "rendered " << options.frames << " frames of " << generator.width() << "x"
              << generator.height() << " in " << spent.count() << " s: " << fps << " frames per second\n";
}

} // namespace

void addRenderCommand(CLI::App& app) {
    auto* command = app.add_subcommand("render", "Render the frames of a project as the player shows them");
    auto options = std::make_shared<RenderOptions>();
    command->add_option("file", options->file, "the .lvp file")->required();
    command->add_option("--frames", options->frames, "number of frames")
        ->required()
        ->check(CLI::NonNegativeNumber);
    command->add_option("--output", options->output, "folder for frame-000001.ppm ...");
    command->add_option("--seed", options->seed, "make every reseed of the random generator use S");
    command->add_option("--speed", options->speed, "speed percentage (default 100)");
    command->add_option("--size", options->size, "fit the project to WxH first");
    command->add_flag("--proportional", options->proportional, "with --size: keep the picture's proportions");
    command->add_option("--format", options->format, "ppm, png, bmp or none")
        ->check(CLI::IsMember({"ppm", "png", "bmp", "none"}));
    command->callback([options] {
        if (options->proportional && options->size.empty()) throw UsageError("--proportional needs --size");
        render(*options);
    });
}

} // namespace lvtool
