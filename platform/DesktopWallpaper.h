#pragma once

// The desktop-wallpaper service: the registry values and asking the running desktop to show a picture.

#include <filesystem>

namespace lv {

// Writes "TileWallpaper" = "0" under "Control Panel\Desktop" of the registry stand-in, only when that
// key exists already (it is never created).
void recordWallpaperNotTiled();

// Asks the desktop to show the picture at path, centred and not tiled: GNOME and Cinnamon (gsettings
// picture-uri), MATE (gsettings picture-filename), XFCE (xfconf-query on every last-image property),
// else $LUMIVALE_WALLPAPER_COMMAND started with the path as its one argument. Programs are started
// without a shell and waited for. Returns whether one of them accepted the picture; false (no error)
// when there is no desktop to ask.
bool showDesktopWallpaper(const std::filesystem::path& path);

} // namespace lv
