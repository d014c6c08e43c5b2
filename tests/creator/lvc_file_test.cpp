// The .lvc creator project file: its exact bytes, round trips, loading into an existing project and
// hostile files.

#include "support/PackageBytes.h"
#include "creator/uCreatorProject.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace lv {
namespace {

namespace fs = std::filesystem;
using namespace lv::test;
using namespace std::string_literals;

// The three ini texts of a new project, written out from the documented keys, order and defaults.
const std::string kFreshList = "[FileListHeader]\r\nHeader=1\r\n";
const std::string kFreshSettings =
    "[General]\r\nProductName=\r\nPublisher=\r\nWebsite=\r\n"
    "[Default]\r\nStretch=1\r\nProportional=0\r\nSound=1\r\nRandom=1\r\n"
    "Duration=30\r\nTransition=1\r\nZoom=0\r\nLivingZoom=0\r\nZoomDuration=5\r\n"
    "AutoWallpaper=0\r\nSpeed=100\r\nMusic=1\r\nAnimation=1\r\nShowImageMode=0\r\n"
    "[Advance]\r\nPreviewFile=\r\nMusicFile=\r\nMusicMode=0\r\n"
    "[Build]\r\nBuildFileName=\r\nBuildIcon=\r\n";
const std::string kFreshUI = "[UI]\r\nUIFile=\r\n";

class LvcFile : public ::testing::Test {
  protected:
    void SetUp() override { ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1); }
    // Nothing of a save or load stays in the temporary folder.
    void TearDown() override {
        for (const auto& entry : fs::directory_iterator(privateTempFolder()))
            ADD_FAILURE() << "left behind: " << entry.path();
    }

    TempDir dir;
    fs::path file = dir / "Beach.lvc";
};

TEST_F(LvcFile, FreshProjectWritesTheDocumentedBytes) {
    TLVCProject().SaveToFile(file);
    EXPECT_EQ(readBytes(file),
              packageBytes({bytesOf(kFreshList), bytesOf(kFreshSettings), bytesOf(kFreshUI)}));
}

TEST_F(LvcFile, EverythingSurvivesARoundTrip) {
    TLVCProject saved;
    saved.FileList.Add("/p/Z.jpg", "TRUE");
    saved.FileList.Add("/p/a.lvp", "FALSE");
    saved.FileList.Add("/p/m.bmp", "TRUE");
    saved.Setting.ProductName = "Sea \xE9t\xE9"; // Windows-1252 bytes
    saved.Setting.Publisher = "Orca";
    saved.Setting.Website = "http://x.y/?a=b";
    saved.Setting.Stretch = false;
    saved.Setting.Proportional = true;
    saved.Setting.Sound = true;
    saved.Setting.Music = false;
    saved.Setting.Random = false;
    saved.Setting.Duration = 12;
    saved.Setting.ZoomDuration = -3;
    saved.Setting.Speed = 250;
    saved.Setting.ShowImageMode = 3;
    saved.Setting.PreviewFile = "/p/prev.jpg";
    saved.Setting.MusicFile = "/m/a.mp3;/m/b.wav;";
    saved.Setting.MusicMode = 1;
    saved.Setting.BuildFileName = "/out/Sea.scr";
    saved.Setting.BuildIcon = "/i/sea.ico";
    saved.UISetting.UIFile = "/skins/Blue.lui";
    saved.SaveToFile(file);

    TLVCProject loaded;
    loaded.LoadFromFile(file);
    EXPECT_EQ(loaded.FileList.Files, saved.FileList.Files);
    EXPECT_EQ(loaded.FileList.Flags, saved.FileList.Flags);
    TLVCSetting::ForEach(loaded.Setting, [&](std::string_view, std::string_view key, const auto& field) {
        TLVCSetting::ForEach(saved.Setting,
                             [&](std::string_view, std::string_view other, const auto& expected) {
                                 if constexpr (std::is_same_v<decltype(field), decltype(expected)>) {
                                     if (key == other) {
                                         EXPECT_EQ(field, expected) << key;
                                     }
                                 }
                             });
    });
    EXPECT_EQ(loaded.UISetting.UIFile, saved.UISetting.UIFile);

    // Saved again, the bytes are the same: nothing was lost or added.
    loaded.SaveToFile(dir / "again.lvc");
    EXPECT_EQ(readBytes(dir / "again.lvc"), readBytes(file));
}

TEST_F(LvcFile, FlagsAndPathsFollowTheProfileRules) {
    TLVCProject saved;
    saved.FileList.Add("/p/One.jpg", "TRUE");
    saved.FileList.Add("/p/two.jpg", "true");  // only exactly "TRUE" is true
    saved.FileList.Add("/p/ONE.JPG", "FALSE"); // same key: keeps the first place and spelling
    saved.FileList.Add("/p/three.jpg", "");
    saved.SaveToFile(file);
    TLVCProject loaded;
    loaded.FileList.Add("/stale.jpg", "TRUE");
    loaded.LoadFromFile(file);
    EXPECT_EQ(loaded.FileList.Files, (std::vector<std::string>{"/p/One.jpg", "/p/two.jpg", "/p/three.jpg"}));
    EXPECT_EQ(loaded.FileList.Flags, (std::vector<std::string>{"FALSE", "FALSE", "FALSE"}));
}

TEST_F(LvcFile, LoadingKeepsSettingsTheFileLacks) {
    const Bytes noDuration = bytesOf("[Default]\r\nSpeed=70\r\nSound=maybe\r\nduration=\r\n");
    writeBytes(file, packageBytes({bytesOf(kFreshList), noDuration, bytesOf(kFreshUI)}));
    TLVCProject fresh;
    fresh.LoadFromFile(file);
    EXPECT_EQ(fresh.Setting.Duration, 30);
    EXPECT_EQ(fresh.Setting.Speed, 70);
    TLVCProject edited;
    edited.Setting.Duration = 12;
    edited.Setting.Sound = false;
    edited.Setting.ProductName = "kept";
    edited.UISetting.UIFile = "/old.lui";
    edited.LoadFromFile(file);
    EXPECT_EQ(edited.Setting.Duration, 12) << "an empty number keeps the value";
    EXPECT_FALSE(edited.Setting.Sound) << "a text that is no number keeps the value";
    EXPECT_EQ(edited.Setting.ProductName, "kept");
    EXPECT_EQ(edited.UISetting.UIFile, "") << "UIFile is read with an empty default";

    edited.Clear();
    EXPECT_EQ(edited.Setting.Duration, 30);
    EXPECT_TRUE(edited.Setting.Sound);
}

TEST_F(LvcFile, SavingReplacesTheWholeFileAndAFailedSaveKeepsIt) {
    writeBytes(file, Bytes(5000, 'x'));
    TLVCProject().SaveToFile(file);
    EXPECT_EQ(readBytes(file).size(), 17 + 12 + kFreshList.size() + kFreshSettings.size() + kFreshUI.size());

    const Bytes before = readBytes(file);
    for (const std::string path : {"/p/a=b.jpg", "/p/line\nbreak.jpg", ";comment.jpg"}) {
        TLVCProject bad;
        bad.FileList.Add(path, "TRUE");
        EXPECT_THROW(bad.SaveToFile(file), Error) << path;
        EXPECT_EQ(readBytes(file), before) << path;
    }
}

TEST_F(LvcFile, PartImagesAreNamedAfterTheProjectFile) {
    const fs::path temp = privateTempFolder();
    const struct {
        std::string file, first;
    } cases[] = {{"/Shows/Beach.lvc", "LVBeach.~1.tmp"},
                 {"/Shows/Show", "LV~1.tmp"},
                 {"/Shows/Show.", "LV~1.tmp"}, // the last character is never the dot
                 {"/Shows/a.b.c", "LVa.b.~1.tmp"},
                 {"/Shows/x..", "LVx.~1.tmp"}};
    for (const auto& c : cases) {
        const auto names = partImageNames(c.file);
        EXPECT_EQ(names[0], temp / c.first) << c.file;
        EXPECT_EQ(names[2].filename().string().substr(c.first.size() - 5), "3.tmp") << c.file;
    }
}

// Files that are not what we write load as empty texts: an empty list, unchanged settings, no UIFile.
TEST_F(LvcFile, HostileFilesLoadSafely) {
    const Bytes list = bytesOf("[FileList]\r\n/p/a.jpg=1\r\n");
    const struct {
        const char* name;
        Bytes bytes;
        size_t files;
        std::string ui;
    } cases[] = {
        {"no package", bytesOf("[FileList]\r\n/p/a.jpg=1\r\n"), 0, ""},
        {"empty file", {}, 0, ""},
        {"two entries", packageBytes({list, bytesOf("[Default]\r\nDuration=9\r\n")}), 1, ""},
        {"five entries", packageBytes({list, {}, bytesOf("[UI]\r\nUIFile=/u.lui\r\n"), list, list}), 1,
         "/u.lui"},
        {"negative count", packageBytes({list, {}, {}}, -5), 0, ""},
        {"count past the end", packageBytes({list}, 3), 1, ""},
        {"size past the end",
         [&] {
             Bytes b = packageBytes({list, list, list});
             b.resize(b.size() - 3);
             return b;
         }(),
         1, ""},
        {"nul bytes and junk",
         packageBytes({bytesOf("[FileList]\r\n/p/\0a=1\r\n=2\r\n[\r\n/q=x"s),
                       bytesOf("\xEF\xBB\xBF[Default]\nDuration=99999999999\rSpeed=0x10"),
                       bytesOf("[UI]\r\nUIFile=\"/q u.lui\"\r\n")}),
         1, "/q u.lui"}, // the NUL ends its line, which then has no "="
    };
    for (const auto& c : cases) {
        writeBytes(file, c.bytes);
        TLVCProject project;
        project.Setting.Duration = 7;
        project.UISetting.UIFile = "/before.lui";
        project.LoadFromFile(file);
        EXPECT_EQ(project.FileList.Files.size(), c.files) << c.name;
        EXPECT_EQ(project.FileList.Flags.size(), project.FileList.Files.size()) << c.name;
        EXPECT_EQ(project.UISetting.UIFile, c.ui) << c.name;
        EXPECT_TRUE(project.Setting.Duration == 7 || project.Setting.Duration == 9) << c.name;
    }
}

// A stale part image of an earlier crashed run never stands in for a missing entry.
TEST_F(LvcFile, StalePartImagesAreNotRead) {
    const auto names = partImageNames(file);
    writeBytes(names[0], bytesOf("[FileList]\r\n/stale.jpg=1\r\n"));
    writeBytes(file, packageBytes({}));
    TLVCProject project;
    project.LoadFromFile(file);
    EXPECT_TRUE(project.FileList.Files.empty());
}

TEST(MusicFileEntries, SplitAtSemicolons) {
    EXPECT_EQ(splitMusicFiles("/m/a.mp3;/m/b.wav;"), (std::vector<std::string>{"/m/a.mp3", "/m/b.wav"}));
    EXPECT_EQ(splitMusicFiles("a;;b"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitMusicFiles(""), std::vector<std::string>{});
    EXPECT_EQ(splitMusicFiles(";"), std::vector<std::string>{""});
}

} // namespace
} // namespace lv
