#include "engine/uResizer.h"
#include "formats/uLVProject.h"
#include "tools/lvtool/Commands.h"
#include "tools/lvtool/SizeArgument.h"

#include <memory>
#include <string>
#include <string_view>

namespace lvtool {

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
        const SizeArgument target = parseSizeArgument(*size);
        lv::TProject project;
        project.LoadFromFile(*file);
        lv::FitProject(*proportional, project, target.width, target.height);
        project.SaveToFile(*output);
    });
}

} // namespace lvtool
