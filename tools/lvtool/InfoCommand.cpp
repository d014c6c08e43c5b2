#include "formats/uLVProject.h"
#include "platform/Cp1252.h"
#include "tools/lvtool/Commands.h"
#include "tools/lvtool/RecordFields.h"

#include <array>
#include <iostream>
#include <nlohmann/json.hpp>

namespace lvtool {
namespace {

nlohmann::ordered_json sizeJson(const lv::Bitmap& bitmap) {
    return {{"width", bitmap.width()}, {"height", bitmap.height()}};
}

std::array<int64_t, 5> maskCounts(const lv::Bitmap& mask) {
    std::array<int64_t, 5> counts{};
    for (const uint32_t pixel : mask.pixels()) ++counts[static_cast<size_t>(lv::areaColorNumber(pixel))];
    return counts;
}

nlohmann::ordered_json projectJson(const lv::TProject& project, bool headerOnly) {
    nlohmann::ordered_json json;
    json["title"] = lv::cp1252ToUtf8(project.Title);
    json["description"] = lv::cp1252ToUtf8(project.Description);
    if (!headerOnly) {
        json["sound"] = lv::cp1252ToUtf8(project.Sound);
        json["width"] = project.Picture.width();
        json["height"] = project.Picture.height();
        json["areas"] = nlohmann::ordered_json::array();
        for (const lv::TWaveParam& area : project.Areas) json["areas"].push_back(waveParamJson(area));
        json["weather"] = weatherParamJson(project.Weather);
        json["mask"] = {{"counts", maskCounts(project.Mask)}};
    }
    json["thumbnail"] = sizeJson(project.Thumbnail);
    return json;
}

} // namespace

void addInfoCommand(CLI::App& app) {
    auto* command = app.add_subcommand("info", "Print what a water project holds, as JSON");
    auto file = std::make_shared<std::string>();
    auto headerOnly = std::make_shared<bool>(false);
    command->add_option("file", *file, "the .lvp file")->required();
    command->add_flag("--header", *headerOnly, "read only the title, description and thumbnail");
    command->callback([file, headerOnly] {
        lv::TProject project;
        if (*headerOnly)
            project.LoadHeader(*file);
        else
            project.LoadFromFile(*file);
        std::cout << projectJson(project, *headerOnly).dump(2) << '\n';
    });
}

} // namespace lvtool
