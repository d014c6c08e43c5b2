// lvtool lvc show, build and saver-unpack on files made in the test.

#include "support/PackageBytes.h"
#include "support/TestSupport.h"
#include "tools/ToolRunner.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace lv::test {
namespace {

namespace fs = std::filesystem;

class CreatorTools : public ::testing::Test {
  protected:
    CreatorTools() {
        ::setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);
        ::setenv("LUMIVALE_WINDIR", (dir / "win").c_str(), 1);
        for (const char* sub : {"run", "win", "creator/images", "out"}) fs::create_directories(dir / sub);
        writeBytes(dir / "creator" / "LVCreatorPro.dat", bytesOf("stand-in runtime"));
        writeBytes(dir / "skin.lui", bytesOf("skin bytes"));
        writeBytes(dir / "a.jpg", bytesOf("picture a"));
        writeBytes(dir / "m.mp3", bytesOf("music"));
    }
    ~CreatorTools() override {
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("LUMIVALE_WINDIR");
    }

    // A project file written out by hand: two pictures (one missing), music, a product name in
    // Windows-1252, a skin and a target.
    fs::path writeProject(const std::string& ui, const std::string& name = "show.lvc") {
        const std::string d = dir.path().string();
        const fs::path file = dir / name;
        writeBytes(file,
                   packageBytes({bytesOf("[FileList]\r\n" + d + "/a.jpg=1\r\n" + d + "/gone.jpg=0\r\n"),
                                 bytesOf("[General]\r\nProductName=Caf\xE9\r\n[Advance]\r\nMusicFile=" + d +
                                         "/m.mp3;\r\n[Build]\r\nBuildFileName=" + d + "/out/Sea.scr\r\n"),
                                 bytesOf("[UI]\r\nUIFile=" + ui + "\r\n")}));
        return file;
    }

    TempDir dir;
};

TEST_F(CreatorTools, LvcShowPrintsTheProject) {
    const ToolResult r = runTool({"lvc", "show", writeProject("/s.lui").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["files"].size(), 2u);
    EXPECT_EQ(json["files"][0]["path"], (dir / "a.jpg").string());
    EXPECT_EQ(json["files"][1]["flag"], "FALSE");
    EXPECT_EQ(json["setting"]["ProductName"], "Caf\u00e9");
    EXPECT_EQ(json["setting"]["Duration"], 30);
    EXPECT_EQ(json["setting"]["Stretch"], true);
    EXPECT_EQ(json["setting"].size(), 22u);
    EXPECT_EQ(json["UIFile"], "/s.lui");
}

TEST_F(CreatorTools, BuildThenSaverUnpackGivesTheFilesBack) {
    const ToolResult built = runTool({"build", writeProject((dir / "skin.lui").string()).string(),
                                      "--creator-dir", (dir / "creator").string()});
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.out, "File Sea.scr succesfully created with 1 warnings.\n");
    EXPECT_NE(built.err.find("progress 14/15"), std::string::npos) << "plain progress lines off a terminal";

    const ToolResult unpacked =
        runTool({"saver-unpack", (dir / "out" / "Sea.scr").string(), "--into", (dir / "work").string()});
    ASSERT_EQ(unpacked.status, 0) << unpacked.err;
    const auto json = nlohmann::json::parse(unpacked.out);
    EXPECT_EQ(json["files"][0]["path"], (dir / "work" / "LVImage0.jpg").string());
    EXPECT_EQ(json["setting"]["MusicFile"], "LVMusic0.mp3;");
    EXPECT_EQ(json["UIFile"], (dir / "work" / "LVGUI.lui").string());
    EXPECT_EQ(readBytes(dir / "work" / "LVImage0.jpg"), bytesOf("picture a"));
    EXPECT_EQ(readBytes(dir / "work" / "LVMusic0.mp3"), bytesOf("music"));
    EXPECT_EQ(readBytes(dir / "work" / "LVGUI.lui"), bytesOf("skin bytes"));
}

TEST_F(CreatorTools, ErrorsExitWithOne) {
    const std::string creator = (dir / "creator").string();
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"build", writeProject("", "noskin.lvc").string(), "--creator-dir", creator},
         "You have not selected a GUI file.\nYou can select a GUI file in User Interface page!\n"},
        {{"build", writeProject((dir / "skin.lui").string()).string(), "--creator-dir", creator, "--target",
          (dir / "none" / "x.scr").string()},
         "Directory doesn't exist.\n"},
        {{"build", writeProject((dir / "skin.lui").string()).string(), "--creator-dir",
          (dir / "out").string()},
         "Build Sea.scr failed.\nFile LVCreatorPro.dat not found.\n"},
        {{"build", (dir / "none.lvc").string()}, ""},
        {{"lvc", "show", (dir / "none.lvc").string()}, ""},
        {{"saver-unpack", (dir / "a.jpg").string(), "--into", (dir / "work").string()}, ""},
    };
    for (const auto& c : cases) {
        const ToolResult r = runTool(c.args);
        EXPECT_EQ(r.status, 1) << c.args[0] << " " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[0];
    }
}

} // namespace
} // namespace lv::test
