#include "platform/Paths.h"

#include "platform/Errors.h"

#include <cstdlib>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lv {
namespace fs = std::filesystem;
namespace {

const char* envValue(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

fs::path ensureFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) throw IoError(folder.string(), "Cannot create folder (" + error.message() + ")");
    return folder;
}

void ensurePrivateFolder(const fs::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw IoError(folder.string(), "Cannot create temporary folder");
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        throw IoError(folder.string(), "Temporary folder is not ours");
    if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        throw IoError(folder.string(), "Cannot make temporary folder private");
}

} // namespace

fs::path programFolder() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) return fs::current_path();
    return exe.parent_path();
}

fs::path windowsDirectory() {
    if (const char* dir = envValue("LUMIVALE_WINDIR")) return ensureFolder(dir);
    if (const char* config = envValue("XDG_CONFIG_HOME")) return ensureFolder(fs::path(config) / "lumivale");
    const char* home = envValue("HOME");
    return ensureFolder(fs::path(home ? home : "/tmp") / ".config" / "lumivale");
}

fs::path systemDirectory() {
    if (const char* dir = envValue("LUMIVALE_SYSDIR")) return dir;
    return programFolder();
}

fs::path privateTempFolder() {
    fs::path folder;
    if (const char* runtime = envValue("XDG_RUNTIME_DIR")) {
        folder = fs::path(runtime) / "lumivale";
    } else {
        const char* tmp = envValue("TMPDIR");
        folder = fs::path(tmp ? tmp : "/tmp") / ("lumivale-" + std::to_string(::getuid()));
    }
    ensurePrivateFolder(folder);
    return folder;
}

std::string_view storedFileName(std::string_view storedPath) {
    const size_t cut = storedPath.find_last_of("\\/:");
    return cut == std::string_view::npos ? storedPath : storedPath.substr(cut + 1);
}

bool storedPathHasFolder(std::string_view storedPath) {
    return storedPath.find_first_of("\\/:") != std::string_view::npos;
}

fs::path findCaseInsensitive(const fs::path& folder, std::string_view name) {
    const fs::path exact = folder / fs::path(std::string(name));
    std::error_code error;
    if (fs::exists(exact, error)) return exact;
    const std::string wanted(name);
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (::strcasecmp(it->path().filename().c_str(), wanted.c_str()) == 0) return it->path();
    }
    return exact;
}

} // namespace lv
