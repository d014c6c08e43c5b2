#pragma once

// lvtool commands on creator projects and built screensavers.

#include <CLI/CLI.hpp>
#include <string>

namespace lv {
class TLVCProject;
}

namespace lvtool {

void addLvcCommand(CLI::App& app);
void addBuildCommand(CLI::App& app);
void addSaverUnpackCommand(CLI::App& app);

// A creator project as one JSON object: files [{path, flag}], setting {key: value}, UIFile.
std::string lvcJson(const lv::TLVCProject& project);

} // namespace lvtool
