#include "formats/uConfig.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace lv {
namespace {

std::string fileText(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = test::readBytes(path);
    return {bytes.begin(), bytes.end()};
}

class ConfigTest : public testing::Test {
  protected:
    void SetUp() override { ::setenv("LUMIVALE_WINDIR", dir.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("LUMIVALE_WINDIR"); }

    void writeIni(const std::string& text) { test::writeBytes(ini, {text.begin(), text.end()}); }

    test::TempDir dir;
    std::filesystem::path ini = dir / "Lumivale.ini";
};

TEST_F(ConfigTest, MissingFileReadsTheDocumentedDefaultsAndCreatesNothing) {
    const TConfig config;
    EXPECT_EQ(config.FileName(), ini);
    EXPECT_FALSE(config.ReadAutoWallpaper());
    EXPECT_EQ(config.ReadDuration(), 60);
    EXPECT_EQ(config.ReadRun(), "");
    EXPECT_FALSE(config.ReadLivingZoom());
    EXPECT_TRUE(config.ReadProportional());
    EXPECT_TRUE(config.ReadRandom());
    EXPECT_TRUE(config.ReadSound());
    EXPECT_EQ(config.ReadSpeed(), 100);
    EXPECT_TRUE(config.ReadStretch());
    EXPECT_TRUE(config.ReadTransitionEffect());
    EXPECT_EQ(config.ReadPath(), programFolder().string() + "/");
    EXPECT_TRUE(config.ReadZoom());
    EXPECT_EQ(config.ReadZoomDuration(), 2);
    EXPECT_TRUE(config.ReadCatalog().empty());
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(ConfigTest, SettingsAreWrittenInCallOrderAsTheProfileFunctionsWriteThem) {
    TConfig config;
    config.WriteStretch(false);
    config.WriteRandom(true);
    config.WriteDuration(30);
    config.WriteSpeed(150);
    config.WriteSound(false);
    config.WriteZoom(false);
    config.WriteZoomDuration(4);
    config.WriteLivingZoom(true);
    config.WriteRun("/p/a.lvp");
    config.WriteProportional(false);
    config.WriteTransitionEffect(false);
    config.WriteAutoWallpaper(true);
    config.WritePath("/opt/lumivale/");
    config.WriteDuration(45); // a second write keeps the key's place
    EXPECT_EQ(fileText(ini), "[CONFIG]\r\nSTRETCH=0\r\nRANDOM=1\r\nDURATION=45\r\nSPEED=150\r\nSOUND=0\r\n"
                             "ZOOM=0\r\nZOOMDURATION=4\r\nLIVINGZOOM=1\r\nRUN=/p/a.lvp\r\nPROPORTIONAL=0\r\n"
                             "TRANSITION EFFECT=0\r\nAUTOWALLPAPER=1\r\nPATH=/opt/lumivale/\r\n");

    const TConfig reader;
    EXPECT_FALSE(reader.ReadStretch());
    EXPECT_EQ(reader.ReadDuration(), 45);
    EXPECT_EQ(reader.ReadSpeed(), 150);
    EXPECT_FALSE(reader.ReadSound());
    EXPECT_FALSE(reader.ReadZoom());
    EXPECT_EQ(reader.ReadZoomDuration(), 4);
    EXPECT_TRUE(reader.ReadLivingZoom());
    EXPECT_EQ(reader.ReadRun(), "/p/a.lvp");
    EXPECT_FALSE(reader.ReadProportional());
    EXPECT_FALSE(reader.ReadTransitionEffect());
    EXPECT_TRUE(reader.ReadAutoWallpaper());
    EXPECT_EQ(reader.ReadPath(), "/opt/lumivale/");
}

// A file written on Windows or by hand: other letter case, unreadable numbers, quotes, LF line ends.
TEST_F(ConfigTest, ReadsAHandMadeFileWithItsDefaultsForWhatItCannotRead) {
    writeIni("[config]\nstretch=0\nRandom=yes\nDURATION=12abc\nSpeed= 75 \nSOUND=\nZOOM=-1\n"
             "PATH=\"C:\\Program Files\\Orvane\\Lumivale\\\"\n");
    const TConfig config;
    EXPECT_FALSE(config.ReadStretch());
    EXPECT_TRUE(config.ReadRandom()) << "not an integer: the default";
    EXPECT_EQ(config.ReadDuration(), 60) << "not a whole integer: the default";
    EXPECT_EQ(config.ReadSpeed(), 75);
    EXPECT_TRUE(config.ReadSound()) << "empty: the default";
    EXPECT_TRUE(config.ReadZoom()) << "any integer but 0 is true";
    EXPECT_EQ(config.ReadPath(), "C:\\Program Files\\Orvane\\Lumivale\\");
}

TEST_F(ConfigTest, CatalogOperations) {
    TConfig config;
    config.AddToCatalog("/p/One.lvp");
    config.AddToCatalog("/p/two.lvp");
    config.AddToCatalog("/p/one.lvp"); // the same key in other letter case: still one entry
    EXPECT_EQ(config.ReadCatalog(), (std::vector<std::string>{"/p/One.lvp=", "/p/two.lvp="}));

    config.SetCatalogEntry("/p/TWO.lvp", "0");
    config.SetCatalogEntry("/p/three.lvp", "1");
    const std::vector<CatalogEntry> entries = config.ReadCatalogEntries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[0].enabled());
    EXPECT_FALSE(entries[1].enabled());
    EXPECT_EQ(entries[2].line(), "/p/three.lvp=1");

    config.AddToCatalog("/p/two.lvp"); // adding again resets the flag to empty, which is enabled
    config.RemoveFromCatalog("/P/ONE.LVP");
    config.RemoveFromCatalog("/p/missing.lvp");
    EXPECT_EQ(config.ReadCatalog(), (std::vector<std::string>{"/p/two.lvp=", "/p/three.lvp=1"}));
    EXPECT_EQ(fileText(ini), "[CATALOG]\r\n/p/two.lvp=\r\n/p/three.lvp=1\r\n");
}

TEST_F(ConfigTest, EmptyCatalogPathsDoNothing) {
    TConfig config;
    config.AddToCatalog("");
    config.SetCatalogEntry("", "1");
    config.RemoveFromCatalog("");
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(ConfigTest, RunDefaultsToTheFirstCatalogLineUntilWritten) {
    writeIni("[CATALOG]\r\n/p/a.lvp=\r\n/p/b.lvp=0\r\n");
    TConfig config;
    EXPECT_EQ(config.ReadRun(), "/p/a.lvp=");
    config.SetCatalogEntry("/p/a.lvp", "0");
    EXPECT_EQ(config.ReadRun(), "/p/a.lvp=0");
    config.WriteRun("/p/b.lvp");
    EXPECT_EQ(config.ReadRun(), "/p/b.lvp");
    config.WriteRun("");
    EXPECT_EQ(config.ReadRun(), "") << "an empty RUN is a value, not a missing key";
}

TEST_F(ConfigTest, CatalogKeyListStopsAtSixteenKilobytes) {
    std::string text = "[CATALOG]\r\n";
    const std::string folder = "/" + std::string(90, 'f') + "/";
    for (int i = 0; i < 200; ++i)
        text += folder + std::to_string(1000 + i) + ".lvp=\r\n"; // names of 100 bytes
    writeIni(text);
    const std::vector<std::string> lines = TConfig().ReadCatalog();
    EXPECT_EQ(lines.size(), 162u); // (16384 - 1) / (100 + 1)
    EXPECT_EQ(lines.back(), folder + "1161.lvp=");
}

TEST_F(ConfigTest, PathsTheFileCannotHoldAreRefusedAndTheFileKept) {
    TConfig config;
    config.AddToCatalog("/p/a.lvp");
    const std::string before = fileText(ini);
    EXPECT_THROW(config.AddToCatalog("/p/x=y.lvp"), Error);
    EXPECT_THROW(config.AddToCatalog("/p/a\r\n[CONFIG]\r\nRUN=x"), Error);
    EXPECT_THROW(config.WriteRun("/p/a.lvp\nPATH=/tmp/"), Error);
    EXPECT_EQ(fileText(ini), before);
}

TEST_F(ConfigTest, SettingsByNameAsText) {
    ASSERT_EQ(configKeys().size(), 14u); // the documented 13 and our FRAMERATE
    ASSERT_NE(findConfigKey("transition effect"), nullptr);
    EXPECT_EQ(findConfigKey("transition effect")->name, "TRANSITION EFFECT");
    EXPECT_EQ(findConfigKey("COLOUR"), nullptr);

    TConfig config;
    EXPECT_EQ(config.ReadSetting(*findConfigKey("zoom")), "1");
    EXPECT_EQ(config.ReadSetting(*findConfigKey("DURATION")), "60");
    EXPECT_EQ(config.ReadSetting(*findConfigKey("framerate")), "30");
    config.WriteSetting(*findConfigKey("Zoom"), "false");
    config.WriteSetting(*findConfigKey("LIVINGZOOM"), "1");
    config.WriteSetting(*findConfigKey("DURATION"), "-5");
    config.WriteSetting(*findConfigKey("RUN"), "/p/x.lvp");
    EXPECT_EQ(fileText(ini), "[CONFIG]\r\nZOOM=0\r\nLIVINGZOOM=1\r\nDURATION=-5\r\nRUN=/p/x.lvp\r\n");
    EXPECT_EQ(config.ReadSetting(*findConfigKey("ZOOM")), "0");
    EXPECT_EQ(config.ReadSetting(*findConfigKey("RUN")), "/p/x.lvp");

    for (const char* bad : {"yes", "2", "", " 1"})
        EXPECT_THROW(config.WriteSetting(*findConfigKey("SOUND"), bad), Error) << bad;
    for (const char* bad : {"", "1.5", "12abc", "99999999999", "0x10"})
        EXPECT_THROW(config.WriteSetting(*findConfigKey("SPEED"), bad), Error) << bad;
    EXPECT_EQ(fileText(ini), "[CONFIG]\r\nZOOM=0\r\nLIVINGZOOM=1\r\nDURATION=-5\r\nRUN=/p/x.lvp\r\n");

    // FRAMERATE: 0 is unpaced; a negative value falls back to the default, a huge one to the maximum.
    const std::pair<int32_t, int32_t> rates[] = {{0, 0}, {60, 60}, {-1, 30}, {5000, 1000}};
    for (const auto& [stored, read] : rates) {
        config.WriteFrameRate(stored);
        EXPECT_EQ(config.ReadFrameRate(), read) << stored;
    }
}

} // namespace
} // namespace lv
