#pragma once

// The saver builder: a copy of the saver template (LVCreatorPro.dat) with the chosen icon, followed by
// one payload package of four entries: the packed project (.lvc), the name list, the media package
// (pictures, sounds of water projects, music, preview picture) and the skin. Missing media are not
// errors but lines of Warnings.txt in the creator folder.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

class TLVCProject;

inline constexpr std::string_view kTemplateName = "LVCreatorPro.dat";
inline constexpr std::string_view kTemplateCopyName = "LVCreator.tmp";
inline constexpr std::string_view kProjectCopyName = "TempPrj.lvc";
inline constexpr std::string_view kWarningsName = "Warnings.txt";

struct BuildFolders {
    std::filesystem::path creatorFolder; // template, default icon, Warnings.txt, temporary copies
    std::filesystem::path workFolder;    // the three package files while they are built
    std::filesystem::path studioFolder;  // its "sounds" folder holds the sounds of water projects
};

// The folders of a build run by the program at programPath with the given creator folder: the work
// folder by the runtime's rule (temporary folder + program base name), the studio folder from the
// player settings file (CONFIG PATH).
BuildFolders buildFoldersFor(const std::filesystem::path& creatorFolder,
                             const std::filesystem::path& programPath);

// The gauge of the progress window: called with (maximum, position) whenever either changes.
using BuildProgress = std::function<void(int maximum, int position)>;

// The build operation on a project the caller may change (the packed project's missing preview
// picture is emptied in it). The target is written to a temporary file beside it and renamed over it
// at the end, so a failed build leaves an earlier screensaver whole. Returns the warnings (also saved
// to Warnings.txt). Throws lv::Error with the message for the result window.
std::vector<std::string> BuildSaver(TLVCProject& project, const std::filesystem::path& target,
                                    const std::filesystem::path& iconFile, const BuildFolders& folders,
                                    const BuildProgress& progress = {});

struct BuildResult {
    bool succeeded = false;
    int warnings = 0;    // lines of Warnings.txt after the build (0 when there is none)
    std::string message; // the result window's text
};

// What the build button does after its checks: the project is saved to TempPrj.lvc and loaded into a
// copy, so nothing the build changes reaches the edited project; the copy is built; TempPrj.lvc is
// deleted. fileName is the file name as the user typed it (it appears in the messages).
BuildResult BuildFromProject(const TLVCProject& project, const std::filesystem::path& directory,
                             std::string_view fileName, const std::filesystem::path& iconFile,
                             const BuildFolders& folders, const BuildProgress& progress = {});

// The number of lines of a text file; 0 when it does not exist.
int countFileLines(const std::filesystem::path& path);

} // namespace lv
