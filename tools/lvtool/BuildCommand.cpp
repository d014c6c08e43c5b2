#include "creator/BuildChecks.h"
#include "creator/uBuildSaver.h"
#include "creator/uCreatorProject.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "tools/lvtool/Commands.h"
#include "tools/lvtool/CreatorCommands.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace lvtool {
namespace fs = std::filesystem;
namespace {

struct BuildArguments {
    std::string project, creatorDir, target, icon;
};

// A bar that redraws itself on a terminal; one line per step otherwise. Written to stderr so that
// stdout holds only the result.
lv::BuildProgress progressPrinter() {
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    return [terminal](int maximum, int position) {
        if (!terminal) {
            std::cerr << "progress " << position << '/' << maximum << '\n';
            return;
        }
        constexpr int kWidth = 40;
        const int filled = maximum > 0 ? position * kWidth / maximum : 0;
        std::cerr << "\r[" << std::string(static_cast<size_t>(filled), '#')
                  << std::string(static_cast<size_t>(kWidth - filled), '.') << "] " << position << '/'
                  << maximum << std::flush;
    };
}

fs::path programPath() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path("lvtool") : exe;
}

void runBuild(const BuildArguments& args) {
    std::error_code error;
    if (!fs::is_regular_file(args.project, error)) throw lv::IoError(args.project, "Cannot open file");
    lv::TLVCProject project;
    project.LoadFromFile(args.project);

    const fs::path creator = args.creatorDir.empty() ? lv::programFolder() : fs::path(args.creatorDir);
    const fs::path target =
        args.target.empty() ? fs::path(project.Setting.BuildFileName) : fs::path(args.target);
    const std::string fileName = target.filename().string();
    std::string icon = args.icon.empty() ? project.Setting.BuildIcon : args.icon;
    if (icon.empty())
        icon = lv::findCaseInsensitive(lv::findCaseInsensitive(creator, "images"), "Default.ico").string();

    const lv::BuildCheck check =
        lv::checkBuildButton(target.parent_path().string(), fileName, project.UISetting.UIFile);
    if (check.message) {
        std::cout << *check.message << '\n';
        throw ExitStatus{1};
    }
    const lv::BuildResult result =
        lv::BuildFromProject(project, check.directory, fileName, icon,
                             lv::buildFoldersFor(creator, programPath()), progressPrinter());
    if (::isatty(STDERR_FILENO)) std::cerr << '\n';
    std::cout << result.message << '\n';
    if (!result.succeeded) throw ExitStatus{1};
}

} // namespace

void addBuildCommand(CLI::App& app) {
    auto* command = app.add_subcommand("build", "Build a standalone screensaver from a creator project");
    auto args = std::make_shared<BuildArguments>();
    command->add_option("project", args->project, "the creator project (.lvc)")->required();
    command->add_option(
        "--creator-dir", args->creatorDir,
        "folder of LVCreatorPro.dat, images/Default.ico and Warnings.txt (default: the program folder)");
    command->add_option("--target", args->target,
                        "the screensaver file (default: the project's BuildFileName)");
    command->add_option("--icon", args->icon, "the icon (default: BuildIcon, else images/Default.ico)");
    command->callback([args] { runBuild(*args); });
}

} // namespace lvtool
