#include "formats/uConfig.h"
#include "platform/Errors.h"
#include "platform/ProfileFile.h"
#include "tools/lvtool/Commands.h"

#include <filesystem>
#include <iostream>
#include <memory>

namespace lvtool {
namespace {

void requirePath(const std::string& path) {
    if (path.empty()) throw UsageError("the catalog path must not be empty");
}

// A catalog key is a full path; a relative one would mean nothing to the player.
std::string pathToAdd(const std::string& path) {
    const std::filesystem::path given(path);
    return given.is_absolute() ? path : std::filesystem::absolute(given).lexically_normal().string();
}

// The stored key the user means: the path as given, or the full path of a relative one.
std::string storedKey(const lv::TConfig& config, const std::string& path) {
    const std::vector<lv::CatalogEntry> catalog = config.ReadCatalogEntries();
    for (const std::string& candidate : {path, pathToAdd(path)}) {
        for (const lv::CatalogEntry& entry : catalog)
            if (lv::sameProfileName(entry.path, candidate)) return entry.path;
    }
    throw lv::Error(path + ": not in the catalog of " + config.FileName().string());
}

void addPathCommand(CLI::App& catalog, const char* name, const char* help,
                    void (*run)(lv::TConfig&, const std::string&)) {
    auto* command = catalog.add_subcommand(name, help);
    auto path = std::make_shared<std::string>();
    command->add_option("path", *path, "the project file")->required();
    command->callback([path, run] {
        requirePath(*path);
        lv::TConfig config;
        run(config, *path);
    });
}

} // namespace

void addCatalogCommand(CLI::App& app) {
    auto* catalog = app.add_subcommand("catalog", "List and change the player catalog in Lumivale.ini "
                                                  "($LUMIVALE_WINDIR)");
    catalog->require_subcommand(1);
    catalog->add_subcommand("list", "One path=flag line per entry, in file order")->callback([] {
        for (const std::string& line : lv::TConfig().ReadCatalog()) std::cout << line << '\n';
    });
    addPathCommand(
        *catalog, "add", "Add a project (enabled); a relative path is made absolute",
        [](lv::TConfig& config, const std::string& path) { config.AddToCatalog(pathToAdd(path)); });
    addPathCommand(*catalog, "remove", "Remove an entry; the project file stays",
                   [](lv::TConfig& config, const std::string& path) {
                       config.RemoveFromCatalog(storedKey(config, path));
                   });
    addPathCommand(*catalog, "enable", "Set an entry's flag to 1",
                   [](lv::TConfig& config, const std::string& path) {
                       config.SetCatalogEntry(storedKey(config, path), "1");
                   });
    addPathCommand(*catalog, "disable", "Set an entry's flag to 0 (kept, never played)",
                   [](lv::TConfig& config, const std::string& path) {
                       config.SetCatalogEntry(storedKey(config, path), "0");
                   });
}

} // namespace lvtool
