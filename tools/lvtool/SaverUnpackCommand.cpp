#include "creator/uCreatorProject.h"
#include "saver/SaverFiles.h"
#include "tools/lvtool/Commands.h"
#include "tools/lvtool/CreatorCommands.h"

#include <filesystem>
#include <iostream>
#include <memory>

namespace lvtool {

void addSaverUnpackCommand(CLI::App& app) {
    auto* command =
        app.add_subcommand("saver-unpack", "Unpack a built screensaver as its runtime does and print "
                                           "the rewritten project as JSON");
    auto file = std::make_shared<std::string>();
    auto into = std::make_shared<std::string>();
    command->add_option("file", *file, "the built screensaver")->required();
    command->add_option("--into", *into, "the work folder (created when missing)")->required();
    command->callback([file, into] {
        const std::filesystem::path work = std::filesystem::absolute(*into);
        std::filesystem::create_directories(work);
        lv::TLVCProject project;
        const lv::SaverExtraction result = lv::ExtractSaverFiles(project, *file, work / "");
        if (!result.payload) {
            std::cerr << "lvtool: no screensaver payload in " << *file << '\n';
            throw ExitStatus{1};
        }
        std::cout << lvcJson(project) << '\n';
    });
}

} // namespace lvtool
