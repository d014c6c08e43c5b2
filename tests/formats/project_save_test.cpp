#include "formats/ScreenSaverExport.h"
#include "formats/uConfig.h"
#include "formats/uLVProject.h"
#include "formats/uProjectExtractor.h"
#include "platform/Errors.h"
#include "platform/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace lv {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;

const std::string kIncludeSound = "Do you want to include sound effect in this screen saver ?";

std::string missingSound(const std::string& path) {
    return "Sound file \"" + path + "\" not found.\r\nDo you want to continue without sound ?";
}

class ProjectSaveTest : public ::testing::Test {
  protected:
    ProjectSaveTest() {
        fs::create_directories(dir / "runtime");
        fs::create_directories(dir / "studio" / "sounds"); // lower case, as our program folder has it
        writeBytes(dir / "studio" / "sounds" / "Default.wav", {'R', 'I', 'F', 'F'});
        writeBytes(templatePath, {'E', 'L', 'F', '!'});
        TConfig().WritePath((dir / "studio").string() + "/");
        project.Picture.setSize(8, 6);
        project.Picture.fill(0x336699);
        project.Mask.setSize(8, 6);
        project.Mask.at(1, 1) = AreaColors[0];
        project.Areas.fill(kDefaultWaveParam);
        project.Loaded = true;
    }

    fs::path temporaryProject() const { return dir / "runtime" / "lumivale" / "LVTEMP.LVP"; }

    test::TempDir dir;
    test::ScopedEnv windir{"LUMIVALE_WINDIR", (dir / "windows").string()};
    test::ScopedEnv runtime{"XDG_RUNTIME_DIR", (dir / "runtime").string()};
    fs::path templatePath = dir / "LVStudio.dat";
    TProject project;
};

TEST_F(ProjectSaveTest, SaveNeedsAFileNameAndMayAddToTheCatalog) {
    project.AddToCatalogOnSave = true;
    project.Save(); // no file name: nothing at all
    EXPECT_FALSE(project.Saved);
    EXPECT_TRUE(TConfig().ReadCatalog().empty());
    try {
        project.AddToCatalog();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Not saved yet");
    }

    project.FileName = (dir / "lake.lvp").string();
    project.Save();
    EXPECT_TRUE(project.Saved);
    EXPECT_EQ(TConfig().ReadCatalog(), std::vector<std::string>{project.FileName + "="});
    TProject loaded;
    loaded.LoadFromFile(project.FileName);
    EXPECT_EQ(loaded.Picture.width(), 8);
    EXPECT_EQ(loaded.Mask, project.Mask);
}

TEST_F(ProjectSaveTest, ExportAsksAboutTheSoundAndPacksProjectThenSound) {
    const std::string defaultWav = (dir / "studio" / "sounds" / "Default.wav").string();
    struct Case {
        const char* name;
        std::string sound;
        std::vector<DialogAnswer> answers;
        std::vector<std::pair<MessageKind, std::string>> asked;
        std::optional<int32_t> entries; // nothing: no target written
        std::string soundAfter;
    };
    const std::vector<Case> cases{
        {"empty sound, yes",
         "",
         {DialogAnswer::Yes},
         {{MessageKind::Confirmation, kIncludeSound}},
         2,
         "Default.wav"},
        {"empty sound, no",
         "",
         {DialogAnswer::No},
         {{MessageKind::Confirmation, kIncludeSound}},
         1,
         "Default.wav"},
        {"letter case differs",
         "default.WAV",
         {DialogAnswer::Yes},
         {{MessageKind::Confirmation, kIncludeSound}},
         2,
         "default.WAV"},
        {"no sound", TProject::kNoSound, {}, {}, 1, TProject::kNoSound},
        {"missing, go on",
         "/no/such/folder/x.wav",
         {DialogAnswer::Yes, DialogAnswer::Yes},
         {{MessageKind::Confirmation, kIncludeSound},
          {MessageKind::Error, missingSound("/no/such/folder/x.wav")}},
         1,
         "/no/such/folder/x.wav"},
        {"missing, stop",
         "/no/such/folder/x.wav",
         {DialogAnswer::Yes, DialogAnswer::No},
         {{MessageKind::Confirmation, kIncludeSound},
          {MessageKind::Error, missingSound("/no/such/folder/x.wav")}},
         std::nullopt,
         "/no/such/folder/x.wav"},
        {"bare name missing",
         "Rain.wav",
         {DialogAnswer::Yes, DialogAnswer::Yes},
         {{MessageKind::Confirmation, kIncludeSound},
          {MessageKind::Error, missingSound((dir / "studio" / "sounds" / "Rain.wav").string())}},
         1,
         "Rain.wav"},
    };
    for (const Case& c : cases) {
        const fs::path target = dir / "out.scr";
        fs::remove(target);
        project.Sound = c.sound;
        ScriptedDialogs dialogs;
        for (const DialogAnswer answer : c.answers) dialogs.queueAnswer(answer);

        exportScreenSaver(project, target, dialogs, templatePath);

        ASSERT_EQ(dialogs.shown().size(), c.asked.size()) << c.name;
        for (size_t i = 0; i < c.asked.size(); ++i) {
            EXPECT_EQ(dialogs.shown()[i].kind, c.asked[i].first) << c.name;
            EXPECT_EQ(dialogs.shown()[i].buttons, MessageButtons::YesNo) << c.name;
            EXPECT_EQ(dialogs.shown()[i].text, c.asked[i].second) << c.name;
        }
        EXPECT_EQ(project.Sound, c.soundAfter) << c.name;
        EXPECT_FALSE(fs::exists(temporaryProject())) << c.name;
        if (!c.entries) {
            EXPECT_FALSE(fs::exists(target)) << c.name;
            continue;
        }
        const auto bytes = readBytes(target);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "ELF!") << c.name; // the template first
        const PackageLocation location = FindPackage(target);
        EXPECT_EQ(location.position, 4 + kPackageMarkerSize) << c.name;
        EXPECT_EQ(location.count, *c.entries) << c.name;
        const std::vector<fs::path> names{dir / "project.lvp", dir / "sound.wav"};
        fs::remove(names[1]);
        ASSERT_TRUE(ExtractPackage(target, names).complete) << c.name;
        TProject packed;
        packed.LoadFromFile(names[0]);
        EXPECT_EQ(packed.Mask, project.Mask) << c.name;
        if (*c.entries == 2)
            EXPECT_EQ(readBytes(names[1]), readBytes(defaultWav)) << c.name;
        else
            EXPECT_FALSE(fs::exists(names[1])) << c.name;
    }
}

TEST_F(ProjectSaveTest, MissingTemplateLeavesNothingBehind) {
    project.Sound = TProject::kNoSound;
    ScriptedDialogs dialogs;
    const fs::path target = dir / "old.scr";
    writeBytes(target, {'o', 'l', 'd'});
    EXPECT_THROW(exportScreenSaver(project, target, dialogs, dir / "missing" / "LVStudio.dat"), IoError);
    EXPECT_EQ(readBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_THROW(exportScreenSaver(project, dir / "new.scr", dialogs, dir / "missing" / "LVStudio.dat"),
                 IoError);
    EXPECT_FALSE(fs::exists(dir / "new.scr"));
    EXPECT_FALSE(fs::exists(temporaryProject()));
}

} // namespace
} // namespace lv
