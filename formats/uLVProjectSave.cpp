// The saving side of TProject: its own file, the player catalog and the single-project screensaver.

#include "formats/ScreenSaverExport.h"
#include "formats/uConfig.h"
#include "formats/uLVProject.h"
#include "formats/uProjectExtractor.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace lv {
namespace fs = std::filesystem;
namespace {

const std::string kDefaultSound = "Default.wav";
const std::string kTemplateName = "LVStudio.dat";
const std::string kTemporaryProjectName = "LVTEMP.LVP";

// Removes the temporary project however the export ends.
class TemporaryFile {
  public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// A sound name with a folder part is used as it stands; a bare name lives in the studio folder's
// sounds folder (CONFIG PATH), whose name and file are looked up without regard to letter case.
fs::path resolveSound(const std::string& sound) {
    if (storedPathHasFolder(sound)) return fs::path(sound);
    std::string studio = TConfig().ReadPath();
    // The folder without its trailing separators ("/" stays the root; an empty PATH stays relative).
    while (studio.size() > 1 && (studio.back() == '\\' || studio.back() == '/')) studio.pop_back();
    const fs::path sounds = findCaseInsensitive(fs::path(studio), "Sounds");
    return findCaseInsensitive(sounds, sound);
}

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// Whether the sound goes in: asks, and on a missing file asks whether to go on without it.
// Nothing when the user chose to write nothing at all.
std::optional<bool> chooseSound(const fs::path& sound, DialogService& dialogs) {
    if (!dialogs.askYesNo(MessageKind::Confirmation,
                          "Do you want to include sound effect in this screen saver ?"))
        return false;
    if (isFile(sound)) return true;
    const std::string question =
        "Sound file \"" + sound.string() + "\" not found.\r\nDo you want to continue without sound ?";
    if (dialogs.askYesNo(MessageKind::Error, question)) return false;
    return std::nullopt;
}

} // namespace

void TProject::Save() {
    if (FileName.empty()) return;
    SaveToFile(FileName);
    Saved = true;
    if (AddToCatalogOnSave) AddToCatalog();
}

void TProject::AddToCatalog() {
    if (!Saved) throw Error("Not saved yet");
    TConfig().AddToCatalog(FileName);
}

void exportScreenSaver(TProject& project, const fs::path& target, DialogService& dialogs,
                       const fs::path& templatePath) {
    const TemporaryFile temporary(privateTempFolder() / kTemporaryProjectName);
    project.SaveToFile(temporary.path());
    if (project.Sound.empty()) project.Sound = kDefaultSound;

    std::vector<fs::path> files{temporary.path()};
    if (project.Sound != TProject::kNoSound) {
        const fs::path sound = resolveSound(project.Sound);
        const std::optional<bool> withSound = chooseSound(sound, dialogs);
        if (!withSound) return;
        if (*withSound) files.push_back(sound);
    }

    // Without its template the result would be no program at all: refuse before touching target.
    if (::access(templatePath.c_str(), R_OK) != 0) throw IoError(templatePath.string(), "Cannot open file");
    AppendPackage(templatePath, target, files);
}

void TProject::ExportScreenSaver(const fs::path& target, DialogService& dialogs) {
    exportScreenSaver(*this, target, dialogs, findCaseInsensitive(programFolder(), kTemplateName));
}

} // namespace lv
