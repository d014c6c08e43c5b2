#include "creator/uCreatorProject.h"
#include "platform/Cp1252.h"
#include "platform/Errors.h"
#include "tools/lvtool/Commands.h"
#include "tools/lvtool/CreatorCommands.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <type_traits>

namespace lvtool {
namespace {

// Texts the user typed are stored as Windows-1252; paths are native bytes.
bool isTypedText(std::string_view key) {
    return key == "ProductName" || key == "Publisher" || key == "Website";
}

} // namespace

std::string lvcJson(const lv::TLVCProject& project) {
    nlohmann::ordered_json json;
    json["files"] = nlohmann::ordered_json::array();
    const auto& list = project.FileList;
    for (size_t i = 0; i < list.Files.size(); ++i)
        json["files"].push_back(
            {{"path", list.Files[i]}, {"flag", i < list.Flags.size() ? list.Flags[i] : ""}});
    auto& setting = json["setting"] = nlohmann::ordered_json::object();
    lv::TLVCSetting::ForEach(project.Setting, [&](std::string_view, std::string_view key, const auto& field) {
        using Field = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, std::string>)
            setting[std::string(key)] = isTypedText(key) ? lv::cp1252ToUtf8(field) : field;
        else
            setting[std::string(key)] = field;
    });
    json["UIFile"] = project.UISetting.UIFile;
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

void addLvcCommand(CLI::App& app) {
    auto* lvc = app.add_subcommand("lvc", "Inspect creator projects (.lvc)");
    lvc->require_subcommand(1);
    auto* show = lvc->add_subcommand("show", "Print a creator project as JSON");
    auto file = std::make_shared<std::string>();
    show->add_option("file", *file, "the .lvc file")->required();
    show->callback([file] {
        std::error_code error;
        if (!std::filesystem::is_regular_file(*file, error)) throw lv::IoError(*file, "Cannot open file");
        lv::TLVCProject project;
        project.LoadFromFile(*file);
        std::cout << lvcJson(project) << '\n';
    });
}

} // namespace lvtool
