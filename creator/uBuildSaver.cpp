#include "creator/uBuildSaver.h"

#include "creator/uCreatorProject.h"
#include "formats/uConfig.h"
#include "formats/uLVProject.h"
#include "formats/uProjectExtractor.h"
#include "platform/Errors.h"
#include "platform/FileIo.h"
#include "platform/Paths.h"
#include "saver/IconSlot.h"
#include "saver/SaverFiles.h"

#include <span>
#include <strings.h>

namespace lv {
namespace fs = std::filesystem;
namespace {

constexpr int kFixedSteps = 13;

class Gauge {
  public:
    explicit Gauge(const BuildProgress& progress) : progress_(progress) {}
    void start(int maximum) {
        maximum_ = maximum;
        position_ = 0;
        report();
    }
    void step() {
        ++position_;
        report();
    }

  private:
    void report() const {
        if (progress_) progress_(maximum_, position_);
    }
    const BuildProgress& progress_;
    int maximum_ = 0;
    int position_ = 0;
};

// Removes the listed files whatever ends the build.
class Cleanup {
  public:
    void add(fs::path path) { paths_.push_back(std::move(path)); }
    ~Cleanup() {
        std::error_code ignored;
        for (const fs::path& path : paths_) fs::remove(path, ignored);
    }

  private:
    std::vector<fs::path> paths_;
};

bool fileExists(const fs::path& path) {
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return ::strcasecmp(a.c_str(), b.c_str()) == 0;
}

// The extension of a stored path with its dot and letter case; empty when the file name has none.
std::string extensionOf(std::string_view path) {
    const std::string_view name = storedFileName(path);
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

fs::path defaultSound(const fs::path& folder) {
    return findCaseInsensitive(findCaseInsensitive(folder, "sounds"), "default.wav");
}

// The sound file of a water project, looked up where the studio and the creator keep sounds.
fs::path resolveSound(const std::string& sound, const BuildFolders& folders) {
    fs::path path = sound;
    if (sound.empty())
        path = defaultSound(folders.studioFolder);
    else if (!storedPathHasFolder(sound))
        path = findCaseInsensitive(findCaseInsensitive(folders.studioFolder, "sounds"), sound);
    if (!fileExists(path)) path = folders.creatorFolder / std::string(storedFileName(sound));
    if (!fileExists(path)) path = defaultSound(folders.studioFolder);
    if (!fileExists(path)) path = defaultSound(folders.creatorFolder);
    return path;
}

std::string format(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string text;
    auto value = values.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.substr(i, 2) == "%s" && value != values.end()) {
            text += *value++;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

void writeLines(const fs::path& path, const std::vector<std::string>& lines) {
    AtomicFileWriter out(path);
    for (const std::string& line : lines) {
        out.write(line);
        out.write(std::string_view("\r\n"));
    }
    out.commit();
}

// A path that would break the line structure of the name list is treated as missing.
bool fitsOnOneLine(std::string_view path) {
    return path.find_first_of("\r\n") == std::string_view::npos;
}

struct MediaSets {
    std::vector<std::string> pictures, pictureFlags, sounds, music, extra;
    std::vector<std::string> warnings;
};

void addWaterProjectSound(const std::string& projectPath, const BuildFolders& folders, MediaSets& sets) {
    TProject water;
    water.LoadFromFile(projectPath);
    if (water.Sound == TProject::kNoSound) return;
    const fs::path sound = resolveSound(water.Sound, folders);
    const std::string soundPath = sound.string();
    if (!fileExists(sound) || !fitsOnOneLine(soundPath)) {
        sets.warnings.push_back(
            format("Sound : File '%s' that is used by '%s' not found.", {soundPath, projectPath}));
        return;
    }
    for (const std::string& known : sets.sounds)
        if (sameIgnoringCase(known, soundPath)) return;
    sets.sounds.push_back(soundPath);
}

void collectPictures(const TLVCProject& project, const BuildFolders& folders, MediaSets& sets, Gauge& gauge) {
    const TLVCFileList& list = project.FileList;
    for (size_t i = 0; i < list.Files.size(); ++i) {
        const std::string& path = list.Files[i];
        if (!fileExists(path)) {
            sets.warnings.push_back(format("Images : File '%s' not found.", {path}));
        } else {
            if (sameIgnoringCase(extensionOf(path), ".lvp")) addWaterProjectSound(path, folders, sets);
            sets.pictures.push_back(path);
            sets.pictureFlags.push_back(i < list.Flags.size() ? list.Flags[i] : std::string(kFlagFalse));
        }
        gauge.step();
    }
}

void collectMusic(const TLVCProject& project, MediaSets& sets) {
    for (const std::string& file : splitMusicFiles(project.Setting.MusicFile)) {
        if (fileExists(file) && fitsOnOneLine(file))
            sets.music.push_back(file);
        else
            sets.warnings.push_back(format("Music : File '%s' not found.", {file}));
    }
}

void collectPreview(TLVCProject& project, MediaSets& sets) {
    std::string& preview = project.Setting.PreviewFile;
    if (preview.empty()) return;
    if (fileExists(preview) && fitsOnOneLine(preview)) {
        sets.extra.push_back(preview);
    } else {
        sets.warnings.push_back(format("Settings-Preview : File '%s' not found.", {preview}));
        preview.clear();
    }
}

// The packed project refers to the media by packed names; returns the name list, in media order.
std::vector<std::string> packNames(TLVCProject& packed, const MediaSets& sets) {
    std::vector<std::string> names;
    packed.FileList.Clear();
    for (size_t n = 0; n < sets.pictures.size(); ++n) {
        std::string name = "LVImage" + std::to_string(n) + extensionOf(sets.pictures[n]);
        packed.FileList.Add(name, sets.pictureFlags[n]);
        names.push_back(std::move(name));
    }
    names.insert(names.end(), sets.sounds.begin(), sets.sounds.end());
    packed.Setting.MusicFile.clear();
    for (size_t n = 0; n < sets.music.size(); ++n) {
        std::string name = "LVMusic" + std::to_string(n) + extensionOf(sets.music[n]);
        packed.Setting.MusicFile += name + ";";
        names.push_back(std::move(name));
    }
    names.insert(names.end(), sets.extra.begin(), sets.extra.end());
    return names;
}

std::vector<std::string> mainBuild(const fs::path& templateCopy, const fs::path& target, TLVCProject& project,
                                   const BuildFolders& folders, Gauge& gauge) {
    std::error_code ignored;
    const fs::path warningsFile = folders.creatorFolder / kWarningsName;
    fs::remove(warningsFile, ignored);
    gauge.start(static_cast<int>(project.FileList.Files.size()) + kFixedSteps);

    const fs::path packedProject = folders.workFolder / kPackedProjectName;
    const fs::path mediaPackage = folders.workFolder / kMediaPackageName;
    const fs::path nameList = folders.workFolder / kNameListName;
    Cleanup cleanup;
    for (const fs::path& file : {packedProject, mediaPackage, nameList}) {
        fs::remove(file, ignored);
        cleanup.add(file);
    }
    MediaSets sets;
    gauge.step();

    collectPictures(project, folders, sets, gauge);
    gauge.step();
    collectMusic(project, sets);
    gauge.step();
    collectPreview(project, sets);
    gauge.step();
    project.SaveToFile(packedProject);
    gauge.step();

    std::vector<fs::path> media;
    for (const auto* set : {&sets.pictures, &sets.sounds, &sets.music, &sets.extra})
        media.insert(media.end(), set->begin(), set->end());
    gauge.step();
    AppendPackageFresh({}, mediaPackage, media);
    gauge.step();

    TLVCProject packed;
    packed.LoadFromFile(packedProject);
    gauge.step();
    const std::vector<std::string> names = packNames(packed, sets);
    gauge.step();
    gauge.step();
    writeLines(nameList, names);
    gauge.step();
    packed.SaveToFile(packedProject);
    gauge.step();

    const std::vector<fs::path> entries{packedProject, nameList, mediaPackage, packed.UISetting.UIFile};
    AppendPackageFresh(templateCopy, target, entries);
    if (!sets.warnings.empty()) writeLines(warningsFile, sets.warnings);
    return sets.warnings;
}

} // namespace

BuildFolders buildFoldersFor(const fs::path& creatorFolder, const fs::path& programPath) {
    return {creatorFolder, GetSaverTempDir(programPath.string()), fs::path(TConfig().ReadPath())};
}

std::vector<std::string> BuildSaver(TLVCProject& project, const fs::path& target, const fs::path& iconFile,
                                    const BuildFolders& folders, const BuildProgress& progress) {
    const fs::path templatePath = folders.creatorFolder / kTemplateName;
    if (!fileExists(templatePath)) throw Error("File " + std::string(kTemplateName) + " not found.");
    const fs::path templateCopy = folders.creatorFolder / kTemplateCopyName;
    Cleanup cleanup;
    cleanup.add(templateCopy);
    std::error_code error;
    fs::copy_file(templatePath, templateCopy, fs::copy_options::overwrite_existing, error);
    if (error) throw IoError(templateCopy.string(), "Cannot copy the template (" + error.message() + ")");
    SetProgramIcon(templateCopy, iconFile); // a failure keeps the template's icon, as intended
    Gauge gauge(progress);
    return mainBuild(templateCopy, target, project, folders, gauge);
}

int countFileLines(const fs::path& path) {
    try {
        const std::vector<uint8_t> bytes = readFile(path);
        return static_cast<int>(
            textLines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())).size());
    } catch (const std::exception&) {
        return 0;
    }
}

BuildResult BuildFromProject(const TLVCProject& project, const fs::path& directory, std::string_view fileName,
                             const fs::path& iconFile, const BuildFolders& folders,
                             const BuildProgress& progress) {
    const fs::path projectCopyFile = folders.creatorFolder / kProjectCopyName;
    Cleanup cleanup;
    cleanup.add(projectCopyFile);
    project.SaveToFile(projectCopyFile);
    TLVCProject copy;
    copy.LoadFromFile(projectCopyFile);

    BuildResult result;
    try {
        BuildSaver(copy, directory / std::string(fileName), iconFile, folders, progress);
        result.succeeded = true;
    } catch (const std::exception& e) {
        result.message = "Build " + std::string(fileName) + " failed.\n" + e.what();
    }
    result.warnings = countFileLines(folders.creatorFolder / kWarningsName);
    if (result.succeeded)
        result.message = "File " + std::string(fileName) + " succesfully created with " +
                         std::to_string(result.warnings) + " warnings.";
    return result;
}

} // namespace lv
