#pragma once

// The single-project screensaver export with its template named, so that it can be exercised
// without a template in the program folder. TProject::ExportScreenSaver passes the program
// folder's "LVStudio.dat".

#include "formats/uLVProject.h"

#include <filesystem>

namespace lv {

// Saves the project to the temporary folder's "LVTEMP.LVP", asks about the sound through dialogs, and
// writes target as a copy of templatePath followed by a package of the temporary project and, when
// chosen, the sound. An empty Sound becomes "Default.wav" (the project keeps it). A template that
// cannot be read throws IoError before target is touched; the temporary project is always removed.
void exportScreenSaver(TProject& project, const std::filesystem::path& target, DialogService& dialogs,
                       const std::filesystem::path& templatePath);

} // namespace lv
