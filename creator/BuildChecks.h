#pragma once

// The checks of the build button that need no window, each giving the message the user sees.

#include <optional>
#include <string>
#include <string_view>

namespace lv {

struct BuildCheck {
    std::string directory;              // the folder text, with a trailing "/" added when missing
    std::optional<std::string> message; // why the build cannot start; nothing when it can
    bool question = false;              // the GUI-file messages are shown in a question box
};

// In order: the folder exists ("Directory doesn't exist."; an empty text fails too), a file name is
// given, a GUI file is chosen, and it exists.
BuildCheck checkBuildButton(std::string_view directory, std::string_view fileName, std::string_view uiFile);

} // namespace lv
