#pragma once

// The player's error log: "error.txt" in the studio folder holds one line about the last error of a
// frame pass, "<stage> <project path> <message>". Logging never fails the caller.

#include <string>
#include <string_view>

namespace lv {

inline constexpr std::string_view kErrorLogName = "error.txt";

// The line as written, ended by CR LF.
std::string errorLogLine(char stage, std::string_view currentPath, std::string_view message);

// Creates or overwrites studioFolder + "error.txt" with that one line; errors while writing are ignored.
// studioFolder is CONFIG PATH as stored (with its trailing separator, or without).
void writeErrorLog(std::string_view studioFolder, char stage, std::string_view currentPath,
                   std::string_view message);

} // namespace lv
