#include "formats/uLVProject.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "platform/Picture.h"
#include "tools/lvtool/Commands.h"
#include "tools/lvtool/RecordFields.h"

#include <charconv>
#include <iostream>
#include <vector>

namespace lvtool {
namespace {

struct CreateOptions {
    std::string picture, mask, output;
    std::string title, description, sound;
    std::vector<std::string> areas;
    std::string weather;
};

std::string storedText(const std::string& utf8, const char* what) {
    try {
        return lv::utf8ToCp1252(utf8);
    } catch (const lv::Error& e) {
        throw UsageError(std::string(what) + ": " + e.what());
    }
}

// "N:Field=V,..." with N the area index 0..3.
void applyAreaOption(std::array<lv::TWaveParam, lv::kAreaCount>& areas, const std::string& option) {
    const size_t colon = option.find(':');
    int index = -1;
    if (colon != std::string::npos) std::from_chars(option.data(), option.data() + colon, index);
    if (colon != 1 || index < 0 || index >= lv::kAreaCount)
        throw UsageError("--area expects N:Field=V,... with N from 0 to 3, got \"" + option + "\"");
    applyWaveFields(areas[static_cast<size_t>(index)], std::string_view(option).substr(colon + 1));
}

// Water only where the mask picture shows exactly one of the area colours; everything else is land.
lv::Bitmap maskFromPicture(const lv::Bitmap& painted) {
    lv::Bitmap mask(painted.width(), painted.height());
    auto out = mask.pixels();
    const auto in = painted.pixels();
    for (size_t i = 0; i < in.size(); ++i) out[i] = lv::areaColorOf(lv::areaColorNumber(in[i]));
    return mask;
}

void runCreate(const CreateOptions& options) {
    lv::TProject project;
    project.Title = storedText(options.title, "--title");
    project.Description = storedText(options.description, "--description");
    project.Sound = storedText(options.sound, "--sound");
    project.Areas.fill(lv::kDefaultWaveParam);
    for (const std::string& area : options.areas) applyAreaOption(project.Areas, area);
    applyWeatherFields(project.Weather, options.weather);

    project.LoadPicture(options.picture, false);
    const lv::Bitmap painted = lv::loadPicture(options.mask);
    if (painted.width() != project.Picture.width() || painted.height() != project.Picture.height())
        throw lv::Error("The mask picture must have the picture's size (" +
                        std::to_string(project.Picture.width()) + " x " +
                        std::to_string(project.Picture.height()) + ")");
    project.Mask = maskFromPicture(painted);
    project.SaveToFile(options.output);
}

} // namespace

void addCreateCommand(CLI::App& app) {
    auto* command = app.add_subcommand("create", "Make a water project from a picture and a painted mask");
    auto options = std::make_shared<CreateOptions>();
    command->add_option("--picture", options->picture, "the picture (.jpg, .bmp, .gif)")->required();
    command->add_option("--mask", options->mask, "the mask picture, painted in the four area colours")
        ->required();
    command->add_option("--title", options->title, "title (UTF-8)");
    command->add_option("--description", options->description, "description (UTF-8)");
    command->add_option("--sound", options->sound, "sound name: <No Sound>, a file name or a path");
    command->add_option("--area", options->areas, "N:Field=V,... for area N (0..3); repeatable");
    command->add_option("--weather", options->weather, "Field=V,... for the weather record");
    command->add_option("output", options->output, "the .lvp file to write")->required();
    command->callback([options] { runCreate(*options); });
}

} // namespace lvtool
