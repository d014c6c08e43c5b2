#pragma once

// The saver runtime's payload: the package appended to its own program file holds four entries
// (LVC.res, LVFilenames.res, LVFiles.res, LVGUI.lui); LVFiles.res is a package of the media files,
// one per line of LVFilenames.res. They are unpacked into the work folder and deleted at the end.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

class TLVCProject;

inline constexpr std::string_view kPackedProjectName = "LVC.res";
inline constexpr std::string_view kMediaPackageName = "LVFiles.res";
inline constexpr std::string_view kFinalName = "LVFinal.res";
inline constexpr std::string_view kNameListName = "LVFilenames.res";
inline constexpr std::string_view kSkinName = "LVGUI.lui";

// The absolute, symbolic-link-resolved path of an existing file; empty for a path holding "\\\\", "*"
// or "?", or naming no file.
std::string GetLongFileName(std::string_view path);

// The part of a program path's file name before its first ".".
std::string programBaseName(std::string_view programPath);

// The work folder: the private temporary folder + the program's base name + "/", created (one level,
// mode 0700) when missing. Throws lv::IoError when it cannot be made or is not a folder of ours.
std::filesystem::path GetSaverTempDir(std::string_view programPath);

// The name a name-list line is unpacked under: its part after the last "\\", "/" or ":"; empty when
// that is empty, ".", "..", holds a NUL, or is one of the runtime's own file names.
std::string unpackedName(std::string_view line);

// The lines of a text (CR LF, LF or a lone CR end a line; a last line without an end counts).
std::vector<std::string> textLines(std::string_view text);

struct SaverExtraction {
    bool payload = false; // the program carried a package of at least the four entries
    int mediaWritten = 0; // media files unpacked whole
    int mediaSkipped = 0; // name-list lines whose name was refused
};

// Unpacks the program's payload into workFolder, then the media files under their unpacked names,
// loads the project from LVC.res and rewrites its paths: Files[i] := workFolder + Files[i],
// PreviewFile := workFolder + its file name part, UIFile := workFolder + LVGUI.lui.
// Without a payload (no marker, a negative count, fewer than four entries) nothing is unpacked and
// the project is left as it was. A media package with fewer entries than the name list has lines is
// not unpacked. Never writes outside workFolder.
SaverExtraction ExtractSaverFiles(TLVCProject& project, const std::filesystem::path& programPath,
                                  const std::filesystem::path& workFolder);
// The same into GetSaverTempDir(programPath).
SaverExtraction ExtractSaverFiles(TLVCProject& project, const std::filesystem::path& programPath);

// Deletes the unpacked media (by the name list), the five runtime files, then the folder when it is
// empty. Failures are ignored.
void DeleteSaverFiles(const std::filesystem::path& workFolder);

} // namespace lv
