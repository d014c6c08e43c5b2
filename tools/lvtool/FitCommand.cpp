#include "engine/uResizer.h"
#include "formats/uLVProject.h"
#include "tools/lvtool/Commands.h"

#include <charconv>
#include <memory>
#include <string>
#include <string_view>

namespace lvtool {
namespace {

struct Size {
    int32_t width = 0;
    int32_t height = 0;
};

int32_t parseSide(std::string_view text, std::string_view whole) {
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0)
        throw UsageError("the size must look like 1024x768, not \"" + std::string(whole) + "\"");
    return value;
}

Size parseSize(std::string_view text) {
    const size_t cut = text.find_first_of("xX");
    if (cut == std::string_view::npos)
        throw UsageError("the size must look like 1024x768, not \"" + std::string(text) + "\"");
    return {parseSide(text.substr(0, cut), text), parseSide(text.substr(cut + 1), text)};
}

} // namespace

void addFitCommand(CLI::App& app) {
    auto* command = app.add_subcommand("fit", "Fit a project (picture, mask, wave values) to a size");
    auto file = std::make_shared<std::string>();
    auto size = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>();
    auto proportional = std::make_shared<bool>(false);
    command->add_option("file", *file, "the .lvp file")->required();
    command->add_option("size", *size, "WxH, e.g. 1024x768")->required();
    command->add_option("output", *output, "OUT.lvp")->required();
    command->add_flag("--proportional", *proportional, "keep the picture's proportions inside WxH");
    command->callback([file, size, output, proportional] {
        const Size target = parseSize(*size);
        lv::TProject project;
        project.LoadFromFile(*file);
        lv::FitProject(*proportional, project, target.width, target.height);
        project.SaveToFile(*output);
    });
}

} // namespace lvtool
