#include "creator/BuildChecks.h"

#include <filesystem>

namespace lv {

BuildCheck checkBuildButton(std::string_view directory, std::string_view fileName, std::string_view uiFile) {
    BuildCheck check{.directory = std::string(directory), .message = {}, .question = false};
    if (!check.directory.empty() && !check.directory.ends_with('/')) check.directory += '/';
    std::error_code error;
    if (check.directory.empty() || !std::filesystem::is_directory(check.directory, error)) {
        check.message = "Directory doesn't exist.";
    } else if (fileName.empty()) {
        check.message = "You have not specified the file name";
    } else if (uiFile.empty()) {
        check.message =
            "You have not selected a GUI file.\nYou can select a GUI file in User Interface page!";
        check.question = true;
    } else if (!std::filesystem::exists(std::string(uiFile), error)) {
        check.message =
            "GUI file '" + std::string(uiFile) + "' not found.\nPlease configure it in User Interface page!";
        check.question = true;
    }
    return check;
}

} // namespace lv
