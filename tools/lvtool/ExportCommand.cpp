#include "formats/uLVProject.h"
#include "platform/Picture.h"
#include "tools/lvtool/Commands.h"

#include <algorithm>
#include <filesystem>

namespace lvtool {

void addExportCommand(CLI::App& app) {
    auto* command =
        app.add_subcommand("export", "Write a project's picture, mask or thumbnail as .bmp or .ppm");
    auto what = std::make_shared<std::string>();
    auto file = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>();
    command->add_option("what", *what, "picture, mask or thumbnail")
        ->required()
        ->check(CLI::IsMember({"picture", "mask", "thumbnail"}));
    command->add_option("file", *file, "the .lvp file")->required();
    command->add_option("output", *output, "OUT.bmp or OUT.ppm")->required();
    command->callback([what, file, output] {
        std::string extension = std::filesystem::path(*output).extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
        if (extension != ".bmp" && extension != ".ppm")
            throw UsageError("the output must end in .bmp or .ppm");
        lv::TProject project;
        project.LoadFromFile(*file);
        const lv::Bitmap& bitmap = *what == "picture" ? project.Picture
                                   : *what == "mask"  ? project.Mask
                                                      : project.Thumbnail;
        lv::savePicture(bitmap, *output);
    });
}

} // namespace lvtool
