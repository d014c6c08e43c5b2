#pragma once

// The creator project: the ordered picture list, the screensaver settings and the skin of one
// screensaver, and its .lvc file. A .lvc file is a payload package with no host holding three ini
// texts (picture list, settings, user interface), each written with the profile-file rules. The saver
// runtime reads the packed copy of a project (LVC.res) with the same loader.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

class ProfileDocument;

inline constexpr std::string_view kFlagTrue = "TRUE";
inline constexpr std::string_view kFlagFalse = "FALSE";

class TLVCFileList {
  public:
    // Kept in step: Flags[i] is "TRUE" or "FALSE" for Files[i]. Paths are native path bytes.
    std::vector<std::string> Files;
    std::vector<std::string> Flags;

    void Add(std::string file, std::string flag = std::string(kFlagFalse));
    void Clear();

    void SaveToIni(ProfileDocument& ini) const;
    void LoadFromIni(const ProfileDocument& ini);
    void SaveToIni(const std::filesystem::path& path) const;
    void LoadFromIni(const std::filesystem::path& path);
};

class TLVCSetting {
  public:
    // Texts the user types, as Windows-1252 bytes.
    std::string ProductName;
    std::string Publisher;
    std::string Website;
    bool Stretch = true;
    bool Proportional = false;
    bool Sound = true;
    bool Random = true;
    int32_t Duration = 30;
    bool Transition = true;
    bool Zoom = false;
    bool LivingZoom = false;
    int32_t ZoomDuration = 5;
    bool AutoWallpaper = false;
    int32_t Speed = 100;
    bool Music = true;
    bool Animation = true;
    int32_t ShowImageMode = 0; // 0 all random, 1 all sequential, 2 checked random, 3 single selected
    std::string PreviewFile;   // native path bytes
    std::string MusicFile;     // paths, each followed by ";"
    int32_t MusicMode = 0;     // 0 random, 1 sequential
    std::string BuildFileName;
    std::string BuildIcon;

    // Calls visit(section, key, field) for every setting in file order; field is a bool, int32_t or
    // std::string reference. The one table of sections, keys and order.
    template <typename Self, typename Visit>
    static void ForEach(Self& s, Visit&& visit) {
        visit("General", "ProductName", s.ProductName);
        visit("General", "Publisher", s.Publisher);
        visit("General", "Website", s.Website);
        visit("Default", "Stretch", s.Stretch);
        visit("Default", "Proportional", s.Proportional);
        visit("Default", "Sound", s.Sound);
        visit("Default", "Random", s.Random);
        visit("Default", "Duration", s.Duration);
        visit("Default", "Transition", s.Transition);
        visit("Default", "Zoom", s.Zoom);
        visit("Default", "LivingZoom", s.LivingZoom);
        visit("Default", "ZoomDuration", s.ZoomDuration);
        visit("Default", "AutoWallpaper", s.AutoWallpaper);
        visit("Default", "Speed", s.Speed);
        visit("Default", "Music", s.Music);
        visit("Default", "Animation", s.Animation);
        visit("Default", "ShowImageMode", s.ShowImageMode);
        visit("Advance", "PreviewFile", s.PreviewFile);
        visit("Advance", "MusicFile", s.MusicFile);
        visit("Advance", "MusicMode", s.MusicMode);
        visit("Build", "BuildFileName", s.BuildFileName);
        visit("Build", "BuildIcon", s.BuildIcon);
    }

    void SaveToIni(ProfileDocument& ini) const;
    // A missing key, or a number that does not read, keeps the field's current value.
    void LoadFromIni(const ProfileDocument& ini);
    void SaveToIni(const std::filesystem::path& path) const;
    void LoadFromIni(const std::filesystem::path& path);
};

class TUISetting {
  public:
    std::string UIFile; // the skin (.lui); empty: none chosen

    void SaveToIni(ProfileDocument& ini) const;
    void LoadFromIni(const ProfileDocument& ini);
    void SaveToIni(const std::filesystem::path& path) const;
    void LoadFromIni(const std::filesystem::path& path);
};

// The entries of a MusicFile value: each ended by ";", a last one without ";" taken whole.
std::vector<std::string> splitMusicFiles(std::string_view musicFile);

// The part images of a project file in the private temporary folder: "LV" + the file name up to and
// including its last "." (never its last character) + "~1.tmp", "~2.tmp", "~3.tmp".
std::array<std::filesystem::path, 3> partImageNames(const std::filesystem::path& projectFile);

class TLVCProject {
  public:
    TLVCFileList FileList;
    TLVCSetting Setting;
    TUISetting UISetting;

    // Back to a new project's defaults.
    void Clear();

    // Reads into the existing parts: the picture list is replaced, settings missing from the file keep
    // their values, UIFile is read with an empty default. A file without a package reads as empty
    // texts (nothing is reported).
    void LoadFromFile(const std::filesystem::path& path);
    // Replaces the file atomically: a failed save leaves the old file whole. Throws lv::Error for a
    // path or text the ini texts cannot hold, lv::IoError when a file cannot be written.
    void SaveToFile(const std::filesystem::path& path) const;
};

} // namespace lv
