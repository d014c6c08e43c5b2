#include "platform/DesktopWallpaper.h"

#include "platform/Errors.h"
#include "platform/Registry.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace lv {
namespace {

// Starts argv[0] (looked up in PATH) with no shell, stdin from /dev/null; waits for it.
// With output, its standard output is collected there. Returns the exit status, or nothing when it
// could not be started or did not exit normally.
std::optional<int> runProgram(const std::vector<std::string>& args, std::string* output = nullptr) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (output && ::pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (output) posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    pid_t pid = -1;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output) {
        ::close(pipeFds[1]);
        if (spawned == 0) {
            char buffer[4096];
            ssize_t n;
            while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
                if (n > 0) output->append(buffer, static_cast<size_t>(n));
        }
        ::close(pipeFds[0]);
    }
    if (spawned != 0) return std::nullopt;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return std::nullopt;
    if (!WIFEXITED(status)) return std::nullopt;
    return WEXITSTATUS(status);
}

bool succeeded(const std::vector<std::string>& args) {
    return runProgram(args) == 0;
}

std::string lowerEnv(const char* name) {
    const char* value = std::getenv(name);
    std::string text = value ? value : "";
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string fileUri(const std::filesystem::path& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const unsigned char c : std::filesystem::absolute(path).string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

bool showOnGnomeLike(const std::string& schema, const std::filesystem::path& path) {
    const std::string uri = fileUri(path);
    if (!succeeded({"gsettings", "set", schema, "picture-uri", uri})) return false;
    if (schema == "org.gnome.desktop.background") // newer GNOME keeps a second picture for dark style
        succeeded({"gsettings", "set", schema, "picture-uri-dark", uri});
    succeeded({"gsettings", "set", schema, "picture-options", "centered"});
    return true;
}

bool showOnMate(const std::filesystem::path& path) {
    if (!succeeded({"gsettings", "set", "org.mate.background", "picture-filename",
                    std::filesystem::absolute(path).string()}))
        return false;
    succeeded({"gsettings", "set", "org.mate.background", "picture-options", "centered"});
    return true;
}

bool showOnXfce(const std::filesystem::path& path) {
    std::string listing;
    if (runProgram({"xfconf-query", "-c", "xfce4-desktop", "-l"}, &listing) != 0) return false;
    const std::string suffix = "/last-image";
    bool any = false;
    std::istringstream lines(listing);
    for (std::string property; std::getline(lines, property);) {
        if (property.size() <= suffix.size() || !property.ends_with(suffix)) continue;
        const std::string style = property.substr(0, property.size() - suffix.size()) + "/image-style";
        any |= succeeded({"xfconf-query", "-c", "xfce4-desktop", "-p", property, "-s",
                          std::filesystem::absolute(path).string()});
        succeeded({"xfconf-query", "-c", "xfce4-desktop", "-p", style, "-s", "1"}); // 1 = centred
    }
    return any;
}

} // namespace

void recordWallpaperNotTiled() {
    // The key is opened without being created; only a desktop that has it gets the value.
    // A store that cannot be written must not keep the picture off the desktop: the value is a record.
    try {
        Registry registry;
        if (registry.keyExists(RegistryRoot::CurrentUser, Registry::kDesktopKey))
            registry.writeString(RegistryRoot::CurrentUser, Registry::kDesktopKey, "TileWallpaper", "0");
    } catch (const Error&) {
    }
}

bool showDesktopWallpaper(const std::filesystem::path& path) {
    const std::string desktop = lowerEnv("XDG_CURRENT_DESKTOP");
    if (desktop.find("gnome") != std::string::npos || desktop.find("unity") != std::string::npos ||
        desktop.find("budgie") != std::string::npos)
        return showOnGnomeLike("org.gnome.desktop.background", path);
    if (desktop.find("cinnamon") != std::string::npos)
        return showOnGnomeLike("org.cinnamon.desktop.background", path);
    if (desktop.find("mate") != std::string::npos) return showOnMate(path);
    if (desktop.find("xfce") != std::string::npos) return showOnXfce(path);
    const char* command = std::getenv("LUMIVALE_WALLPAPER_COMMAND");
    if (command && *command) return succeeded({command, std::filesystem::absolute(path).string()});
    return false;
}

} // namespace lv
