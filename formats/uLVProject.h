#pragma once

// One water project in memory, loaded from and saved to its .lvp file.

#include "engine/ProjectData.h"

#include <filesystem>
#include <string>

namespace lv {

class DialogService;

class TProject : public ProjectData {
  public:
    inline static const std::string kNoSound = "<No Sound>";

    std::string FileName; // native path bytes
    // Texts stored in the file as Windows-1252 bytes.
    std::string Title;
    std::string Description;
    std::string Sound;
    bool Saved = false;
    bool AddToCatalogOnSave = false;

    TProject();

    // Starts a new project from a picture file; with newMask the mask becomes black at the picture's size.
    void LoadPicture(const std::filesystem::path& path, bool newMask);
    // Full load. On failure the project keeps fresh, empty objects with Loaded off, and the error propagates.
    void LoadFromFile(const std::filesystem::path& path);
    // Title, description and thumbnail only.
    void LoadHeader(const std::filesystem::path& path);

    // Writes the project to path (replacing any file there atomically); FileName and Saved stay.
    void SaveToFile(const std::filesystem::path& path) const;

    // Saving to its own file, the player catalog and the single-project screensaver export.
    void Save();
    void AddToCatalog();
    void ExportScreenSaver(const std::filesystem::path& target, DialogService& dialogs);
};

} // namespace lv
