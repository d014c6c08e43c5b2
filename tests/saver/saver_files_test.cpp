// The saver runtime's headless parts: command line, names and folders, unpacking its payload and
// cleaning up, including payloads that are damaged or hostile.

#include "support/PackageBytes.h"
#include "creator/uCreatorProject.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "saver/CommandLine.h"
#include "saver/SaverFiles.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace lv {
namespace {

namespace fs = std::filesystem;
using namespace lv::test;

TEST(SaverCommandLine, ModeFromTheFirstTwoCharacters) {
    const struct {
        std::vector<std::string> args;
        SaverMode mode;
        std::string window;
    } cases[] = {
        {{"/s"}, SaverMode::SlideShow, ""},
        {{"-S"}, SaverMode::SlideShow, ""},
        {{"S"}, SaverMode::SlideShow, ""},
        {{"/Sfoo"}, SaverMode::SlideShow, ""},
        {{}, SaverMode::Config, ""},
        {{""}, SaverMode::Config, ""},
        {{"/c:123"}, SaverMode::Config, ""},
        {{"c"}, SaverMode::Config, ""},
        {{"/p", "4711"}, SaverMode::Preview, "4711"},
        {{"/a", "0x1f"}, SaverMode::ChangePassword, "0X1F"},
        {{"Sx"}, SaverMode::None, ""},
        {{"/x"}, SaverMode::None, ""},
        {{"--s"}, SaverMode::None, ""},
        {{"/"}, SaverMode::None, ""},
    };
    for (const auto& c : cases) {
        const SaverCommandLine line = parseSaverCommandLine(c.args);
        EXPECT_EQ(line.mode, c.mode) << (c.args.empty() ? "(none)" : c.args[0]);
        EXPECT_EQ(line.windowArgument, c.window);
    }
    EXPECT_EQ(parseSaverCommandLine(std::vector<std::string>{"/sxyz"}).modeArgument, "/S");
}

TEST(SaverCommandLine, WindowArgumentIsAStrictDecimal) {
    EXPECT_EQ(windowArgumentValue("4711"), 4711u);
    for (const char* bad : {"", "12a", "-1", " 12", "0X1F", "99999999999999999999999"})
        EXPECT_THROW(windowArgumentValue(bad), Error) << bad;
}

TEST(SaverNames, SettingsFileBaseNameAndUnpackedNames) {
    EXPECT_EQ(saverSettingsFile("/w/Sea.Shore.scr"), "/w/Sea.Shore.ini");
    EXPECT_EQ(saverSettingsFile("/w/Sea"), "/w/Sea.ini");
    EXPECT_EQ(saverSettingsFile("/w.d/Sea"), "/w.d/Sea.ini") << "a dot in a folder name never counts";
    EXPECT_EQ(programBaseName("/w/Sea.Shore.scr"), "Sea");
    EXPECT_EQ(programBaseName(""), "");

    const struct {
        const char* line;
        const char* name;
    } cases[] = {{"LVImage0.jpg", "LVImage0.jpg"},
                 {"C:\\Snd\\rain.wav", "rain.wav"},
                 {"/home/u/prev.jpg", "prev.jpg"},
                 {"C:rain.wav", "rain.wav"},
                 {"../../evil", "evil"},
                 {"..", ""},
                 {"a/..", ""},
                 {".", ""},
                 {"", ""},
                 {"dir/", ""},
                 {"LVC.res", ""},
                 {"x\\LVGUI.lui", ""}};
    for (const auto& c : cases) EXPECT_EQ(unpackedName(c.line), c.name) << c.line;
    EXPECT_EQ(unpackedName(std::string_view("a\0b", 3)), "");
}

TEST(SaverNames, LongFileNameAndWorkFolder) {
    TempDir dir;
    ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    writeBytes(dir / "Sea.Shore.scr", {});
    fs::create_symlink(dir / "Sea.Shore.scr", dir / "link.scr");
    const std::string real = fs::canonical(dir / "Sea.Shore.scr").string();
    EXPECT_EQ(GetLongFileName((dir / "link.scr").string()), real);
    EXPECT_EQ(GetLongFileName((dir / "." / "Sea.Shore.scr").string()), real);
    for (const std::string& path :
         {(dir / "none").string(), std::string("*"), (dir / "Sea?Shore.scr").string(),
          std::string("\\\\server\\x.scr"), std::string()})
        EXPECT_EQ(GetLongFileName(path), "") << path;

    const fs::path work = GetSaverTempDir(real);
    EXPECT_EQ(work, privateTempFolder() / "Sea" / "");
    EXPECT_TRUE(fs::is_directory(work));
    EXPECT_EQ(GetSaverTempDir(""), privateTempFolder() / "" / "");
    ::unsetenv("XDG_RUNTIME_DIR");
}

class SaverPayload : public ::testing::Test {
  public:
    SaverPayload() { fs::create_directories(work); }

    static Bytes lvc(const std::string& files, const std::string& settings = "", const std::string& ui = "") {
        return packageBytes({bytesOf("[FileList]\r\n" + files), bytesOf(settings), bytesOf(ui)});
    }
    void writeSaver(std::initializer_list<Bytes> entries, std::optional<int32_t> count = {}) {
        Bytes file = bytesOf("program bytes");
        append(file, packageBytes(entries, count));
        writeBytes(program, file);
    }
    // The folder that holds the work folder keeps only it: nothing was written beside it.
    void expectNothingOutside() {
        for (const auto& entry : fs::directory_iterator(dir.path()))
            EXPECT_TRUE(entry.path() == work || entry.path() == program) << entry.path();
    }

    TempDir dir;
    fs::path work = dir / "work";
    fs::path program = dir / "Sea.scr";
};

TEST_F(SaverPayload, NamesAreReducedToFileNamesInsideTheWorkFolder) {
    const Bytes media = packageBytes(
        {bytesOf("one"), bytesOf("two"), bytesOf("three"), bytesOf("four"), bytesOf("five"), bytesOf("six")});
    writeSaver(
        {lvc("LVImage0.jpg=1\r\n/etc/passwd=0\r\n../x.jpg=1\r\n",
             "[Advance]\r\nPreviewFile=C:\\p\\prev.jpg\r\n"),
         bytesOf("LVImage0.jpg\r\n../../escape.jpg\r\n..\r\nC:\\dir\\prev.jpg\r\nLVC.res\r\n/tmp/abs.wav"),
         media, bytesOf("skin")});
    TLVCProject project;
    const SaverExtraction result = ExtractSaverFiles(project, program, work);
    EXPECT_TRUE(result.payload);
    EXPECT_EQ(result.mediaSkipped, 2);
    EXPECT_EQ(readBytes(work / "LVImage0.jpg"), bytesOf("one"));
    EXPECT_EQ(readBytes(work / "escape.jpg"), bytesOf("two"));
    EXPECT_EQ(readBytes(work / "prev.jpg"), bytesOf("four"));
    EXPECT_EQ(readBytes(work / "abs.wav"), bytesOf("six"));
    EXPECT_EQ(readBytes(work / "LVGUI.lui"), bytesOf("skin"));
    expectNothingOutside();
    EXPECT_EQ(project.FileList.Files,
              (std::vector<std::string>{(work / "LVImage0.jpg").string(), (work / "passwd").string(),
                                        (work / "x.jpg").string()}));
    EXPECT_EQ(project.Setting.PreviewFile, (work / "prev.jpg").string());

    writeBytes(work / "foreign.txt", bytesOf("not ours"));
    DeleteSaverFiles(work);
    EXPECT_EQ(std::distance(fs::directory_iterator(work), fs::directory_iterator()), 1)
        << "only the foreign file";
    fs::remove(work / "foreign.txt");
    DeleteSaverFiles(work);
    EXPECT_FALSE(fs::exists(work));
}

// Without a usable payload nothing is unpacked and nothing of an earlier run is loaded.
TEST_F(SaverPayload, DamagedPayloadsUnpackNothing) {
    const Bytes goodLvc = lvc("LVImage0.jpg=1\r\n");
    const Bytes media = packageBytes({bytesOf("one")});
    const struct {
        const char* name;
        std::function<void(SaverPayload&)> make;
    } cases[] = {
        {"no marker", [](SaverPayload& t) { writeBytes(t.program, bytesOf("just a program")); }},
        {"missing program", [](SaverPayload& t) { fs::remove(t.program); }},
        {"negative count",
         [&](SaverPayload& t) {
             t.writeSaver({goodLvc, bytesOf("LVImage0.jpg"), media, {}}, -1);
         }},
        {"three entries",
         [&](SaverPayload& t) {
             t.writeSaver({goodLvc, bytesOf("LVImage0.jpg"), media});
         }},
        {"marker at the very end",
         [](SaverPayload& t) {
             Bytes b = bytesOf("program");
             append(b, packageMarkerBytes());
             writeBytes(t.program, b);
         }},
    };
    for (const auto& c : cases) {
        writeBytes(work / "LVC.res", lvc("stale.jpg=1\r\n"));
        c.make(*this);
        TLVCProject project;
        project.Setting.Duration = 7;
        const SaverExtraction result = ExtractSaverFiles(project, program, work);
        EXPECT_FALSE(result.payload) << c.name;
        EXPECT_TRUE(project.FileList.Files.empty()) << c.name;
        EXPECT_EQ(project.UISetting.UIFile, "") << c.name;
        EXPECT_EQ(project.Setting.Duration, 7) << c.name;
        EXPECT_FALSE(fs::exists(work / "LVImage0.jpg")) << c.name;
    }
}

TEST_F(SaverPayload, NameListAndMediaPackageOfDifferentLengths) {
    const Bytes media = packageBytes({bytesOf("one"), bytesOf("two")});
    const struct {
        const char* name;
        Bytes names;
        Bytes media;
        std::vector<std::string> unpacked;
    } cases[] = {
        {"more lines than entries", bytesOf("a.jpg\r\nb.jpg\r\nc.jpg\r\n"), media, {}},
        {"fewer lines than entries", bytesOf("a.jpg"), media, {"a.jpg"}},
        {"lines ended by LF or CR", bytesOf("a.jpg\nb.jpg\r"), media, {"a.jpg", "b.jpg"}},
        {"media without a package", bytesOf("a.jpg\r\n"), bytesOf("no package"), {}},
        {"entry size past the end",
         bytesOf("a.jpg\r\nb.jpg\r\n"),
         [&] {
             Bytes b = media;
             b.resize(b.size() - 2);
             return b;
         }(),
         {"a.jpg", "b.jpg"}},
        {"empty name list", {}, media, {}},
    };
    for (const auto& c : cases) {
        fs::remove_all(work);
        fs::create_directories(work);
        writeSaver({lvc(""), c.names, c.media, bytesOf("skin")});
        TLVCProject project;
        EXPECT_TRUE(ExtractSaverFiles(project, program, work).payload) << c.name;
        for (const std::string name : {"a.jpg", "b.jpg", "c.jpg"}) {
            const bool expected = std::find(c.unpacked.begin(), c.unpacked.end(), name) != c.unpacked.end();
            EXPECT_EQ(fs::exists(work / name), expected) << c.name << ": " << name;
        }
        expectNothingOutside();
    }
}

} // namespace
} // namespace lv
