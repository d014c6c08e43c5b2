#pragma once

// The player settings file "Lumivale.ini" in the settings folder, shared by the three programs.
// TConfig is the only access to it: section CONFIG holds the player settings and the studio folder,
// section CATALOG the water projects the player may show (key: full path, value: flag).

#include "platform/ProfileFile.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

enum class ConfigKind { Boolean, Integer, String };

// One key of section CONFIG.
struct ConfigKey {
    std::string_view name; // as written in the file
    ConfigKind kind;
};

// Every CONFIG key, in the documented order.
std::span<const ConfigKey> configKeys();
// Looks a key up without regard to letter case; nullptr when there is none of that name.
const ConfigKey* findConfigKey(std::string_view name);

// One line of the catalog: "0" disables the entry; "1", an empty flag and anything else enable it.
struct CatalogEntry {
    std::string path; // native path bytes, as stored
    std::string flag;
    bool enabled() const { return flag != "0"; }
    std::string line() const { return path + "=" + flag; }
};

// Takes a path=flag line apart at its first "=" (a stored key never holds one).
CatalogEntry parseCatalogLine(std::string_view line);

class TConfig {
  public:
    static constexpr std::string_view kFileName = "Lumivale.ini";
    static constexpr std::string_view kConfigSection = "CONFIG";
    static constexpr std::string_view kCatalogSection = "CATALOG";

    static constexpr int32_t kDefaultDuration = 60;
    static constexpr int32_t kDefaultSpeed = 100;
    static constexpr int32_t kDefaultZoomDuration = 2;
    static constexpr int32_t kDefaultFrameRate = 30;
    static constexpr int32_t kMaxFrameRate = 1000;

    // "Lumivale.ini" in lv::windowsDirectory(). No file is created until something is written.
    TConfig();
    explicit TConfig(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& FileName() const { return file_.path(); }

    // Reads never fail: a missing file, section or key, or an unreadable number, gives the default.
    // Writes reach the disk before they return and throw lv::IoError when they cannot, and lv::Error
    // for a path or value the file cannot hold (a line break; "=" in a catalog path).
    bool ReadAutoWallpaper() const;
    void WriteAutoWallpaper(bool value);
    int32_t ReadDuration() const;
    void WriteDuration(int32_t value);
    // Default: the first catalog line, path=flag, or empty with an empty catalog.
    std::string ReadRun() const;
    void WriteRun(std::string_view value);
    bool ReadLivingZoom() const;
    void WriteLivingZoom(bool value);
    bool ReadProportional() const;
    void WriteProportional(bool value);
    bool ReadRandom() const;
    void WriteRandom(bool value);
    bool ReadSound() const;
    void WriteSound(bool value);
    int32_t ReadSpeed() const;
    void WriteSpeed(int32_t value);
    bool ReadStretch() const;
    void WriteStretch(bool value);
    bool ReadTransitionEffect() const;
    void WriteTransitionEffect(bool value);
    // The studio folder with a trailing separator. Default: the running program's folder + "/".
    std::string ReadPath() const;
    void WritePath(std::string_view value);
    bool ReadZoom() const;
    void WriteZoom(bool value);
    int32_t ReadZoomDuration() const;
    void WriteZoomDuration(int32_t value);
    // Our own key FRAMERATE: frames per second of the players (0 = as fast as the machine goes).
    // A negative or unreadable value gives the default of 30, a huge one the maximum.
    int32_t ReadFrameRate() const;
    void WriteFrameRate(int32_t value);

    // Any CONFIG key as text: booleans "1"/"0", integers in decimal, strings as read.
    std::string ReadSetting(const ConfigKey& key) const;
    // Booleans take "1", "0", "true" or "false"; integers whole decimal numbers; anything else is
    // refused with lv::Error before the file is touched.
    void WriteSetting(const ConfigKey& key, std::string_view text);

    // An empty path does nothing. Adding resets an existing entry's flag to empty (enabled).
    void AddToCatalog(std::string_view path);
    void SetCatalogEntry(std::string_view path, std::string_view flag);
    void RemoveFromCatalog(std::string_view path);
    // The CATALOG keys in file order (as many as fit the 16384-byte key list), each as path=flag,
    // the flag read with default "1".
    std::vector<std::string> ReadCatalog() const;
    std::vector<CatalogEntry> ReadCatalogEntries() const;

  private:
    bool readBool(std::string_view key, bool fallback) const;
    int32_t readInteger(std::string_view key, int32_t fallback) const;
    std::string readString(std::string_view key, std::string_view fallback) const;

    ProfileFile file_;
};

} // namespace lv
