#pragma once

// Where the system's folders are on Linux.

#include <filesystem>
#include <string>
#include <string_view>

namespace lv {

// The folder of the running program (from /proc/self/exe), with no trailing separator.
std::filesystem::path programFolder();

// The settings folder standing in for the Windows directory:
// $LUMIVALE_WINDIR, else $XDG_CONFIG_HOME/lumivale, else ~/.config/lumivale. Created when missing.
std::filesystem::path windowsDirectory();

// $LUMIVALE_SYSDIR, else the program folder.
std::filesystem::path systemDirectory();

// The private per-user temporary folder: $XDG_RUNTIME_DIR/lumivale, else ($TMPDIR or /tmp)/lumivale-<uid>,
// created with mode 0700 and checked to be ours and not a symbolic link. Throws IoError otherwise.
std::filesystem::path privateTempFolder();

// The file-name part of a stored path: both "\\" and "/" separate (paths made on Windows still work).
std::string_view storedFileName(std::string_view storedPath);

// True when a stored path has a folder part ("\\", "/" or a drive colon).
bool storedPathHasFolder(std::string_view storedPath);

// Looks a name up in a folder without regard to letter case when the exact name does not exist;
// returns folder / name unchanged when nothing matches.
std::filesystem::path findCaseInsensitive(const std::filesystem::path& folder, std::string_view name);

} // namespace lv
