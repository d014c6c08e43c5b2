// The saver builder: the layout of a built screensaver, its name list, packed project and warnings,
// its unpacking by the runtime, and the failures that must leave an earlier build whole.

#include "creator/BuildChecks.h"
#include "creator/BuildFixture.h"
#include "formats/uProjectExtractor.h"
#include "platform/Errors.h"
#include "saver/SaverFiles.h"

#include <string.h>
#include <utility>

namespace lv {
namespace {

using namespace lv::test;

std::string text(const fs::path& path) {
    const Bytes bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

// The entries of the package in a file, extracted into numbered files of a folder.
std::vector<Bytes> entriesOf(const fs::path& file, const fs::path& into, size_t count) {
    std::vector<fs::path> names;
    for (size_t i = 0; i < count; ++i) names.push_back(into / ("entry" + std::to_string(i)));
    EXPECT_TRUE(ExtractPackage(file, names).complete);
    std::vector<Bytes> entries;
    for (const fs::path& name : names) entries.push_back(readBytes(name));
    return entries;
}

class BuildSaverTest : public BuildFixture {
  protected:
    BuildResult build(const TLVCProject& project, std::vector<std::pair<int, int>>* steps = nullptr) {
        return BuildFromProject(project, root / "out", "Sea.scr", creator / "images" / "Default.ico", folders,
                                [&](int maximum, int position) {
                                    if (steps) steps->emplace_back(maximum, position);
                                });
    }
    fs::path target() const { return root / "out" / "Sea.scr"; }
};

TEST_F(BuildSaverTest, BuildsTheDocumentedLayoutAndUnpacksItBack) {
    writeBytes(studio / "Sounds" / "rain.wav", bytesOf("RIFF rain"));
    TLVCProject project;
    project.FileList.Add((root / "media" / "missing.jpg").string(), "TRUE");
    project.FileList.Add(media("a.jpg", "jpeg a").string(), "TRUE");
    project.FileList.Add(waterProject("w1.lvp", "rain.wav").string(), "FALSE");
    project.FileList.Add(media("B.JPG", "jpeg B").string(), "TRUE");
    project.FileList.Add(waterProject("w2.LVP", "RAIN.WAV").string(), "TRUE"); // the same file, found by name
    project.FileList.Add(waterProject("w3.lvp", TProject::kNoSound).string(), "FALSE");
    project.FileList.Add(waterProject("w4.lvp", "").string(), "TRUE"); // the studio's default sound
    const std::string gone = (root / "media" / "gone.mp3").string();
    project.Setting.MusicFile =
        media("m1.mp3", "music 1").string() + ";" + gone + ";" + media("m2.wav", "music 2").string();
    project.Setting.PreviewFile = media("prev.jpg", "preview").string();
    project.Setting.BuildFileName = "/kept/Sea.scr";
    project.UISetting.UIFile = media("skin.lui", "object MainWindow: TLVForm end").string();

    std::vector<std::pair<int, int>> steps;
    const BuildResult result = build(project, &steps);
    ASSERT_TRUE(result.succeeded) << result.message;

    const std::string rain = (studio / "Sounds" / "rain.wav").string();
    const std::string fallback = (studio / "Sounds" / "Default.wav").string();
    EXPECT_EQ(result.message, "File Sea.scr succesfully created with 2 warnings.");
    EXPECT_EQ(text(creator / "Warnings.txt"), "Images : File '" + (root / "media" / "missing.jpg").string() +
                                                  "' not found.\r\nMusic : File '" + gone +
                                                  "' not found.\r\n");

    // The gauge runs from 0 by single steps to pictures + 12 of a maximum of pictures + 13.
    ASSERT_EQ(steps.size(), 20u);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(steps[static_cast<size_t>(i)], std::make_pair(20, i));

    // The template's bytes with the icon in its slot, then the package of four entries.
    const Bytes built = readBytes(target());
    const Bytes original = templateBytes();
    const size_t slotAt = 18;
    ASSERT_GT(built.size(), original.size());
    EXPECT_TRUE(std::equal(original.begin(), original.begin() + slotAt + 16, built.begin()));
    EXPECT_EQ(iconFromSlot(std::span(built).subspan(slotAt, kIconSlotSize)), iconBytes(7));
    EXPECT_TRUE(std::equal(original.end() - 13, original.end(),
                           built.begin() + static_cast<long>(original.size()) - 13));
    const PackageLocation location = FindPackage(target());
    EXPECT_EQ(location.position, static_cast<int64_t>(original.size()) + 13);
    EXPECT_EQ(location.count, 4);

    fs::create_directories(root / "entries");
    const std::vector<Bytes> entries = entriesOf(target(), root / "entries", 4);
    const std::string media = (root / "media").string();
    EXPECT_EQ(
        std::string(entries[1].begin(), entries[1].end()),
        "LVImage0.jpg\r\nLVImage1.lvp\r\nLVImage2.JPG\r\nLVImage3.LVP\r\nLVImage4.lvp\r\nLVImage5.lvp\r\n" +
            rain + "\r\n" + fallback + "\r\nLVMusic0.mp3\r\nLVMusic1.wav\r\n" + media + "/prev.jpg\r\n");
    EXPECT_EQ(entries[3], readBytes(project.UISetting.UIFile));
    fs::create_directories(root / "media-entries");
    const std::vector<Bytes> packedMedia = entriesOf(root / "entries" / "entry2", root / "media-entries", 11);
    const std::vector<fs::path> sources{media + "/a.jpg",
                                        media + "/w1.lvp",
                                        media + "/B.JPG",
                                        media + "/w2.LVP",
                                        media + "/w3.lvp",
                                        media + "/w4.lvp",
                                        rain,
                                        fallback,
                                        media + "/m1.mp3",
                                        media + "/m2.wav",
                                        media + "/prev.jpg"};
    for (size_t i = 0; i < sources.size(); ++i)
        EXPECT_EQ(packedMedia[i], readBytes(sources[i])) << sources[i];

    TLVCProject packed;
    packed.LoadFromFile(root / "entries" / "entry0");
    EXPECT_EQ(packed.FileList.Files,
              (std::vector<std::string>{"LVImage0.jpg", "LVImage1.lvp", "LVImage2.JPG", "LVImage3.LVP",
                                        "LVImage4.lvp", "LVImage5.lvp"}));
    EXPECT_EQ(packed.FileList.Flags,
              (std::vector<std::string>{"TRUE", "FALSE", "TRUE", "TRUE", "FALSE", "TRUE"}));
    EXPECT_EQ(packed.Setting.MusicFile, "LVMusic0.mp3;LVMusic1.wav;");
    EXPECT_EQ(packed.Setting.PreviewFile, project.Setting.PreviewFile);
    EXPECT_EQ(packed.Setting.BuildFileName, "/kept/Sea.scr");
    EXPECT_EQ(packed.UISetting.UIFile, project.UISetting.UIFile);

    // Nothing temporary stays behind.
    for (const char* name : {"LVCreator.tmp", "TempPrj.lvc"})
        EXPECT_FALSE(fs::exists(creator / name)) << name;
    EXPECT_TRUE(fs::is_empty(root / "work"));
    EXPECT_EQ(std::distance(fs::directory_iterator(root / "out"), fs::directory_iterator()), 1);

    // The runtime gets every file back under its packed name.
    const fs::path unpack = root / "unpack";
    fs::create_directories(unpack);
    TLVCProject runtime;
    const SaverExtraction extraction = ExtractSaverFiles(runtime, target(), unpack);
    EXPECT_TRUE(extraction.payload);
    EXPECT_EQ(extraction.mediaWritten, 11);
    const std::vector<std::string> unpackedNames{
        "LVImage0.jpg", "LVImage1.lvp", "LVImage2.JPG", "LVImage3.LVP", "LVImage4.lvp", "LVImage5.lvp",
        "rain.wav",     "Default.wav",  "LVMusic0.mp3", "LVMusic1.wav", "prev.jpg"};
    for (size_t i = 0; i < sources.size(); ++i)
        EXPECT_EQ(readBytes(unpack / unpackedNames[i]), readBytes(sources[i])) << unpackedNames[i];
    EXPECT_EQ(readBytes(unpack / "LVGUI.lui"), entries[3]);
    EXPECT_EQ(runtime.FileList.Files[2], (unpack / "LVImage2.JPG").string());
    EXPECT_EQ(runtime.Setting.PreviewFile, (unpack / "prev.jpg").string());
    EXPECT_EQ(runtime.Setting.MusicFile, "LVMusic0.mp3;LVMusic1.wav;");
    EXPECT_EQ(runtime.UISetting.UIFile, (unpack / "LVGUI.lui").string());

    DeleteSaverFiles(unpack);
    EXPECT_FALSE(fs::exists(unpack));
}

TEST_F(BuildSaverTest, MissingMediaBecomeWarningsAndTheBuildGoesOn) {
    fs::remove(studio / "Sounds" / "Default.wav"); // no sound anywhere
    fs::create_directories(root / "media" / "other");
    writeBytes(root / "media" / "other" / "x.wav", bytesOf("other x"));
    const std::string x1 = media("x.wav", "first x").string();
    TLVCProject project;
    project.FileList.Add((root / "media" / "gone.jpg").string());
    const std::string lost = waterProject("lost.lvp", "/nowhere/lost.wav").string();
    project.FileList.Add(lost);
    project.FileList.Add(waterProject("x1.lvp", x1).string());
    project.FileList.Add(waterProject("x2.lvp", (root / "media" / "other" / "x.wav").string()).string());
    project.Setting.MusicFile = "a;;";
    project.Setting.PreviewFile = "/nowhere/prev.jpg";
    project.UISetting.UIFile = media("skin.lui", "skin").string();
    const BuildResult result = build(project);
    ASSERT_TRUE(result.succeeded) << result.message;
    EXPECT_EQ(text(creator / "Warnings.txt"),
              "Images : File '" + (root / "media" / "gone.jpg").string() + "' not found.\r\n" +
                  "Sound : File '" + (creator / "sounds" / "default.wav").string() + "' that is used by '" +
                  lost +
                  "' not found.\r\nMusic : File 'a' not found.\r\nMusic : File '' not found.\r\n"
                  "Settings-Preview : File '/nowhere/prev.jpg' not found.\r\n");
    EXPECT_EQ(result.warnings, 5);

    fs::create_directories(root / "entries");
    const std::vector<Bytes> entries = entriesOf(target(), root / "entries", 4);
    // Two sounds of one name from different folders are both packed; unpacking keeps the later.
    EXPECT_EQ(std::string(entries[1].begin(), entries[1].end()),
              "LVImage0.lvp\r\nLVImage1.lvp\r\nLVImage2.lvp\r\n" + x1 + "\r\n" +
                  (root / "media" / "other" / "x.wav").string() + "\r\n");
    TLVCProject packed;
    packed.LoadFromFile(root / "entries" / "entry0");
    EXPECT_EQ(packed.Setting.PreviewFile, "") << "a missing preview picture is emptied";
    EXPECT_EQ(packed.Setting.MusicFile, "");
}

TEST_F(BuildSaverTest, NoWarningsRemovesAnOldWarningsFile) {
    writeBytes(creator / "Warnings.txt", bytesOf("old\r\nold\r\n"));
    TLVCProject project; // every picture missing is the same as none: an empty media package
    project.UISetting.UIFile = media("skin.lui", "skin").string();
    const BuildResult result = build(project);
    EXPECT_EQ(result.message, "File Sea.scr succesfully created with 0 warnings.");
    EXPECT_FALSE(fs::exists(creator / "Warnings.txt"));
    fs::create_directories(root / "entries");
    EXPECT_EQ(entriesOf(target(), root / "entries", 4)[2], packageBytes({}));
}

// A failed build reports the reason after "Build … failed." and leaves the earlier screensaver, the
// earlier warnings and no temporary file behind.
TEST_F(BuildSaverTest, FailuresKeepTheEarlierScreensaver) {
    writeBytes(target(), bytesOf("earlier build"));
    writeBytes(creator / "Warnings.txt", bytesOf("earlier warning\r\n"));
    TLVCProject project;
    project.FileList.Add(media("a.jpg", "jpeg").string());
    project.UISetting.UIFile = (root / "media" / "no-skin.lui").string();

    const BuildResult noSkin = build(project);
    EXPECT_FALSE(noSkin.succeeded);
    EXPECT_TRUE(noSkin.message.starts_with("Build Sea.scr failed.\n")) << noSkin.message;
    EXPECT_NE(noSkin.message.find("no-skin.lui"), std::string::npos) << noSkin.message;

    fs::remove(creator / "LVCreatorPro.dat");
    const BuildResult noTemplate = build(project);
    EXPECT_EQ(noTemplate.message, "Build Sea.scr failed.\nFile LVCreatorPro.dat not found.");
    EXPECT_EQ(noTemplate.warnings, 0) << "the first failure deleted the earlier warnings file";

    EXPECT_EQ(readBytes(target()), bytesOf("earlier build"));
    EXPECT_EQ(std::distance(fs::directory_iterator(root / "out"), fs::directory_iterator()), 1);
    EXPECT_TRUE(fs::is_empty(root / "work"));
    for (const char* name : {"LVCreator.tmp", "TempPrj.lvc"})
        EXPECT_FALSE(fs::exists(creator / name)) << name;
}

TEST_F(BuildSaverTest, IconIsWrittenIntoTheSlotOnlyWhenUsable) {
    const Bytes original = templateBytes();
    const size_t slotAt = 18;
    Bytes tooLarge = iconBytes(1);
    tooLarge.resize(kIconSlotCapacity + 1);
    Bytes withMarker = iconBytes(2);
    append(withMarker, packageMarkerBytes());
    const struct {
        const char* name;
        std::optional<Bytes> icon;
        bool set;
    } cases[] = {{"good icon", iconBytes(9), true},
                 {"missing file", std::nullopt, false},
                 {"not an icon", bytesOf("GIF89a..."), false},
                 {"too large", tooLarge, false},
                 {"holds the package marker", withMarker, false}};
    for (const auto& c : cases) {
        const fs::path program = root / "program", icon = root / "icon.ico";
        writeBytes(program, original);
        fs::remove(icon);
        if (c.icon) writeBytes(icon, *c.icon);
        EXPECT_EQ(SetProgramIcon(program, icon), c.set) << c.name;
        const Bytes after = readBytes(program);
        ASSERT_EQ(after.size(), original.size()) << c.name;
        if (!c.set) {
            EXPECT_EQ(after, original) << c.name;
            continue;
        }
        EXPECT_EQ(iconFromSlot(std::span(after).subspan(slotAt, kIconSlotSize)), *c.icon);
        Bytes outside = after;
        std::copy(original.begin() + slotAt, original.begin() + slotAt + kIconSlotSize,
                  outside.begin() + slotAt);
        EXPECT_EQ(outside, original) << "bytes outside the slot";
    }
    const fs::path noSlot = root / "noslot";
    writeBytes(noSlot, Bytes(original.begin(), original.begin() + 1000)); // cut slot
    writeBytes(root / "icon.ico", iconBytes(3));
    EXPECT_FALSE(SetProgramIcon(noSlot, root / "icon.ico"));
}

// The slot marker is built at run time, so the one copy of it in a program is its slot.
TEST(IconSlot, ProgramCarriesItsSlotMarkerOnce) {
    EXPECT_TRUE(ownProgramIcon().empty());
    const Bytes self = readBytes("/proc/self/exe");
    const auto marker = iconSlotMarker();
    size_t count = 0;
    for (const uint8_t* at = self.data();
         const void* hit =
             ::memmem(at, static_cast<size_t>(self.data() + self.size() - at), marker.data(), marker.size());
         at = static_cast<const uint8_t*>(hit) + 1)
        ++count;
    EXPECT_EQ(count, 1u);
}

TEST(BuildButton, ChecksInOrderWithTheDocumentedMessages) {
    TempDir dir;
    writeBytes(dir / "skin.lui", bytesOf("skin"));
    const std::string folder = dir.path().string(), skin = (dir / "skin.lui").string();
    const struct {
        std::string directory, fileName, uiFile;
        std::optional<std::string> message;
    } cases[] = {
        {"", "a.scr", skin, "Directory doesn't exist."},
        {folder + "/none", "a.scr", skin, "Directory doesn't exist."},
        {folder, "", "", "You have not specified the file name"},
        {folder, "a.scr", "",
         "You have not selected a GUI file.\nYou can select a GUI file in User Interface page!"},
        {folder, "a", folder + "/x.lui",
         "GUI file '" + folder + "/x.lui' not found.\nPlease configure it in User Interface page!"},
        {folder, "a", skin, std::nullopt},
    };
    for (const auto& c : cases) {
        const BuildCheck check = checkBuildButton(c.directory, c.fileName, c.uiFile);
        EXPECT_EQ(check.message, c.message) << c.directory << " " << c.fileName;
    }
    EXPECT_EQ(checkBuildButton(folder, "a", skin).directory, folder + "/");
    EXPECT_EQ(checkBuildButton(folder + "/", "a", skin).directory, folder + "/");
}

} // namespace
} // namespace lv
