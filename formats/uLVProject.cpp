#include "formats/uLVProject.h"

#include "formats/FileLoader.h"
#include "formats/FileSaver.h"
#include "platform/Errors.h"
#include "platform/Picture.h"

namespace lv {

TProject::TProject() {
    recreateObjects();
}

void TProject::LoadPicture(const std::filesystem::path& path, bool newMask) {
    Saved = false;
    Picture = loadPicture(path);
    if (newMask) Mask.setSize(Picture.width(), Picture.height());
    Loaded = true;
}

void TProject::LoadFromFile(const std::filesystem::path& path) {
    recreateObjects();
    TFileLoader loader;
    loader.LoadFromFile(path);
    Saved = true;
    loader.GiveMask(Mask);
    loader.GivePicture(Picture);
    loader.GiveThumbnail(Thumbnail);
    loader.GiveAreas(Areas);
    loader.GiveWeather(Weather);
    FileName = path.string();
    Title = loader.Title();
    Description = loader.Description();
    Sound = loader.Sound();
    Loaded = true;
    for (int i = 0; i < kAreaCount; ++i)
        LoadedSpeeds[static_cast<size_t>(i)] = Areas[static_cast<size_t>(i)].Speed;
}

void TProject::LoadHeader(const std::filesystem::path& path) {
    recreateObjects();
    TFileLoader loader;
    loader.LoadHeader(path);
    Saved = true;
    loader.GiveThumbnail(Thumbnail);
    FileName = path.string();
    Title = loader.Title();
    Description = loader.Description();
    Loaded = true;
}

void TProject::SaveToFile(const std::filesystem::path& path) const {
    if (Picture.empty()) throw Error("The project has no picture");
    if (Mask.width() != Picture.width() || Mask.height() != Picture.height())
        throw Error("The project's mask does not match its picture");
    TFileSaver saver;
    saver.SetMask(Mask);
    saver.SetPicture(Picture);
    saver.SetAreas(Areas);
    saver.SetWeather(Weather);
    saver.SetStrings(Title, Description, Sound);
    saver.SaveToFile(path);
}

} // namespace lv
