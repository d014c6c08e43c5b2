#pragma once

// Each lvtool command lives in its own file and registers itself on the application here.

#include <CLI/CLI.hpp>
#include <stdexcept>
#include <string>

namespace lvtool {

// Bad arguments: printed as one line, exit status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Ends the tool with a status and no message (e.g. `find` when nothing is found).
struct ExitStatus {
    int code;
};

void addInfoCommand(CLI::App& app);
void addCreateCommand(CLI::App& app);
void addExportCommand(CLI::App& app);
void addRenderCommand(CLI::App& app);
void addBenchCommand(CLI::App& app);
void addCatalogCommand(CLI::App& app);
void addConfigCommand(CLI::App& app);
void addFitCommand(CLI::App& app);
void addPackCommands(CLI::App& app);

} // namespace lvtool
