#include "formats/uConfig.h"

#include "platform/Errors.h"
#include "platform/Paths.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace lv {
namespace {

constexpr std::string_view kAutoWallpaper = "AUTOWALLPAPER";
constexpr std::string_view kDuration = "DURATION";
constexpr std::string_view kRun = "RUN";
constexpr std::string_view kLivingZoom = "LIVINGZOOM";
constexpr std::string_view kProportional = "PROPORTIONAL";
constexpr std::string_view kRandom = "RANDOM";
constexpr std::string_view kSound = "SOUND";
constexpr std::string_view kSpeed = "SPEED";
constexpr std::string_view kStretch = "STRETCH";
constexpr std::string_view kTransitionEffect = "TRANSITION EFFECT";
constexpr std::string_view kPath = "PATH";
constexpr std::string_view kZoom = "ZOOM";
constexpr std::string_view kZoomDuration = "ZOOMDURATION";
// Our own addition: frames per second of the players' frame loops (0 = unpaced).
constexpr std::string_view kFrameRate = "FRAMERATE";

constexpr std::array kConfigKeys{
    ConfigKey{kAutoWallpaper, ConfigKind::Boolean},
    ConfigKey{kDuration, ConfigKind::Integer},
    ConfigKey{kRun, ConfigKind::String},
    ConfigKey{kLivingZoom, ConfigKind::Boolean},
    ConfigKey{kProportional, ConfigKind::Boolean},
    ConfigKey{kRandom, ConfigKind::Boolean},
    ConfigKey{kSound, ConfigKind::Boolean},
    ConfigKey{kSpeed, ConfigKind::Integer},
    ConfigKey{kStretch, ConfigKind::Boolean},
    ConfigKey{kTransitionEffect, ConfigKind::Boolean},
    ConfigKey{kPath, ConfigKind::String},
    ConfigKey{kZoom, ConfigKind::Boolean},
    ConfigKey{kZoomDuration, ConfigKind::Integer},
    ConfigKey{kFrameRate, ConfigKind::Integer},
};

// Values are read through a buffer of this size, as the settings always have been.
constexpr size_t kValueBuffer = kProfileValueBuffer;

bool parseBoolText(std::string_view text, bool& value) {
    if (text == "1" || sameProfileName(text, "true"))
        value = true;
    else if (text == "0" || sameProfileName(text, "false"))
        value = false;
    else
        return false;
    return true;
}

bool parseDecimal(std::string_view text, int32_t& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

std::string boolText(bool value) {
    return value ? "1" : "0";
}

} // namespace

std::span<const ConfigKey> configKeys() {
    return kConfigKeys;
}

const ConfigKey* findConfigKey(std::string_view name) {
    for (const ConfigKey& key : kConfigKeys)
        if (sameProfileName(key.name, name)) return &key;
    return nullptr;
}

CatalogEntry parseCatalogLine(std::string_view line) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return {std::string(line), {}};
    return {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))};
}

TConfig::TConfig() : file_(windowsDirectory() / kFileName) {}

bool TConfig::readBool(std::string_view key, bool fallback) const {
    return file_.readBool(kConfigSection, key, fallback);
}

int32_t TConfig::readInteger(std::string_view key, int32_t fallback) const {
    return file_.readInteger(kConfigSection, key, fallback);
}

std::string TConfig::readString(std::string_view key, std::string_view fallback) const {
    return file_.readString(kConfigSection, key, fallback, kValueBuffer);
}

bool TConfig::ReadAutoWallpaper() const {
    return readBool(kAutoWallpaper, false);
}
void TConfig::WriteAutoWallpaper(bool value) {
    file_.writeBool(kConfigSection, kAutoWallpaper, value);
}
int32_t TConfig::ReadDuration() const {
    return readInteger(kDuration, kDefaultDuration);
}
void TConfig::WriteDuration(int32_t value) {
    file_.writeInteger(kConfigSection, kDuration, value);
}
bool TConfig::ReadLivingZoom() const {
    return readBool(kLivingZoom, false);
}
void TConfig::WriteLivingZoom(bool value) {
    file_.writeBool(kConfigSection, kLivingZoom, value);
}
bool TConfig::ReadProportional() const {
    return readBool(kProportional, true);
}
void TConfig::WriteProportional(bool value) {
    file_.writeBool(kConfigSection, kProportional, value);
}
bool TConfig::ReadRandom() const {
    return readBool(kRandom, true);
}
void TConfig::WriteRandom(bool value) {
    file_.writeBool(kConfigSection, kRandom, value);
}
bool TConfig::ReadSound() const {
    return readBool(kSound, true);
}
void TConfig::WriteSound(bool value) {
    file_.writeBool(kConfigSection, kSound, value);
}
int32_t TConfig::ReadSpeed() const {
    return readInteger(kSpeed, kDefaultSpeed);
}
void TConfig::WriteSpeed(int32_t value) {
    file_.writeInteger(kConfigSection, kSpeed, value);
}
bool TConfig::ReadStretch() const {
    return readBool(kStretch, true);
}
void TConfig::WriteStretch(bool value) {
    file_.writeBool(kConfigSection, kStretch, value);
}
bool TConfig::ReadTransitionEffect() const {
    return readBool(kTransitionEffect, true);
}
void TConfig::WriteTransitionEffect(bool value) {
    file_.writeBool(kConfigSection, kTransitionEffect, value);
}
bool TConfig::ReadZoom() const {
    return readBool(kZoom, true);
}
void TConfig::WriteZoom(bool value) {
    file_.writeBool(kConfigSection, kZoom, value);
}
int32_t TConfig::ReadZoomDuration() const {
    return readInteger(kZoomDuration, kDefaultZoomDuration);
}
void TConfig::WriteZoomDuration(int32_t value) {
    file_.writeInteger(kConfigSection, kZoomDuration, value);
}

int32_t TConfig::ReadFrameRate() const {
    const int32_t rate = readInteger(kFrameRate, kDefaultFrameRate);
    if (rate < 0) return kDefaultFrameRate;
    return std::min(rate, kMaxFrameRate);
}
void TConfig::WriteFrameRate(int32_t value) {
    file_.writeInteger(kConfigSection, kFrameRate, value);
}

std::string TConfig::ReadRun() const {
    // One look at the file answers both the key and its default.
    const ProfileDocument document = file_.read();
    if (document.find(kConfigSection, kRun))
        return document.readString(kConfigSection, kRun, {}, kValueBuffer);
    const std::vector<ProfileEntry> catalog =
        document.entries(kCatalogSection, kProfileKeyListBuffer, kValueBuffer);
    return catalog.empty() ? std::string() : catalog.front().key + "=" + catalog.front().value;
}

void TConfig::WriteRun(std::string_view value) {
    file_.writeString(kConfigSection, kRun, value);
}

// The documented default is a Windows install folder that means nothing here; the program's own
// folder is where the studio's sounds and error log live.
std::string TConfig::ReadPath() const {
    return readString(kPath, programFolder().string() + "/");
}

void TConfig::WritePath(std::string_view value) {
    file_.writeString(kConfigSection, kPath, value);
}

std::string TConfig::ReadSetting(const ConfigKey& key) const {
    if (key.name == kRun) return ReadRun();
    if (key.name == kPath) return ReadPath();
    if (key.name == kAutoWallpaper) return boolText(ReadAutoWallpaper());
    if (key.name == kLivingZoom) return boolText(ReadLivingZoom());
    if (key.name == kProportional) return boolText(ReadProportional());
    if (key.name == kRandom) return boolText(ReadRandom());
    if (key.name == kSound) return boolText(ReadSound());
    if (key.name == kStretch) return boolText(ReadStretch());
    if (key.name == kTransitionEffect) return boolText(ReadTransitionEffect());
    if (key.name == kZoom) return boolText(ReadZoom());
    if (key.name == kDuration) return std::to_string(ReadDuration());
    if (key.name == kSpeed) return std::to_string(ReadSpeed());
    if (key.name == kZoomDuration) return std::to_string(ReadZoomDuration());
    if (key.name == kFrameRate) return std::to_string(ReadFrameRate());
    throw Error("Unknown setting: " + std::string(key.name));
}

void TConfig::WriteSetting(const ConfigKey& key, std::string_view text) {
    switch (key.kind) {
    case ConfigKind::Boolean: {
        bool value = false;
        if (!parseBoolText(text, value))
            throw Error(std::string(key.name) + " takes 1 or 0, not \"" + std::string(text) + "\"");
        file_.writeBool(kConfigSection, key.name, value);
        return;
    }
    case ConfigKind::Integer: {
        int32_t value = 0;
        if (!parseDecimal(text, value))
            throw Error(std::string(key.name) + " takes a whole number, not \"" + std::string(text) + "\"");
        file_.writeInteger(kConfigSection, key.name, value);
        return;
    }
    case ConfigKind::String:
        file_.writeString(kConfigSection, key.name, text);
        return;
    }
}

void TConfig::AddToCatalog(std::string_view path) {
    if (path.empty()) return;
    file_.writeString(kCatalogSection, path, "");
}

void TConfig::SetCatalogEntry(std::string_view path, std::string_view flag) {
    if (path.empty()) return;
    file_.writeString(kCatalogSection, path, flag);
}

void TConfig::RemoveFromCatalog(std::string_view path) {
    if (path.empty()) return;
    file_.deleteKey(kCatalogSection, path);
}

// Keys and values come from one look at the file, so a listed key always has its value and the
// default "1" of a separate read never comes into play; a hostile file costs one pass, not one per key.
std::vector<CatalogEntry> TConfig::ReadCatalogEntries() const {
    std::vector<CatalogEntry> catalog;
    for (ProfileEntry& entry : file_.read().entries(kCatalogSection, kProfileKeyListBuffer, kValueBuffer))
        catalog.push_back({std::move(entry.key), std::move(entry.value)});
    return catalog;
}

std::vector<std::string> TConfig::ReadCatalog() const {
    std::vector<std::string> lines;
    for (const CatalogEntry& entry : ReadCatalogEntries()) lines.push_back(entry.line());
    return lines;
}

} // namespace lv
