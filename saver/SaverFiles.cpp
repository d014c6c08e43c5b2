#include "saver/SaverFiles.h"

#include "creator/uCreatorProject.h"
#include "formats/uProjectExtractor.h"
#include "platform/Errors.h"
#include "platform/FileIo.h"
#include "platform/Paths.h"

#include <array>
#include <sys/stat.h>
#include <unistd.h>

namespace lv {
namespace fs = std::filesystem;
namespace {

constexpr size_t kOuterEntries = 4;
// Where an entry whose name was refused goes; removed at once.
constexpr std::string_view kDiscardName = "LVDiscard.tmp";
// The name list holds one short line per media file; a larger one is not a name list of ours.
constexpr uint64_t kMaxNameListBytes = uint64_t{64} << 20;

bool isReservedName(std::string_view name) {
    for (const std::string_view reserved :
         {kPackedProjectName, kMediaPackageName, kFinalName, kNameListName, kSkinName, kDiscardName})
        if (name == reserved) return true;
    return false;
}

std::vector<std::string> readLines(const fs::path& path) {
    try {
        const std::vector<uint8_t> bytes = readFile(path, kMaxNameListBytes);
        return textLines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const std::exception&) {
        return {};
    }
}

// The media package holds at least one entry per name: anything less is damaged and not unpacked.
bool mediaPackageFits(const fs::path& package, size_t names) {
    const PackageLocation location = FindPackage(package);
    return location.found && location.count >= 0 && static_cast<size_t>(location.count) >= names;
}

void unpackMedia(const fs::path& workFolder, SaverExtraction& result) {
    const std::vector<std::string> lines = readLines(workFolder / kNameListName);
    if (lines.empty() || !mediaPackageFits(workFolder / kMediaPackageName, lines.size())) return;
    std::vector<fs::path> targets;
    targets.reserve(lines.size());
    for (const std::string& line : lines) {
        const std::string name = unpackedName(line);
        if (name.empty()) ++result.mediaSkipped;
        targets.push_back(workFolder / (name.empty() ? std::string(kDiscardName) : name));
    }
    const ExtractResult unpacked = ExtractPackage(workFolder / kMediaPackageName, targets);
    result.mediaWritten = unpacked.written;
    std::error_code ignored;
    fs::remove(workFolder / kDiscardName, ignored);
}

void rewritePaths(TLVCProject& project, const fs::path& workFolder) {
    // Packed names are bare file names; anything else is reduced to its name, so that a hostile project
    // cannot point outside the work folder (an absolute entry would otherwise replace the folder).
    for (std::string& file : project.FileList.Files)
        file = (workFolder / std::string(storedFileName(file))).string();
    std::string& preview = project.Setting.PreviewFile;
    if (!preview.empty()) preview = (workFolder / std::string(storedFileName(preview))).string();
    project.UISetting.UIFile = (workFolder / kSkinName).string();
}

} // namespace

std::string GetLongFileName(std::string_view path) {
    if (path.empty() || path.find("\\\\") != std::string_view::npos ||
        path.find_first_of("*?") != std::string_view::npos)
        return {};
    std::error_code error;
    const fs::path resolved = fs::canonical(fs::path(std::string(path)), error);
    return error ? std::string() : resolved.string();
}

std::string programBaseName(std::string_view programPath) {
    const std::string_view name = storedFileName(programPath);
    return std::string(name.substr(0, name.find('.')));
}

fs::path GetSaverTempDir(std::string_view programPath) {
    const fs::path folder = privateTempFolder() / programBaseName(programPath);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw IoError(folder.string(), "Cannot create folder");
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        throw IoError(folder.string(), "Work folder is not ours");
    return folder / "";
}

std::string unpackedName(std::string_view line) {
    const std::string_view name = storedFileName(line);
    if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string_view::npos ||
        isReservedName(name))
        return {};
    return std::string(name);
}

std::vector<std::string> textLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t end = text.find_first_of("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
    }
    return lines;
}

SaverExtraction ExtractSaverFiles(TLVCProject& project, const fs::path& programPath,
                                  const fs::path& workFolder) {
    SaverExtraction result;
    const PackageLocation location = FindPackage(programPath);
    if (!location.found || location.count < static_cast<int32_t>(kOuterEntries)) return result;
    const std::array<fs::path, kOuterEntries> outer{workFolder / kPackedProjectName,
                                                    workFolder / kNameListName,
                                                    workFolder / kMediaPackageName, workFolder / kSkinName};
    // Files of an earlier run must not stand in for entries this payload lacks.
    std::error_code ignored;
    for (const fs::path& file : outer) fs::remove(file, ignored);
    ExtractPackage(programPath, outer);
    result.payload = true;
    unpackMedia(workFolder, result);
    project.LoadFromFile(workFolder / kPackedProjectName);
    rewritePaths(project, workFolder);
    return result;
}

SaverExtraction ExtractSaverFiles(TLVCProject& project, const fs::path& programPath) {
    return ExtractSaverFiles(project, programPath, GetSaverTempDir(programPath.string()));
}

void DeleteSaverFiles(const fs::path& workFolder) {
    std::error_code ignored;
    for (const std::string& line : readLines(workFolder / kNameListName)) {
        const std::string name = unpackedName(line);
        if (!name.empty()) fs::remove(workFolder / name, ignored);
    }
    for (const std::string_view name :
         {kPackedProjectName, kMediaPackageName, kFinalName, kNameListName, kSkinName})
        fs::remove(workFolder / name, ignored);
    fs::remove(workFolder, ignored); // only an empty folder goes
}

} // namespace lv
