#include "formats/uProjectExtractor.h"
#include "tools/lvtool/Commands.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace lvtool {
namespace {

std::vector<std::filesystem::path> toPaths(const std::vector<std::string>& names) {
    return {names.begin(), names.end()};
}

void addPack(CLI::App& app) {
    auto* command = app.add_subcommand("pack", "Append a payload package of FILEs to TARGET");
    auto fresh = std::make_shared<bool>(false);
    auto templatePath = std::make_shared<std::string>();
    auto target = std::make_shared<std::string>();
    auto files = std::make_shared<std::vector<std::string>>();
    command->add_flag("--fresh", *fresh, "start TARGET anew (template or nothing in front of the package)");
    command->add_option("--template", *templatePath, "copy this file over TARGET first");
    command->add_option("target", *target, "the file that receives the package")->required();
    command->add_option("files", *files, "the entries, in order");
    command->callback([fresh, templatePath, target, files] {
        const auto entries = toPaths(*files);
        if (*fresh)
            lv::AppendPackageFresh(*templatePath, *target, entries);
        else
            lv::AppendPackage(*templatePath, *target, entries);
    });
}

void addFind(CLI::App& app) {
    auto* command = app.add_subcommand("find", "Print where the payload package of FILE starts");
    auto file = std::make_shared<std::string>();
    command->add_option("file", *file, "the host file")->required();
    command->callback([file] {
        const lv::PackageLocation location = lv::FindPackage(*file);
        if (!location.found) {
            std::cout << "not found\n";
            throw ExitStatus{1};
        }
        std::cout << "found " << location.position << ' ' << location.count << '\n';
    });
}

void addUnpack(CLI::App& app) {
    auto* command =
        app.add_subcommand("unpack", "Extract the entries of FILE's package into NAMEs, in order");
    auto file = std::make_shared<std::string>();
    auto names = std::make_shared<std::vector<std::string>>();
    command->add_option("file", *file, "the host file")->required();
    command->add_option("names", *names, "output file of each entry")->required();
    command->callback([file, names] {
        const lv::ExtractResult result = lv::ExtractPackage(*file, toPaths(*names));
        if (!result.found) {
            std::cerr << "lvtool: no package in " << *file << '\n';
            throw ExitStatus{1};
        }
        if (!result.complete) {
            std::cerr << "lvtool: the package ended early or an output could not be written ("
                      << result.written << " entries written)\n";
            throw ExitStatus{1};
        }
    });
}

} // namespace

void addPackCommands(CLI::App& app) {
    addPack(app);
    addFind(app);
    addUnpack(app);
}

} // namespace lvtool
