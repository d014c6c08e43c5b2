#include "creator/uCreatorProject.h"

#include "formats/uProjectExtractor.h"
#include "platform/FileIo.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <span>
#include <type_traits>

namespace lv {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kHeaderSection = "FileListHeader";
constexpr std::string_view kFileListSection = "FileList";
constexpr std::string_view kUISection = "UI";

void writeText(const fs::path& path, const ProfileDocument& ini) {
    const std::string& text = ini.text();
    writeFileAtomic(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool readsTrue(std::string_view value) {
    const auto number = parseProfileInteger(value);
    return number && *number != 0;
}

// Removes the part images whatever ends the save or load.
class PartImages {
  public:
    explicit PartImages(const fs::path& projectFile) : names_(partImageNames(projectFile)) { removeAll(); }
    ~PartImages() { removeAll(); }
    PartImages(const PartImages&) = delete;
    PartImages& operator=(const PartImages&) = delete;

    const std::array<fs::path, 3>& names() const { return names_; }

  private:
    void removeAll() {
        std::error_code ignored;
        for (const fs::path& name : names_) fs::remove(name, ignored);
    }

    std::array<fs::path, 3> names_;
};

} // namespace

void TLVCFileList::Add(std::string file, std::string flag) {
    Files.push_back(std::move(file));
    Flags.push_back(std::move(flag));
}

void TLVCFileList::Clear() {
    Files.clear();
    Flags.clear();
}

void TLVCFileList::SaveToIni(ProfileDocument& ini) const {
    ini.writeString(kHeaderSection, "Header", "1");
    for (size_t i = 0; i < Files.size(); ++i)
        ini.writeString(kFileListSection, Files[i], i < Flags.size() && Flags[i] == kFlagTrue ? "1" : "0");
}

void TLVCFileList::LoadFromIni(const ProfileDocument& ini) {
    Clear();
    // No buffer limits: a long picture list is read whole rather than losing its last entries.
    for (ProfileEntry& entry : ini.entries(kFileListSection))
        Add(std::move(entry.key), std::string(readsTrue(entry.value) ? kFlagTrue : kFlagFalse));
}

void TLVCSetting::SaveToIni(ProfileDocument& ini) const {
    ForEach(*this, [&](std::string_view section, std::string_view key, const auto& field) {
        using Field = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, bool>)
            ini.writeBool(section, key, field);
        else if constexpr (std::is_same_v<Field, int32_t>)
            ini.writeInteger(section, key, field);
        else
            ini.writeString(section, key, field);
    });
}

void TLVCSetting::LoadFromIni(const ProfileDocument& ini) {
    ForEach(*this, [&](std::string_view section, std::string_view key, auto& field) {
        using Field = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, bool>)
            field = ini.readBool(section, key, field);
        else if constexpr (std::is_same_v<Field, int32_t>)
            field = ini.readInteger(section, key, field);
        else
            field = ini.readString(section, key, field);
    });
}

void TUISetting::SaveToIni(ProfileDocument& ini) const {
    ini.writeString(kUISection, "UIFile", UIFile);
}

void TUISetting::LoadFromIni(const ProfileDocument& ini) {
    UIFile = ini.readString(kUISection, "UIFile", "");
}

// The file forms write a fresh text (a stale part image is not merged into) and read as the profile
// functions do: a missing or unreadable file reads as empty.
void TLVCFileList::SaveToIni(const fs::path& path) const {
    ProfileDocument ini;
    SaveToIni(ini);
    writeText(path, ini);
}
void TLVCFileList::LoadFromIni(const fs::path& path) {
    LoadFromIni(ProfileFile(path).read());
}
void TLVCSetting::SaveToIni(const fs::path& path) const {
    ProfileDocument ini;
    SaveToIni(ini);
    writeText(path, ini);
}
void TLVCSetting::LoadFromIni(const fs::path& path) {
    LoadFromIni(ProfileFile(path).read());
}
void TUISetting::SaveToIni(const fs::path& path) const {
    ProfileDocument ini;
    SaveToIni(ini);
    writeText(path, ini);
}
void TUISetting::LoadFromIni(const fs::path& path) {
    LoadFromIni(ProfileFile(path).read());
}

std::vector<std::string> splitMusicFiles(std::string_view musicFile) {
    std::vector<std::string> files;
    while (!musicFile.empty()) {
        const size_t end = musicFile.find(';');
        files.emplace_back(musicFile.substr(0, end));
        if (end == std::string_view::npos) break;
        musicFile.remove_prefix(end + 1);
    }
    return files;
}

std::array<fs::path, 3> partImageNames(const fs::path& projectFile) {
    const std::string name = projectFile.filename().string();
    const size_t dot =
        name.empty() ? std::string::npos : std::string_view(name).substr(0, name.size() - 1).rfind('.');
    const std::string stem = "LV" + (dot == std::string::npos ? std::string() : name.substr(0, dot + 1));
    const fs::path folder = privateTempFolder();
    return {folder / (stem + "~1.tmp"), folder / (stem + "~2.tmp"), folder / (stem + "~3.tmp")};
}

void TLVCProject::Clear() {
    FileList = TLVCFileList();
    Setting = TLVCSetting();
    UISetting = TUISetting();
}

void TLVCProject::SaveToFile(const fs::path& path) const {
    const PartImages images(path);
    FileList.SaveToIni(images.names()[0]);
    Setting.SaveToIni(images.names()[1]);
    UISetting.SaveToIni(images.names()[2]);
    AppendPackageFresh({}, path, images.names());
}

void TLVCProject::LoadFromFile(const fs::path& path) {
    // Stale images from an earlier run are removed first, so a package with fewer than three entries
    // reads its missing parts from nothing.
    const PartImages images(path);
    ExtractPackage(path, images.names());
    FileList.LoadFromIni(images.names()[0]);
    Setting.LoadFromIni(images.names()[1]);
    UISetting.LoadFromIni(images.names()[2]);
}

} // namespace lv
