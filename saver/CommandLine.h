#pragma once

// The saver runtime's command line, by the screensaver conventions: the first argument, upper-cased
// and cut to two characters, picks the mode; the second (upper-cased) is a window id for /P and /A.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace lv {

enum class SaverMode { SlideShow, Config, Preview, ChangePassword, None };

struct SaverCommandLine {
    std::string modeArgument;   // upper-cased, at most two characters
    std::string windowArgument; // upper-cased
    SaverMode mode = SaverMode::Config;
};

// arguments excludes the program name. No argument selects the configuration window; an unknown
// mode argument selects nothing (the program ends at once).
SaverCommandLine parseSaverCommandLine(std::span<const std::string> arguments);

// The window argument as an X11 window id: whole decimal digits only (strict conversion). Throws
// lv::Error "'text' is not a valid integer value" otherwise.
uint64_t windowArgumentValue(std::string_view text);

// The saver settings file: the program path with its last extension replaced by ".ini", or ".ini"
// appended when the file name has none (Sea.Shore.scr gives Sea.Shore.ini; a dot in a folder name
// never counts).
std::filesystem::path saverSettingsFile(const std::filesystem::path& programPath);

} // namespace lv
